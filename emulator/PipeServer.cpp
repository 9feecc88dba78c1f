#include "PipeServer.h"

#include <cstdio>
#include <limits>

#include "EmulatedDevice.h"

namespace {

// Clients never wait for a free instance, so several must always be listening: the
// product keeps its load's connection while its save opens another, and a command-line
// tool may open one more at the same time.
constexpr int kInstanceCount = 8;
constexpr DWORD kMessageBufferSize = 256;
constexpr DWORD kPacketSize = 8;
constexpr DWORD kHalfSize = 32;
constexpr uint8_t kReadOperation = 0x06;
// The gap below which a half counts as sent without the 10 ms pause after its packet. The
// server's view of the gap shrinks by however late it took the packet, which is several
// milliseconds when it was kept from running; a client that did not pause sends its half
// well under a millisecond after the packet.
constexpr double kPausedGapMs = 2.0;
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

// When a client sent a message can only be told from when the server took it from the
// pipe. A message that was already waiting when its predecessor was taken came while the
// server ran late: it cannot be timed, and counts as paused.
class PaceClock {
public:
    explicit PaceClock(HANDLE pipe) : m_pipe(pipe), m_lastTakenMs(NowMs()) {}

    // Milliseconds between the previous message and the one just taken; infinite when
    // that cannot be told.
    double GapOfTaken()
    {
        const double takenMs = NowMs();
        const double gapMs = m_nextWasWaiting ? std::numeric_limits<double>::infinity() : takenMs - m_lastTakenMs;
        m_lastTakenMs = takenMs;
        DWORD waiting = 0;
        m_nextWasWaiting = PeekNamedPipe(m_pipe, nullptr, 0, nullptr, &waiting, nullptr) && waiting > 0;
        return gapMs;
    }

private:
    HANDLE m_pipe;
    double m_lastTakenMs;
    bool m_nextWasWaiting = false;
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
        m_instances.push_back({pipe, CreateEventW(nullptr, TRUE, FALSE, nullptr)});
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
        if (Complete(instance, overlapped, started, &unused, Interrupt::OnStop)) return true;
        // A failed wait for a client is tried again a little later, unless the server stops.
        if (WaitForSingleObject(m_stopped, kRetryAfterFailureMs) == WAIT_OBJECT_0) return false;
        DisconnectNamedPipe(instance.pipe);
    }
}

// Serves one client until it leaves, a transfer is refused, or the adapter is unplugged.
void PipeServer::Converse(Instance& instance)
{
    ++m_connections;
    AdapterHandle handle;
    {
        std::lock_guard<std::mutex> lock(m_adapterMutex);
        handle = m_adapter.OpenInterface(GUID_DEVINTERFACE_ADAPTER, 0);
    }
    uint8_t message[kMessageBufferSize], reply[kHalfSize];
    DWORD size = 0, replySize = 0, sent = 0;
    PaceClock pace(instance.pipe);
    while (handle != kInvalidAdapterHandle) {
        OVERLAPPED reading = FreshOverlapped(instance.ioDone);
        BOOL started = ReadFile(instance.pipe, message, sizeof message, nullptr, &reading);
        if (!Complete(instance, reading, started, &size, Interrupt::OnStopOrUnplug)) break;
        if (!Transfer(handle, message, size, pace.GapOfTaken(), reply, &replySize)) break;
        if (replySize == 0) continue;
        OVERLAPPED writing = FreshOverlapped(instance.ioDone);
        started = WriteFile(instance.pipe, reply, replySize, nullptr, &writing);
        if (!Complete(instance, writing, started, &sent, Interrupt::OnStopOrUnplug)) break;
    }
    {
        std::lock_guard<std::mutex> lock(m_adapterMutex);
        m_adapter.Close(handle);
    }
    m_lastLeftMs = GetTickCount64();
    --m_connections;
}

// One client message as one transfer of the adapter. A read packet that the adapter takes
// is answered at once with the half it names, which the client's ReadFile then collects.
bool PipeServer::Transfer(AdapterHandle handle, const uint8_t* message, DWORD size, double gapMs, uint8_t* reply,
                          DWORD* replySize)
{
    std::lock_guard<std::mutex> lock(m_adapterMutex);
    // The adapter's clock is virtual: a real pause of the client counts as the 10 ms the
    // adapter needs after a write packet.
    if (gapMs >= kPausedGapMs) m_adapter.Pause10ms();
    size_t done = 0;
    bool ok = m_adapter.Write(handle, message, size, &done);
    *replySize = 0;
    if (ok && size == kPacketSize && message[1] == kReadOperation) {
        ok = m_adapter.Read(handle, reply, kHalfSize, &done);
        *replySize = static_cast<DWORD>(done);
    }
    if (!ok)
        std::printf("transfer %u (%.2f ms after the previous one) refused: the connection is dropped\n",
                    m_adapter.TransferCount(), gapMs);
    std::fflush(stdout);
    return ok;
}

// Waits for an overlapped operation on the instance; false when it failed or when the
// server stopped (or the adapter was unplugged) first, which cancels it.
bool PipeServer::Complete(Instance& instance, OVERLAPPED& overlapped, BOOL started, DWORD* moved,
                          Interrupt interrupt)
{
    if (!started && GetLastError() != ERROR_IO_PENDING) return false;
    const HANDLE events[] = {overlapped.hEvent, m_stopped, m_absent};
    const DWORD count = interrupt == Interrupt::OnStop ? 2 : 3;
    if (WaitForMultipleObjects(count, events, FALSE, INFINITE) != WAIT_OBJECT_0) {
        CancelIo(instance.pipe);
        GetOverlappedResult(instance.pipe, &overlapped, moved, TRUE);
        return false;
    }
    return GetOverlappedResult(instance.pipe, &overlapped, moved, FALSE) != FALSE;
}
