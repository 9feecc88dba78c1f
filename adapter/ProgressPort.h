// Passes everything on to another adapter port and tells each of the link's pauses, by
// count: a save pauses twice per block, so the count tells how far the save has come, and
// a window answers the system there.
#pragma once

#include <functional>

#include "AdapterPort.h"

class ProgressPort : public AdapterPort {
public:
    ProgressPort(AdapterPort& port, std::function<void(unsigned pauses)> onPause)
        : m_port(port), m_onPause(std::move(onPause))
    {
    }

    AdapterHandle OpenInterface(const InterfaceGuid& guid, unsigned index) override
    {
        return m_port.OpenInterface(guid, index);
    }
    void Close(AdapterHandle handle) override { m_port.Close(handle); }
    bool Write(AdapterHandle handle, const uint8_t* data, size_t size, size_t* done) override
    {
        return m_port.Write(handle, data, size, done);
    }
    bool Read(AdapterHandle handle, uint8_t* data, size_t size, size_t* done) override
    {
        return m_port.Read(handle, data, size, done);
    }
    void Pause10ms() override
    {
        m_port.Pause10ms();
        m_onPause(++m_pauses);
    }

private:
    AdapterPort& m_port;
    std::function<void(unsigned)> m_onPause;
    unsigned m_pauses = 0;
};
