// CAdapterLink: the one piece of code that talks to the adapter. It owns the in-memory
// configuration image (record buffer and header) and the adapter handle, and moves the
// image in 32-byte halves, each announced by an 8-byte command packet.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "AdapterPort.h"
#include "ConfigImage.h"

// A block that the adapter does not hold as the image has it.
struct BlockFault {
    int block;
    bool unreadable;  // it could not be read back; otherwise it differs
};

class CAdapterLink {
public:
    explicit CAdapterLink(AdapterPort& port);
    CAdapterLink(const CAdapterLink&) = delete;
    CAdapterLink& operator=(const CAdapterLink&) = delete;
    virtual ~CAdapterLink();

    AdapterHandle OpenAdapter(const InterfaceGuid& guid, unsigned index);
    bool ReadBlock(int block, uint8_t* dest);
    bool WriteBlock(int block, const uint8_t* src);

    // Closes an open handle. A failed open stays known: Handle() still says that no
    // adapter was found. A program that keeps running releases the adapter after each
    // talk with it, so that Windows can remove it meanwhile and a driver that allows one
    // open handle lets other programs in.
    void ReleaseAdapter();
    // Releases the adapter and forgets a failed open, so that the next LoadConfig looks
    // for the adapter again: after a load that found none, the adapter may arrive later.
    void CloseAdapter();
    // Points `records` at the record buffer, then reads the header and all 63 records.
    // True only when every block arrived whole; a partly read image is never saved.
    bool LoadConfig(uint8_t** records);
    // Opens the adapter anew and writes the 63 records, then the header. False when the
    // image is not whole (not loaded, nor replaced), the adapter cannot be opened, or any
    // transfer fails; it stops at the first failure so that the header is never written
    // after a broken record. A failed save can be tried again.
    bool SaveConfig();
    // Reads every block back, in block order, through the handle of the last save: the
    // adapter acknowledges nothing, so only this tells that it holds the image. Empty when
    // every block arrived and equals the image.
    std::vector<BlockFault> VerifyConfig();
    // Writes only what differs from `stored`, the image that was just read from the
    // adapter through the open handle (4096 bytes, header last): the records that differ,
    // by slot, then the header, which goes last whenever anything was written (some
    // firmware takes a change only when its header is written); nothing at all when
    // nothing differs. Every block is then read back. When a write fails or a block is not
    // as intended, the whole image is written as SaveConfig writes it and read back again.
    // True when the adapter holds the image; after false, Faults() names the blocks it
    // does not hold and, when the whole write failed, SavedBlockCount() says where.
    bool SaveChanges(const std::vector<uint8_t>& stored);
    // Writes the whole image as SaveConfig does and reads every block back, for an adapter
    // whose image could not be read: true when the adapter holds the image; after false,
    // Faults() names the blocks it does not hold.
    bool SaveWhole();
    // The blocks that the last read-back of SaveChanges or SaveWhole found not as intended.
    const std::vector<BlockFault>& Faults() const { return m_faults; }
    // Opens the adapter anew and reads what it holds now into `image` (4096 bytes, header
    // last), leaving the link's own image as it is. False when the adapter cannot be
    // opened or any block does not arrive whole.
    bool ReadStoredImage(std::vector<uint8_t>& image);
    // The link's image as 4096 bytes, header last.
    std::vector<uint8_t> Image() const;
    // Takes a complete 4096-byte image (blocks in order, header last) as the one to save.
    void ReplaceImage(const uint8_t* image);
    // How many blocks the last SaveConfig wrote whole, in its transfer order (records by
    // slot, then the header); after a failed save, the block at this position failed.
    int SavedBlockCount() const { return m_savedBlocks; }
    // The halves (2 x block + part, 0 to 127) whose transfer the last save (SaveConfig, or
    // SaveChanges with the whole write it may fall back to), and any WriteBlock since,
    // started, in transfer order. A half counts once its packet went out:
    // its data may then have landed even when the transfer failed. A half not started
    // still holds what it held.
    const std::vector<int>& SentHalves() const { return m_sentHalves; }

    uint8_t* Records() { return m_records.get(); }
    uint8_t* Header() { return m_header; }
    ImageHeader& HeaderFields() { return *reinterpret_cast<ImageHeader*>(m_header); }
    // The invalid handle after a failed open (of the load, or of the last save) means that
    // no adapter was found.
    AdapterHandle Handle() const { return handle; }

private:
    uint8_t* BlockAddress(int block);
    bool SendPacket(uint8_t operation, int half);
    bool WriteHalf(const uint8_t* src);
    bool ReadHalf(uint8_t* dest);
    bool Reopen();
    std::vector<int> BlocksDifferingFrom(const std::vector<uint8_t>& stored);
    bool WriteBlocks(const std::vector<int>& blocks);

    AdapterPort& m_port;
    std::unique_ptr<uint8_t[]> m_records;
    AdapterHandle handle;
    uint8_t m_header[kBlockSize];
    bool m_imageWhole = false;
    int m_savedBlocks = 0;
    std::vector<BlockFault> m_faults;
    std::vector<int> m_sentHalves;
};
