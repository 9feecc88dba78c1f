#include "PipeServer.h"

#include <cstdio>
#include <limits>

#include "EmulatedDevice.h"

namespace {

// Clients never wait for a free instance, so several must always be listening: a program
// may open the adapter again before this server has seen its last handle close, and
// several programs may open it at the same time.
constexpr int kInstanceCount = 8;
constexpr DWORD kMessageBufferSize = 256;
constexpr DWORD kPacketSize = 8;
constexpr DWORD kHalfSize = kBlockSize / 2;
constexpr uint8_t kReadOperation = 0x06;
// A half that surely came less than this after its packet was sent without the 10 ms
// pause. Any value up to 10 ms is sound; a client that does not pause sends its half well
// under a millisecond after the packet.
constexpr double kPausedGapMs = 5.0;
constexpr DWORD kRetryAfterFailureMs = 50;

double NowMs()
{
    static const double ticksPerMs = [] {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return frequency.QuadPart / 1000.0;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart / ticksPerMs;
}

// An overlapped record for the next operation on an instance; its event is cleared now.
OVERLAPPED FreshOverlapped(HANDLE event)
{
    ResetEvent(event);
    OVERLAPPED overlapped = {};
    overlapped.hEvent = event;
    return overlapped;
}

// The longest time that can have passed between a client's previous message and the one
// just taken. The server sees a message only when it takes it from the pipe, which is late
// when the server was kept from running. So it bounds the gap: a message whose read had to
// wait came after that read was posted, and every message came before it was taken.
// Running late only lengthens the bound, so a client that paused is never taken for one
// that did not.
class GapBound {
public:
    void ReadPosted() { m_postedMs = NowMs(); }

    // `readWaited`: the read did not complete at once.
    double MessageTaken(bool readWaited)
    {
        const double boundMs = NowMs() - m_previousCameAfterMs;
        m_previousCameAfterMs = readWaited ? m_postedMs : -std::numeric_limits<double>::infinity();
        return boundMs;
    }

private:
    double m_postedMs = 0;
    double m_previousCameAfterMs = -std::numeric_limits<double>::infinity();
};

}  // namespace

PipeServer::PipeServer(EmulatedAdapter& adapter)
    : m_adapter(adapter),
      m_stopped(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      m_absent(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      m_lastLeftMs(GetTickCount64())
{
}

PipeServer::~PipeServer()
{
    Stop();
    for (Instance& instance : m_instances) {
        CloseHandle(instance.pipe);
        CloseHandle(instance.ioDone);
    }
    CloseHandle(m_stopped);
    CloseHandle(m_absent);
}

bool PipeServer::Listen()
{
    m_instances.reserve(kInstanceCount);
    for (int i = 0; i < kInstanceCount; ++i) {
        const DWORD first = i == 0 ? FILE_FLAG_FIRST_PIPE_INSTANCE : 0;
        HANDLE pipe = CreateNamedPipeW(kDevicePipePath, PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED | first,
                                       PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS,
                                       PIPE_UNLIMITED_INSTANCES, kMessageBufferSize, kMessageBufferSize, 0, nullptr);
        if (pipe == INVALID_HANDLE_VALUE) return false;
        m_instances.push_back({pipe, CreateEventW(nullptr, TRUE, FALSE, nullptr), kInvalidAdapterHandle});
    }
    for (Instance& instance : m_instances) m_threads.emplace_back(&PipeServer::Serve, this, std::ref(instance));
    return true;
}

void PipeServer::SetPresent(bool present)
{
    std::lock_guard<std::mutex> lock(m_adapterMutex);
    m_adapter.SetPresent(present);
    if (present) ResetEvent(m_absent);
    else SetEvent(m_absent);
}

bool PipeServer::IdleFor(unsigned seconds) const
{
    return m_connections == 0 && GetTickCount64() - m_lastLeftMs >= seconds * 1000ull;
}

void PipeServer::Stop()
{
    SetEvent(m_stopped);
    for (std::thread& thread : m_threads) thread.join();
    m_threads.clear();
}

void PipeServer::Serve(Instance& instance)
{
    while (AwaitClient(instance)) {
        Converse(instance);
        DisconnectNamedPipe(instance.pipe);
    }
}

// Waits until a client has connected; false when the server stops.
bool PipeServer::AwaitClient(Instance& instance)
{
    for (;;) {
        OVERLAPPED overlapped = FreshOverlapped(instance.ioDone);
        DWORD unused;
        const BOOL started = ConnectNamedPipe(instance.pipe, &overlapped);
        const DWORD error = GetLastError();
        // Connected between the instance's start and this call.
        if (!started && error == ERROR_PIPE_CONNECTED) return true;
        // A client that came and already left: the instance must be freed first.
        if (!started && error == ERROR_NO_DATA) {
            DisconnectNamedPipe(instance.pipe);
            continue;
        }
        if (Complete(instance, overlapped, started || error == ERROR_IO_PENDING, &unused, Interrupt::OnStop)) return true;
        // A failed wait for a client is tried again a little later, unless the server stops.
        if (WaitForSingleObject(m_stopped, kRetryAfterFailureMs) == WAIT_OBJECT_0) return false;
        DisconnectNamedPipe(instance.pipe);
    }
}

// Serves one client until it leaves, a transfer is refused, or the adapter is unplugged.
void PipeServer::Converse(Instance& instance)
{
    ++m_connections;
    const AdapterHandle handle = OpenForClient(instance);
    uint8_t message[kMessageBufferSize], reply[kHalfSize];
    DWORD size = 0, replySize = 0, sent = 0;
    GapBound gap;
    while (handle != kInvalidAdapterHandle) {
        OVERLAPPED reading = FreshOverlapped(instance.ioDone);
        gap.ReadPosted();
        const BOOL done = ReadFile(instance.pipe, message, sizeof message, nullptr, &reading);
        const bool waited = !done && GetLastError() == ERROR_IO_PENDING;
        if (!Complete(instance, reading, done || waited, &size, Interrupt::OnStopOrUnplug)) break;
        if (!Transfer(handle, message, size, gap.MessageTaken(waited), reply, &replySize)) break;
        if (replySize == 0) continue;
        OVERLAPPED writing = FreshOverlapped(instance.ioDone);
        const bool underway = WriteFile(instance.pipe, reply, replySize, nullptr, &writing) || GetLastError() == ERROR_IO_PENDING;
        if (!Complete(instance, writing, underway, &sent, Interrupt::OnStopOrUnplug)) break;
    }
    {
        std::lock_guard<std::mutex> lock(m_adapterMutex);
        m_adapter.Close(handle);
        instance.adapterHandle = kInvalidAdapterHandle;
    }
    m_lastLeftMs = GetTickCount64();
    --m_connections;
}

// The adapter's handle for a client that has just connected; an adapter that allows one
// open handle refuses it while another client holds one.
AdapterHandle PipeServer::OpenForClient(Instance& instance)
{
    std::lock_guard<std::mutex> lock(m_adapterMutex);
    CloseHandlesOfClientsGone();
    instance.adapterHandle = m_adapter.OpenInterface(GUID_DEVINTERFACE_ADAPTER, 0);
    return instance.adapterHandle;
}

// A driver releases a handle when its program closes it, before that program's next open.
// The thread of a client that left may not have seen it go yet, so the pipe decides: its
// client end is gone once the client closed it.
void PipeServer::CloseHandlesOfClientsGone()
{
    for (Instance& other : m_instances) {
        if (other.adapterHandle == kInvalidAdapterHandle) continue;
        if (PeekNamedPipe(other.pipe, nullptr, 0, nullptr, nullptr, nullptr) || GetLastError() != ERROR_BROKEN_PIPE) continue;
        m_adapter.Close(other.adapterHandle);
        other.adapterHandle = kInvalidAdapterHandle;
    }
}

// One client message as one transfer of the adapter. A read packet that the adapter takes
// is answered at once with the half it names, which the client's ReadFile then collects.
bool PipeServer::Transfer(AdapterHandle handle, const uint8_t* message, DWORD size, double gapMs, uint8_t* reply,
                          DWORD* replySize)
{
    std::lock_guard<std::mutex> lock(m_adapterMutex);
    // The adapter's clock is virtual: a client that may have paused is credited the 10 ms
    // that the adapter needs after a write packet.
    if (gapMs >= kPausedGapMs) m_adapter.Pause10ms();
    size_t done = 0;
    bool ok = m_adapter.Write(handle, message, size, &done);
    *replySize = 0;
    if (ok && size == kPacketSize && message[1] == kReadOperation) {
        ok = m_adapter.Read(handle, reply, kHalfSize, &done);
        *replySize = static_cast<DWORD>(done);
    }
    if (!ok) {
        std::printf("transfer %u (at most %.2f ms after the previous one) refused: the connection is dropped\n",
                    m_adapter.TransferCount(), gapMs);
        std::fflush(stdout);
    }
    return ok;
}

// Waits for an overlapped operation on the instance that is `underway` (done or pending);
// false when it failed or when the server stopped (or the adapter was unplugged) first,
// which cancels it.
bool PipeServer::Complete(Instance& instance, OVERLAPPED& overlapped, bool underway, DWORD* moved,
                          Interrupt interrupt)
{
    if (!underway) return false;
    const HANDLE events[] = {overlapped.hEvent, m_stopped, m_absent};
    const DWORD count = interrupt == Interrupt::OnStop ? 2 : 3;
    if (WaitForMultipleObjects(count, events, FALSE, INFINITE) != WAIT_OBJECT_0) {
        CancelIo(instance.pipe);
        GetOverlappedResult(instance.pipe, &overlapped, moved, TRUE);
        return false;
    }
    return GetOverlappedResult(instance.pipe, &overlapped, moved, FALSE) != FALSE;
}
