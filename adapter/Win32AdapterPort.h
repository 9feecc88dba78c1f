// The adapter reached through its real driver: SetupAPI finds the device interface,
// CreateFileA opens it, WriteFile and ReadFile carry the packets and halves.
#pragma once

#include "AdapterPort.h"

class Win32AdapterPort : public AdapterPort {
public:
    AdapterHandle OpenInterface(const InterfaceGuid& guid, unsigned index) override;
    void Close(AdapterHandle handle) override;
    bool Write(AdapterHandle handle, const uint8_t* data, size_t size, size_t* done) override;
    bool Read(AdapterHandle handle, uint8_t* data, size_t size, size_t* done) override;
    void Pause10ms() override;
};
