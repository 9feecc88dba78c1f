// Prints how long the product's adapter link takes to load and to save the whole
// configuration through the adapter's driver (under Wine, the emulated adapter behind
// the driver's interface), and how the save compares with the 1.28 s that its 128 pauses
// need at least. Each figure is the median of a few runs.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "AdapterLink.h"
#include "Win32AdapterPort.h"

namespace {

constexpr int kRuns = 3;
constexpr double kPausesSeconds = 2 * kBlockCount * 0.010;

template <typename Action>
double SecondsOf(Action action)
{
    const auto start = std::chrono::steady_clock::now();
    action();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main()
{
    Win32AdapterPort driver;
    std::vector<double> loads, saves;
    for (int run = 0; run < kRuns; ++run) {
        CAdapterLink link(driver);
        uint8_t* records = nullptr;
        bool done = false;
        loads.push_back(SecondsOf([&] { done = link.LoadConfig(&records); }));
        if (!done) {
            std::fprintf(stderr, "the configuration cannot be read through the adapter's driver\n");
            return 1;
        }
        saves.push_back(SecondsOf([&] { done = link.SaveConfig(); }));
        if (!done) {
            std::fprintf(stderr, "the configuration cannot be written through the adapter's driver\n");
            return 1;
        }
    }
    const double save = Median(saves);
    std::printf("load: %.3f s\n", Median(loads));
    std::printf("save: %.3f s, %.3f of the %.2f s that its pauses need\n", save, save / kPausesSeconds,
                kPausesSeconds);
    return 0;
}
