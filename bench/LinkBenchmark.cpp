// Prints how long the product's adapter link takes to load and to save the whole
// configuration through the adapter's driver (under Wine, the emulated adapter behind
// the driver's interface), how the save compares with the 1.28 s that its 128 pauses
// need at least, how long the pauses last, and what the check before a save costs: the
// adapter read again and compared with what the window knows of it. Each time figure is
// the median of a few runs. Like every program it holds the lock on the adapter while it
// talks to it.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "AdapterLink.h"
#include "KnownAdapterImages.h"
#include "Win32AdapterLock.h"
#include "Win32AdapterPort.h"

namespace {

constexpr int kRuns = 3;
constexpr int kPausesPerSave = 2 * kBlockCount;
constexpr double kPausesSeconds = kPausesPerSave * 0.010;

template <typename Action>
double SecondsOf(Action action)
{
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    action();
    QueryPerformanceCounter(&end);
    return static_cast<double>(end.QuadPart - start.QuadPart) / frequency.QuadPart;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The pauses of a few saves, one after another, in milliseconds, sorted.
std::vector<double> PauseDurationsMs(AdapterPort& driver)
{
    std::vector<double> durations;
    for (int pause = 0; pause < kRuns * kPausesPerSave; ++pause)
        durations.push_back(1000 * SecondsOf([&] { driver.Pause10ms(); }));
    std::sort(durations.begin(), durations.end());
    return durations;
}

bool Fail(const char* what)
{
    std::fprintf(stderr, "the configuration cannot be %s through the adapter's driver\n", what);
    return false;
}

// One run under the lock: load, check, save; false after saying what failed.
bool Run(AdapterPort& driver, AdapterLock& lock, std::vector<double>& loads, std::vector<double>& checks,
         std::vector<double>& saves)
{
    AdapterLockHold hold(lock);
    if (!hold.Held()) {
        std::fprintf(stderr, "the adapter stayed busy: another program is reading or writing it\n");
        return false;
    }
    CAdapterLink link(driver);
    uint8_t* records = nullptr;
    bool done = false;
    loads.push_back(SecondsOf([&] { done = link.LoadConfig(&records); }));
    if (!done) return Fail("read");
    KnownAdapterImages known;
    known.Read(link.Image());
    checks.push_back(SecondsOf([&] {
        std::vector<uint8_t> stored;
        done = link.ReadStoredImage(stored) && known.Explain(stored, link.Image());
    }));
    if (!done) return Fail("read again");
    saves.push_back(SecondsOf([&] { done = link.SaveConfig(); }));
    return done || Fail("written");
}

}  // namespace

int main()
{
    Win32AdapterPort driver;
    Win32AdapterLock lock;
    std::vector<double> loads, checks, saves;
    for (int run = 0; run < kRuns; ++run)
        if (!Run(driver, lock, loads, checks, saves)) return 1;
    const double save = Median(saves);
    const std::vector<double> pauses = PauseDurationsMs(driver);
    std::printf("load: %.3f s\n", Median(loads));
    std::printf("save: %.3f s, %.3f of the %.2f s that its pauses need\n", save, save / kPausesSeconds,
                kPausesSeconds);
    std::printf("pause: shortest %.3f ms, median %.3f ms, longest %.3f ms (%zu pauses)\n", pauses.front(),
                Median(pauses), pauses.back(), pauses.size());
    std::printf("check before a save (read again and compare): %.3f s\n", Median(checks));
    return 0;
}
