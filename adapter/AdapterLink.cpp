#include "AdapterLink.h"

#include <cstring>

namespace {

constexpr uint8_t kPacketMark = 0x05;
constexpr uint8_t kOperationRead = 0x06;
constexpr uint8_t kOperationWrite = 0x08;
constexpr size_t kPacketSize = 8;
constexpr size_t kHalfSize = kBlockSize / 2;

// The handle before the first open; distinct from the invalid handle of a failed open.
AdapterHandle const kNotOpened = nullptr;

bool IsOpen(AdapterHandle handle) { return handle != kNotOpened && handle != kInvalidAdapterHandle; }

}  // namespace

CAdapterLink::CAdapterLink(AdapterPort& port)
    : m_port(port), m_records(new uint8_t[kRecordBufferSize]()), handle(kNotOpened), m_header()
{
}

CAdapterLink::~CAdapterLink()
{
    if (IsOpen(handle)) m_port.Close(handle);
}

AdapterHandle CAdapterLink::OpenAdapter(const InterfaceGuid& guid, unsigned index)
{
    return m_port.OpenInterface(guid, index);
}

uint8_t* CAdapterLink::BlockAddress(int block)
{
    return block == kHeaderBlock ? m_header : m_records.get() + kBlockSize * block;
}

bool CAdapterLink::SendPacket(uint8_t operation, int half)
{
    const uint8_t packet[kPacketSize] = {kPacketMark, operation, static_cast<uint8_t>(half)};
    size_t done = 0;
    return m_port.Write(handle, packet, kPacketSize, &done) && done == kPacketSize;
}

// A 32-byte half either way; a transfer that moves fewer bytes has failed.
bool CAdapterLink::WriteHalf(const uint8_t* src)
{
    size_t done = 0;
    return m_port.Write(handle, src, kHalfSize, &done) && done == kHalfSize;
}

bool CAdapterLink::ReadHalf(uint8_t* dest)
{
    size_t done = 0;
    return m_port.Read(handle, dest, kHalfSize, &done) && done == kHalfSize;
}

// Reads into a scratch block so that `dest` changes only when both halves arrived whole.
bool CAdapterLink::ReadBlock(int block, uint8_t* dest)
{
    uint8_t scratch[kBlockSize];
    for (int part = 0; part < 2; ++part) {
        if (!SendPacket(kOperationRead, 2 * block + part)) return false;
        if (!ReadHalf(scratch + kHalfSize * part)) return false;
    }
    std::memcpy(dest, scratch, kBlockSize);
    return true;
}

bool CAdapterLink::WriteBlock(int block, const uint8_t* src)
{
    for (int part = 0; part < 2; ++part) {
        if (!SendPacket(kOperationWrite, 2 * block + part)) return false;
        m_sentHalves.push_back(2 * block + part);
        m_port.Pause10ms();
        if (!WriteHalf(src + kHalfSize * part)) return false;
    }
    return true;
}

void CAdapterLink::ReleaseAdapter()
{
    if (!IsOpen(handle)) return;
    m_port.Close(handle);
    handle = kNotOpened;
}

void CAdapterLink::CloseAdapter()
{
    ReleaseAdapter();
    handle = kNotOpened;
}

bool CAdapterLink::LoadConfig(uint8_t** records)
{
    *records = m_records.get();
    m_imageWhole = false;
    if (handle == kInvalidAdapterHandle) return false;
    handle = OpenAdapter(GUID_DEVINTERFACE_ADAPTER, 0);
    if (handle == kInvalidAdapterHandle) return false;
    if (!ReadBlock(kHeaderBlock, m_header)) return false;
    for (int slot = 0; slot < kSlotCount; ++slot)
        if (!ReadBlock(slot, BlockAddress(slot))) return false;
    m_imageWhole = true;
    return true;
}

bool CAdapterLink::ReadStoredImage(std::vector<uint8_t>& image)
{
    image.assign(kImageSize, 0);
    if (!Reopen()) return false;
    for (int block = 0; block < kBlockCount; ++block)
        if (!ReadBlock(block, image.data() + kBlockSize * block)) return false;
    return true;
}

std::vector<uint8_t> CAdapterLink::Image() const
{
    std::vector<uint8_t> image(kImageSize);
    std::memcpy(image.data(), m_records.get(), kRecordBufferSize);
    std::memcpy(image.data() + kRecordBufferSize, m_header, kBlockSize);
    return image;
}

void CAdapterLink::ReplaceImage(const uint8_t* image)
{
    std::memcpy(m_records.get(), image, kRecordBufferSize);
    std::memcpy(m_header, image + kRecordBufferSize, kBlockSize);
    m_imageWhole = true;
}

// A save, or the read that checks the adapter before it, talks through a fresh handle; the
// one it replaces is closed first.
bool CAdapterLink::Reopen()
{
    if (IsOpen(handle)) m_port.Close(handle);
    handle = OpenAdapter(GUID_DEVINTERFACE_ADAPTER, 0);
    return handle != kInvalidAdapterHandle;
}

bool CAdapterLink::SaveConfig()
{
    m_savedBlocks = 0;
    m_sentHalves.clear();
    if (!m_imageWhole) return false;
    if (!Reopen()) return false;
    for (int block = 0; block < kBlockCount; ++block, ++m_savedBlocks)
        if (!WriteBlock(block, BlockAddress(block))) return false;
    return true;
}

std::vector<BlockFault> CAdapterLink::VerifyConfig()
{
    std::vector<BlockFault> faults;
    for (int block = 0; block < kBlockCount; ++block) {
        uint8_t stored[kBlockSize];
        if (!ReadBlock(block, stored)) faults.push_back({block, true});
        else if (std::memcmp(stored, BlockAddress(block), kBlockSize) != 0) faults.push_back({block, false});
    }
    return faults;
}

// The records that differ from `stored`, by slot, then the header when anything differs.
std::vector<int> CAdapterLink::BlocksDifferingFrom(const std::vector<uint8_t>& stored)
{
    std::vector<int> blocks;
    for (int slot = 0; slot < kSlotCount; ++slot)
        if (std::memcmp(stored.data() + kBlockSize * slot, BlockAddress(slot), kBlockSize) != 0) blocks.push_back(slot);
    const bool headerDiffers = std::memcmp(stored.data() + kRecordBufferSize, m_header, kBlockSize) != 0;
    if (!blocks.empty() || headerDiffers) blocks.push_back(kHeaderBlock);
    return blocks;
}

// Stops at the first failure, so that the header is never written after a broken record.
bool CAdapterLink::WriteBlocks(const std::vector<int>& blocks)
{
    for (int block : blocks)
        if (!WriteBlock(block, BlockAddress(block))) return false;
    return true;
}

bool CAdapterLink::SaveChanges(const std::vector<uint8_t>& stored)
{
    m_faults.clear();
    m_sentHalves.clear();
    if (!m_imageWhole || !IsOpen(handle) || stored.size() != kImageSize) return false;
    const std::vector<int> blocks = BlocksDifferingFrom(stored);
    if (blocks.empty()) return true;
    if (WriteBlocks(blocks)) {
        m_faults = VerifyConfig();
        if (m_faults.empty()) return true;
    }
    const std::vector<int> sentByChanges = m_sentHalves;
    const bool saved = SaveWhole();
    m_sentHalves.insert(m_sentHalves.begin(), sentByChanges.begin(), sentByChanges.end());
    return saved;
}

bool CAdapterLink::SaveWhole()
{
    const bool written = SaveConfig();
    m_faults = VerifyConfig();
    return written && m_faults.empty();
}
