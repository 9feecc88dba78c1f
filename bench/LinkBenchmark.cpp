// Prints how long a load and a save of the whole configuration take against the emulated
// adapter with real 10 ms pauses, and how the save compares with the 1.28 s that its 128
// pauses need at least.
#include <chrono>
#include <cstdio>

#include "AdapterLink.h"
#include "EmulatedAdapter.h"
#ifdef _WIN32
#include "Win32AdapterPort.h"
#endif

namespace {

template <typename Action>
double SecondsOf(Action action)
{
    const auto start = std::chrono::steady_clock::now();
    action();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main()
{
    EmulatedAdapter adapter(EmulatedAdapter::Clock::Real);
    CAdapterLink link(adapter);
    uint8_t* records = nullptr;
    bool loaded = false, saved = false;
    const double load = SecondsOf([&] { loaded = link.LoadConfig(&records); });
    const double save = SecondsOf([&] { saved = link.SaveConfig(); });
    const double pauses = 2 * kBlockCount * 0.010;
    std::printf("load: %.3f s%s\n", load, loaded ? "" : " (failed)");
    std::printf("save: %.3f s%s\n", save, saved ? "" : " (failed)");
    std::printf("save / %.2f s of pauses: %.3f\n", pauses, save / pauses);
#ifdef _WIN32
    // The pauses of a save as the driver's port makes them on this system.
    Win32AdapterPort driver;
    const double driverPauses = SecondsOf([&] {
        for (int i = 0; i < 2 * kBlockCount; ++i) driver.Pause10ms();
    });
    std::printf("driver port, %d pauses: %.3f s (%.3f of %.2f s)\n", 2 * kBlockCount, driverPauses,
                driverPauses / pauses, pauses);
#endif
    return loaded && saved ? 0 : 1;
}
