// The adapter reached through its real driver: SetupAPI finds the device interface,
// CreateFileA opens it, WriteFile and ReadFile carry the packets and halves.
#pragma once

#include "AdapterPort.h"

class Win32AdapterPort : public AdapterPort {
public:
    Win32AdapterPort();
    ~Win32AdapterPort() override;
    Win32AdapterPort(const Win32AdapterPort&) = delete;
    Win32AdapterPort& operator=(const Win32AdapterPort&) = delete;

    AdapterHandle OpenInterface(const InterfaceGuid& guid, unsigned index) override;
    void Close(AdapterHandle handle) override;
    bool Write(AdapterHandle handle, const uint8_t* data, size_t size, size_t* done) override;
    bool Read(AdapterHandle handle, uint8_t* data, size_t size, size_t* done) override;
    void Pause10ms() override;

private:
    void* m_timer;  // a high-resolution waitable timer, null where Windows has none
};
