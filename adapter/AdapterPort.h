// What the adapter link needs of the platform: open the adapter's device interface, move
// bytes through the open handle, and pause between a write command and its data. The
// Windows build implements it over the adapter's driver; the emulated adapter implements
// it in memory.
#pragma once

#include <cstddef>
#include <cstdint>

// An open adapter handle; the same value space as a Win32 HANDLE.
using AdapterHandle = void*;
inline AdapterHandle const kInvalidAdapterHandle = reinterpret_cast<AdapterHandle>(intptr_t{-1});

// A device interface class, laid out as a Win32 GUID.
struct InterfaceGuid {
    uint32_t data1;
    uint16_t data2;
    uint16_t data3;
    uint8_t data4[8];
};

// The interface class that the adapter's driver publishes.
constexpr InterfaceGuid GUID_DEVINTERFACE_ADAPTER = {
    0x1B65BEDD, 0x1D6A, 0x11D6, {0x80, 0x7D, 0x82, 0xB3, 0xDA, 0xB6, 0xC6, 0x25}};

class AdapterPort {
public:
    virtual ~AdapterPort() = default;

    // The first present interface of class `guid` (at `index`) opened for reading and
    // writing, or kInvalidAdapterHandle.
    virtual AdapterHandle OpenInterface(const InterfaceGuid& guid, unsigned index) = 0;
    // Releases a handle that OpenInterface returned.
    virtual void Close(AdapterHandle handle) = 0;
    // One synchronous transfer each; `done` receives the bytes actually moved.
    virtual bool Write(AdapterHandle handle, const uint8_t* data, size_t size, size_t* done) = 0;
    virtual bool Read(AdapterHandle handle, uint8_t* data, size_t size, size_t* done) = 0;
    // Waits at least 10 ms: the adapter needs that long after a write command.
    virtual void Pause10ms() = 0;
};
