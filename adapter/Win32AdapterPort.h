// The adapter reached through its real driver: SetupAPI finds the device interface,
// CreateFileA opens it, WriteFile and ReadFile carry the packets and halves.
#pragma once

#include "AdapterPort.h"

// What a pause waits on: a high-resolution waitable timer where Windows has one (10
// version 1803 on), otherwise a sleep at 1 ms resolution; or that sleep alone, as older
// Windows gives it.
enum class PauseWait { kFinestAvailable, kMillisecondSleep };

class Win32AdapterPort : public AdapterPort {
public:
    explicit Win32AdapterPort(PauseWait wait = PauseWait::kFinestAvailable);
    ~Win32AdapterPort() override;
    Win32AdapterPort(const Win32AdapterPort&) = delete;
    Win32AdapterPort& operator=(const Win32AdapterPort&) = delete;

    AdapterHandle OpenInterface(const InterfaceGuid& guid, unsigned index) override;
    void Close(AdapterHandle handle) override;
    bool Write(AdapterHandle handle, const uint8_t* data, size_t size, size_t* done) override;
    bool Read(AdapterHandle handle, uint8_t* data, size_t size, size_t* done) override;
    void Pause10ms() override;
    bool PausesOnHighResolutionTimer() const { return m_timer != nullptr; }

private:
    void* m_timer;  // a high-resolution waitable timer, null where Windows has none
};
