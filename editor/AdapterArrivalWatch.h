// What a window hears of the adapter's device interface. Windows tells a window of an
// arriving or removed device interface (WM_DEVICECHANGE) only when it has asked for the
// interface's class.
#pragma once

#include <windows.h>

class AdapterArrivalWatch {
public:
    AdapterArrivalWatch() = default;
    AdapterArrivalWatch(const AdapterArrivalWatch&) = delete;
    AdapterArrivalWatch& operator=(const AdapterArrivalWatch&) = delete;
    ~AdapterArrivalWatch();

    // Asks for the arrivals and removals of the adapter's interfaces at `window`.
    void Start(HWND window);

    // Whether the data of a device event names an interface of the adapter's class.
    static bool NamesAdapter(DWORD_PTR data);

private:
    HDEVNOTIFY m_handle = nullptr;
};
