// A port that passes every call on to another one and keeps a trace of what the link did.
#pragma once

#include <string>
#include <vector>

#include "AdapterPort.h"

struct PortEvent {
    enum Kind { kOpen, kClose, kWrite, kRead, kPause } kind;
    std::vector<uint8_t> bytes;  // what was written, or what a read delivered
    bool ok = true;
};

class RecordingPort : public AdapterPort {
public:
    explicit RecordingPort(AdapterPort& inner) : m_inner(inner) {}

    AdapterHandle OpenInterface(const InterfaceGuid& guid, unsigned index) override;
    void Close(AdapterHandle handle) override;
    bool Write(AdapterHandle handle, const uint8_t* data, size_t size, size_t* done) override;
    bool Read(AdapterHandle handle, uint8_t* data, size_t size, size_t* done) override;
    void Pause10ms() override;

    // One letter per event: O open, C close, W packet write, D data write, R read, P pause.
    std::string Shape() const;
    // The third byte of every command packet written, in order.
    std::vector<int> PacketHalves() const;

    std::vector<PortEvent> events;

private:
    AdapterPort& m_inner;
};
