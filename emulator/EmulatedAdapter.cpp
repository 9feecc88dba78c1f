#include "EmulatedAdapter.h"

#include <cstring>
#include <iomanip>
#include <thread>

namespace {

constexpr size_t kPacketSize = 8;
constexpr size_t kHalfSize = kBlockSize / 2;
constexpr int kHighestHalf = 2 * kBlockCount - 1;
constexpr long long kWriteSettleMs = 10;

bool SameGuid(const InterfaceGuid& a, const InterfaceGuid& b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

}  // namespace

EmulatedAdapter::EmulatedAdapter(Clock clock) : m_clock(clock), m_start(std::chrono::steady_clock::now())
{
}

bool EmulatedAdapter::UseMemoryFile(const std::string& path)
{
    std::ifstream existing(path, std::ios::binary);
    if (existing) {
        uint8_t image[kImageSize + 1];
        existing.read(reinterpret_cast<char*>(image), sizeof image);
        if (existing.gcount() != static_cast<std::streamsize>(kImageSize)) return false;
        std::memcpy(m_memory, image, kImageSize);
    } else {
        std::ofstream created(path, std::ios::binary);
        created.write(reinterpret_cast<const char*>(m_memory), kImageSize);
        if (!created.flush()) return false;
    }
    m_file.open(path, std::ios::binary | std::ios::in | std::ios::out);
    return m_file.is_open();
}

bool EmulatedAdapter::CountWritePacketsIn(const std::string& path)
{
    m_writePacketFile.open(path, std::ios::binary | std::ios::trunc);
    m_writePacketFile << std::setw(10) << m_writePackets << "\n" << std::flush;
    return bool(m_writePacketFile);
}

long long EmulatedAdapter::NowMs() const
{
    if (m_clock == Clock::Virtual) return m_virtualMs;
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - m_start)
        .count();
}

AdapterHandle EmulatedAdapter::OpenInterface(const InterfaceGuid& guid, unsigned index)
{
    if (!m_present || index != 0 || !SameGuid(guid, GUID_DEVINTERFACE_ADAPTER)) return kInvalidAdapterHandle;
    if (m_oneOpenHandle && !m_handles.empty()) return kInvalidAdapterHandle;
    const uintptr_t id = m_nextHandle++;
    m_handles[id] = Pending();
    return reinterpret_cast<AdapterHandle>(id);
}

void EmulatedAdapter::Close(AdapterHandle handle) { m_handles.erase(reinterpret_cast<uintptr_t>(handle)); }

EmulatedAdapter::Pending* EmulatedAdapter::Find(AdapterHandle handle)
{
    auto it = m_handles.find(reinterpret_cast<uintptr_t>(handle));
    return it == m_handles.end() ? nullptr : &it->second;
}

bool EmulatedAdapter::Write(AdapterHandle handle, const uint8_t* data, size_t size, size_t* done)
{
    *done = 0;
    const unsigned number = ++m_transfers;
    Pending* pending = Find(handle);
    if (!pending) return false;
    bool ok = false;
    if (!InjectedFailure(number)) {
        if (size == kPacketSize) ok = AcceptPacket(*pending, data);
        else if (size == kHalfSize) ok = AcceptHalf(*pending, data);
    }
    if (!ok) *pending = Pending();
    if (ok) *done = size;
    return ok;
}

bool EmulatedAdapter::AcceptPacket(Pending& pending, const uint8_t* packet)
{
    static const uint8_t kZeros[5] = {};
    const bool read = packet[1] == 0x06, write = packet[1] == 0x08;
    if (packet[0] != 0x05 || !(read || write) || packet[2] > kHighestHalf) return false;
    if (std::memcmp(packet + 3, kZeros, sizeof kZeros) != 0) return false;
    // The firmware keeps one announced half, whichever handle announced it: a packet from
    // another handle in between makes a half refused instead of stored in the wrong place.
    for (auto& handle : m_handles) handle.second = Pending();
    if (write && m_writePacketFile.is_open()) {
        m_writePacketFile.seekp(0);
        m_writePacketFile << std::setw(10) << ++m_writePackets << "\n" << std::flush;
    }
    pending.kind = read ? Pending::kRead : Pending::kWrite;
    pending.half = packet[2];
    pending.packetTimeMs = NowMs();
    return true;
}

// Data is taken only right after a write packet, and only once the flash has had its
// 10 ms to get ready.
bool EmulatedAdapter::AcceptHalf(Pending& pending, const uint8_t* data)
{
    if (pending.kind != Pending::kWrite) return false;
    if (NowMs() - pending.packetTimeMs < kWriteSettleMs) return false;
    if (!StoreHalf(pending.half, data)) return false;
    pending = Pending();
    return true;
}

bool EmulatedAdapter::StoreHalf(int half, const uint8_t* data)
{
    if (m_file.is_open()) {
        m_file.seekp(static_cast<std::streamoff>(kHalfSize * half));
        m_file.write(reinterpret_cast<const char*>(data), kHalfSize);
        if (!m_file.flush()) {
            m_file.clear();
            return false;
        }
    }
    std::memcpy(m_memory + kHalfSize * half, data, kHalfSize);
    return true;
}

bool EmulatedAdapter::Read(AdapterHandle handle, uint8_t* data, size_t size, size_t* done)
{
    *done = 0;
    const unsigned number = ++m_transfers;
    Pending* pending = Find(handle);
    if (!pending) return false;
    const bool ok = !InjectedFailure(number) && pending->kind == Pending::kRead && size == kHalfSize;
    if (ok) {
        const size_t delivered = m_shortReads.count(number) ? kHalfSize / 2 : kHalfSize;
        std::memcpy(data, m_memory + kHalfSize * pending->half, delivered);
        *done = delivered;
    }
    *pending = Pending();
    return ok;
}

void EmulatedAdapter::Pause10ms()
{
    if (m_clock == Clock::Virtual) m_virtualMs += kWriteSettleMs;
    else std::this_thread::sleep_for(std::chrono::milliseconds(kWriteSettleMs));
}
