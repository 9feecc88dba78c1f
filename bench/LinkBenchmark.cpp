// Prints what a person waits for when the product's link talks to the adapter through its
// driver (under Wine, the emulated adapter behind the driver's interface): loading the
// configuration, OK after a one-profile edit (the adapter read again and compared, the
// changed blocks written, every block read back), a profile switch as `vantorctl use`
// makes it, and a full rewrite with its ratio to the 1.28 s that its 128 pauses need at
// least; each with the write packets it sent, and how long the pauses last. Each time is
// the median of a few runs. Like every program it holds the lock on the adapter while it
// talks to it.
//   link_benchmark.exe [--millisecond-sleep]
// The option makes every pause sleep at 1 ms resolution, as on Windows before 10 version
// 1803, which has no high-resolution timer.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "AdapterLink.h"
#include "Commands.h"
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

// Passes everything on to the driver and counts the write packets: each announces a half
// that is written, and each is followed by a 10 ms pause.
class PacketCountingPort : public AdapterPort {
public:
    explicit PacketCountingPort(AdapterPort& port) : m_port(port) {}
    int writePackets = 0;

    AdapterHandle OpenInterface(const InterfaceGuid& guid, unsigned index) override
    {
        return m_port.OpenInterface(guid, index);
    }
    void Close(AdapterHandle handle) override { m_port.Close(handle); }
    bool Write(AdapterHandle handle, const uint8_t* data, size_t size, size_t* done) override
    {
        if (size == 8 && data[1] == 0x08) ++writePackets;
        return m_port.Write(handle, data, size, done);
    }
    bool Read(AdapterHandle handle, uint8_t* data, size_t size, size_t* done) override
    {
        return m_port.Read(handle, data, size, done);
    }
    void Pause10ms() override { m_port.Pause10ms(); }

private:
    AdapterPort& m_port;
};

// A figure: the times of its runs and the write packets of the last one.
struct Figure {
    std::vector<double> seconds;
    int writePackets = 0;

    // Times `action` on `port`, counting its write packets; false when it failed.
    template <typename Action>
    bool Measure(PacketCountingPort& port, Action action)
    {
        bool done = false;
        port.writePackets = 0;
        seconds.push_back(SecondsOf([&] { done = action(); }));
        writePackets = port.writePackets;
        return done;
    }
};

bool Fail(const char* what)
{
    std::fprintf(stderr, "the benchmark failed: %s through the adapter's driver\n", what);
    return false;
}

// One run under the lock: the window's load, OK after a one-profile edit, a full rewrite.
bool RunLink(PacketCountingPort& port, AdapterLock& lock, int run, Figure& load, Figure& edit, Figure& rewrite)
{
    AdapterLockHold hold(lock);
    if (!hold.Held()) return Fail("the adapter stayed busy");
    CAdapterLink link(port);
    uint8_t* records = nullptr;
    if (!load.Measure(port, [&] { return link.LoadConfig(&records); })) return Fail("the load");
    KnownAdapterImages known;
    known.Read(link.Image());
    RecordOfSlot(records, 1)->speed = static_cast<uint8_t>(kMinSpeed + run + 1);
    const bool edited = edit.Measure(port, [&] {
        std::vector<uint8_t> stored;
        return link.ReadStoredImage(stored) && known.Explain(stored, link.Image()) && link.SaveChanges(stored);
    });
    if (!edited) return Fail("OK after an edit");
    return rewrite.Measure(port, [&] { return link.SaveConfig(); }) || Fail("the full rewrite");
}

// `vantorctl use SLOT`, which takes the lock itself.
bool RunUse(PacketCountingPort& port, AdapterLock& lock, int slot, Figure* use)
{
    std::ostringstream out, err;
    const DriverAccess driver = {port, lock};
    const auto switchTo = [&] { return RunVantorctl({"use", std::to_string(slot)}, {out, err, false}, &driver) == kCtlOk; };
    if (use ? use->Measure(port, switchTo) : switchTo()) return true;
    std::fprintf(stderr, "%s", err.str().c_str());
    return Fail("vantorctl use");
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

}  // namespace

int main(int argc, char** argv)
{
    const bool sleepOnly = argc == 2 && std::string(argv[1]) == "--millisecond-sleep";
    if (argc > 1 && !sleepOnly) {
        std::fprintf(stderr, "usage: link_benchmark [--millisecond-sleep]\n");
        return 2;
    }
    Win32AdapterPort driver(sleepOnly ? PauseWait::kMillisecondSleep : PauseWait::kFinestAvailable);
    PacketCountingPort port(driver);
    Win32AdapterLock lock;
    Figure load, edit, rewrite, use;
    for (int run = 0; run < kRuns; ++run)
        if (!RunLink(port, lock, run, load, edit, rewrite)) return 1;
    // The sample profiles use slots 0 to 2: each switch makes another one active.
    if (!RunUse(port, lock, 0, nullptr)) return 1;
    for (int run = 0; run < kRuns; ++run)
        if (!RunUse(port, lock, 1 + run % 2, &use)) return 1;
    const double full = Median(rewrite.seconds);
    const std::vector<double> pauses = PauseDurationsMs(driver);
    std::printf("load: %.3f s\n", Median(load.seconds));
    std::printf("OK after a one-profile edit (read again, write, read back): %.3f s, %d write packets\n",
                Median(edit.seconds), edit.writePackets);
    std::printf("profile switch (vantorctl use): %.3f s, %d write packets\n", Median(use.seconds), use.writePackets);
    std::printf("full rewrite: %.3f s, %d write packets, %.3f of the %.2f s that its pauses need\n", full,
                rewrite.writePackets, full / kPausesSeconds, kPausesSeconds);
    std::printf("pause (%s): shortest %.3f ms, median %.3f ms, longest %.3f ms (%zu pauses)\n",
                driver.PausesOnHighResolutionTimer() ? "high-resolution timer" : "1 ms sleep", pauses.front(),
                Median(pauses), pauses.back(), pauses.size());
    return 0;
}
