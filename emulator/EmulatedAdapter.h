// The adapter's driver and firmware emulated in memory, behind the same port as the real
// driver, so that the tool runs and is tested without the hardware. It keeps the 64
// blocks, answers the command packets as the firmware does, and can keep its memory in a
// file (the 4096-byte image in block order) that it writes through like the adapter's
// flash. It can be made absent, made to fail a chosen transfer, or to return a short read,
// and made to allow one open handle at a time, as some drivers do.
#pragma once

#include <chrono>
#include <cstdint>
#include <fstream>
#include <map>
#include <set>
#include <string>

#include "AdapterPort.h"
#include "ConfigImage.h"

class EmulatedAdapter : public AdapterPort {
public:
    // Virtual: time moves only by Pause10ms (tests). Real: the pauses really wait.
    enum class Clock { Virtual, Real };

    explicit EmulatedAdapter(Clock clock = Clock::Virtual);

    // Keeps the memory in `path`: an existing file must hold exactly one image and is read
    // now; a missing one is created from the current memory. False (and no file kept)
    // when the file cannot be read or created or has the wrong size.
    bool UseMemoryFile(const std::string& path);

    // Keeps in `path` how many write packets the adapter has taken so far, as decimal
    // text, so that a test outside the process can count what a program wrote. False
    // when the file cannot be made.
    bool CountWritePacketsIn(const std::string& path);

    void SetPresent(bool present) { m_present = present; }
    // From now on an open fails while another handle is open.
    void AllowOneOpenHandle() { m_oneOpenHandle = true; }
    // Transfers (reads and writes, on any handle) are numbered from 1 in call order.
    void FailTransfer(unsigned number) { m_failing.insert(number); }
    void ShortReadAt(unsigned number) { m_shortReads.insert(number); }
    unsigned TransferCount() const { return m_transfers; }
    size_t OpenHandleCount() const { return m_handles.size(); }

    uint8_t* Memory() { return m_memory; }

    AdapterHandle OpenInterface(const InterfaceGuid& guid, unsigned index) override;
    void Close(AdapterHandle handle) override;
    bool Write(AdapterHandle handle, const uint8_t* data, size_t size, size_t* done) override;
    bool Read(AdapterHandle handle, uint8_t* data, size_t size, size_t* done) override;
    void Pause10ms() override;

private:
    // What the last command packet on a handle announced.
    struct Pending {
        enum Kind { kNone, kRead, kWrite } kind = kNone;
        int half = 0;
        long long packetTimeMs = 0;
    };

    long long NowMs() const;
    bool AcceptPacket(Pending& pending, const uint8_t* packet);
    bool AcceptHalf(Pending& pending, const uint8_t* data);
    bool StoreHalf(int half, const uint8_t* data);
    Pending* Find(AdapterHandle handle);
    bool InjectedFailure(unsigned number) const { return m_failing.count(number) != 0; }

    Clock m_clock;
    long long m_virtualMs = 0;
    std::chrono::steady_clock::time_point m_start;
    bool m_present = true;
    bool m_oneOpenHandle = false;
    uintptr_t m_nextHandle = 1;
    std::map<uintptr_t, Pending> m_handles;
    unsigned m_transfers = 0;
    std::set<unsigned> m_failing;
    std::set<unsigned> m_shortReads;
    std::fstream m_file;
    std::ofstream m_writePacketFile;
    unsigned m_writePackets = 0;
    uint8_t m_memory[kImageSize] = {};
};
