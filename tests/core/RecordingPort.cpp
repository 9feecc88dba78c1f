#include "RecordingPort.h"

AdapterHandle RecordingPort::OpenInterface(const InterfaceGuid& guid, unsigned index)
{
    AdapterHandle handle = m_inner.OpenInterface(guid, index);
    events.push_back({PortEvent::kOpen, {}, handle != kInvalidAdapterHandle});
    return handle;
}

void RecordingPort::Close(AdapterHandle handle)
{
    events.push_back({PortEvent::kClose, {}, true});
    m_inner.Close(handle);
}

bool RecordingPort::Write(AdapterHandle handle, const uint8_t* data, size_t size, size_t* done)
{
    const bool ok = m_inner.Write(handle, data, size, done);
    events.push_back({PortEvent::kWrite, std::vector<uint8_t>(data, data + size), ok});
    return ok;
}

bool RecordingPort::Read(AdapterHandle handle, uint8_t* data, size_t size, size_t* done)
{
    const bool ok = m_inner.Read(handle, data, size, done);
    events.push_back({PortEvent::kRead, std::vector<uint8_t>(data, data + *done), ok});
    return ok;
}

void RecordingPort::Pause10ms()
{
    events.push_back({PortEvent::kPause, {}, true});
    m_inner.Pause10ms();
}

std::string RecordingPort::Shape() const
{
    std::string shape;
    for (const PortEvent& e : events) {
        switch (e.kind) {
        case PortEvent::kOpen: shape += 'O'; break;
        case PortEvent::kClose: shape += 'C'; break;
        case PortEvent::kWrite: shape += e.bytes.size() == 8 ? 'W' : 'D'; break;
        case PortEvent::kRead: shape += 'R'; break;
        case PortEvent::kPause: shape += 'P'; break;
        }
    }
    return shape;
}

std::vector<int> RecordingPort::PacketHalves() const
{
    std::vector<int> halves;
    for (const PortEvent& e : events)
        if (e.kind == PortEvent::kWrite && e.bytes.size() == 8) halves.push_back(e.bytes[2]);
    return halves;
}
