#include <windows.h>

#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "AdapterLink.h"
#include "Win32AdapterLock.h"
#include "Win32AdapterPort.h"

TEST(Win32AdapterPort, NoAdapterMeansTheInvalidHandle)
{
    Win32AdapterPort port;
    CAdapterLink link(port);
    EXPECT_EQ(link.OpenAdapter(GUID_DEVINTERFACE_ADAPTER, 0), kInvalidAdapterHandle);
    uint8_t* records = nullptr;
    EXPECT_FALSE(link.LoadConfig(&records));
    EXPECT_NE(records, nullptr);
    EXPECT_FALSE(link.SaveConfig());
}

// On the high-resolution timer and on the sleep that Windows before 10 1803 has alone.
class Win32AdapterPortPause : public ::testing::TestWithParam<PauseWait> {};

const char* NameOf(PauseWait wait) { return wait == PauseWait::kFinestAvailable ? "HighResolutionTimer" : "MillisecondSleep"; }
void PrintTo(PauseWait wait, std::ostream* out) { *out << NameOf(wait); }

TEST_P(Win32AdapterPortPause, EveryPauseLastsAtLeastTenMilliseconds)
{
    Win32AdapterPort port(GetParam());
    ASSERT_EQ(port.PausesOnHighResolutionTimer(), GetParam() == PauseWait::kFinestAvailable)
        << "Wine has the high-resolution timer";
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    for (int pause = 0; pause < 20; ++pause) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        port.Pause10ms();
        QueryPerformanceCounter(&end);
        EXPECT_GE((end.QuadPart - start.QuadPart) * 1000, 10 * frequency.QuadPart) << "pause " << pause;
    }
}

INSTANTIATE_TEST_SUITE_P(EachWait, Win32AdapterPortPause,
                         ::testing::Values(PauseWait::kFinestAvailable, PauseWait::kMillisecondSleep),
                         [](const ::testing::TestParamInfo<PauseWait>& info) { return NameOf(info.param); });

// Another program's hold on the lock, played by a thread of this one: a mutex belongs to
// the thread that took it.
class Win32AdapterLockTest : public ::testing::Test {
protected:
    std::wstring Name() const { return L"Local\\VantorLockTest" + std::to_wstring(GetCurrentProcessId()); }

    // Takes the lock on another thread and keeps it until `release`, or until that thread
    // ends when `release` is null.
    void HoldElsewhere(HANDLE release)
    {
        HANDLE taken = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        holder = std::thread([this, taken, release] {
            Win32AdapterLock theirs(Name().c_str(), 0);
            const bool took = theirs.Acquire();
            EXPECT_TRUE(took);
            SetEvent(taken);
            if (!took || !release) return;
            WaitForSingleObject(release, INFINITE);
            theirs.Release();
        });
        WaitForSingleObject(taken, INFINITE);
        CloseHandle(taken);
    }

    std::thread holder;
};

TEST_F(Win32AdapterLockTest, TakenElsewhereIsBusyUntilGivenBackOrItsHolderEnds)
{
    Win32AdapterLock ours(Name().c_str(), 100);
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HoldElsewhere(release);
    EXPECT_FALSE(ours.Acquire());
    SetEvent(release);
    holder.join();
    ASSERT_TRUE(ours.Acquire());
    ours.Release();
    CloseHandle(release);

    HoldElsewhere(nullptr);  // ends without giving it back
    holder.join();
    EXPECT_TRUE(ours.Acquire());
    ours.Release();
}
