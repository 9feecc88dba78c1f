#include "Win32AdapterPort.h"

#include <windows.h>
#include <mmsystem.h>
#include <setupapi.h>

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

#include <cstdlib>
#include <cstring>

#if !defined(_WIN64)
// The sizes the driver's setup records have in a 32-bit process.
static_assert(sizeof(SP_DEVICE_INTERFACE_DATA) == 28, "32-bit interface record");
static_assert(sizeof(SP_DEVINFO_DATA) == 28, "32-bit device record");
static_assert(sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A) == 5, "32-bit ANSI detail record");
#else
static_assert(sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A) == 8, "64-bit ANSI detail record");
#endif

namespace {

GUID ToGuid(const InterfaceGuid& guid)
{
    static_assert(sizeof(GUID) == sizeof(InterfaceGuid), "same layout as a GUID");
    GUID result;
    std::memcpy(&result, &guid, sizeof result);
    return result;
}

// The smallest usable answer to the size query: the size field and a one-character path.
constexpr DWORD kSmallestDetail = offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_A, DevicePath) + sizeof(CHAR);

HANDLE OpenDevicePath(HDEVINFO set, SP_DEVICE_INTERFACE_DATA& interfaceData)
{
    DWORD required = 0;
    SP_DEVINFO_DATA deviceData = {};
    deviceData.cbSize = sizeof deviceData;
    SetupDiGetDeviceInterfaceDetailA(set, &interfaceData, nullptr, 0, &required, &deviceData);
    if (required < kSmallestDetail) return INVALID_HANDLE_VALUE;

    auto* detail = static_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_A*>(std::calloc(1, required));
    if (!detail) return INVALID_HANDLE_VALUE;
    // The system takes only the record size of the caller's bitness (5 bytes in a 32-bit
    // process, 8 in a 64-bit one) and refuses any other.
    detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A);
    HANDLE handle = INVALID_HANDLE_VALUE;
    if (SetupDiGetDeviceInterfaceDetailA(set, &interfaceData, detail, required, nullptr, nullptr)) {
        handle = CreateFileA(detail->DevicePath, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    std::free(detail);
    return handle;
}

constexpr DWORD kPauseMs = 10;
// How much sooner than the pause's end the wait is asked to wake: a sleep at 1 ms
// resolution wakes up to a tick late, and so may a high-resolution timer where the system
// serves it coarsely (under Wine some 0.8 ms).
constexpr DWORD kWaitMarginMs = 2;

LONGLONG CounterNow()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

LONGLONG CounterTicksPerSecond()
{
    static const LONGLONG frequency = [] {
        LARGE_INTEGER value;
        QueryPerformanceFrequency(&value);
        return value.QuadPart;
    }();
    return frequency;
}

void WaitOnTimer(HANDLE timer, DWORD ms)
{
    LARGE_INTEGER due;
    due.QuadPart = -10000LL * ms;  // relative, in 100 ns units
    if (SetWaitableTimer(timer, &due, 0, nullptr, nullptr, FALSE)) WaitForSingleObject(timer, INFINITE);
}

// Sleep lasts whole timer ticks, 15.6 ms by default; a 1 ms resolution while it runs.
void SleepAtMillisecondResolution(DWORD ms)
{
    timeBeginPeriod(1);
    Sleep(ms);
    timeEndPeriod(1);
}

}  // namespace

// High-resolution waitable timers came with Windows 10 version 1803; elsewhere making
// one fails.
Win32AdapterPort::Win32AdapterPort(PauseWait wait)
    : m_timer(wait == PauseWait::kFinestAvailable
                  ? CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, TIMER_ALL_ACCESS)
                  : nullptr)
{
}

Win32AdapterPort::~Win32AdapterPort()
{
    if (m_timer) CloseHandle(m_timer);
}

AdapterHandle Win32AdapterPort::OpenInterface(const InterfaceGuid& guid, unsigned index)
{
    const GUID classGuid = ToGuid(guid);
    HDEVINFO set = SetupDiGetClassDevsA(&classGuid, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (set == INVALID_HANDLE_VALUE) return kInvalidAdapterHandle;

    SP_DEVICE_INTERFACE_DATA interfaceData = {};
    interfaceData.cbSize = sizeof interfaceData;
    HANDLE handle = INVALID_HANDLE_VALUE;
    if (SetupDiEnumDeviceInterfaces(set, nullptr, &classGuid, index, &interfaceData))
        handle = OpenDevicePath(set, interfaceData);
    SetupDiDestroyDeviceInfoList(set);
    return handle;
}

void Win32AdapterPort::Close(AdapterHandle handle) { CloseHandle(handle); }

bool Win32AdapterPort::Write(AdapterHandle handle, const uint8_t* data, size_t size, size_t* done)
{
    DWORD moved = 0;
    const BOOL ok = WriteFile(handle, data, static_cast<DWORD>(size), &moved, nullptr);
    *done = moved;
    return ok != FALSE;
}

bool Win32AdapterPort::Read(AdapterHandle handle, uint8_t* data, size_t size, size_t* done)
{
    DWORD moved = 0;
    const BOOL ok = ReadFile(handle, data, static_cast<DWORD>(size), &moved, nullptr);
    *done = moved;
    return ok != FALSE;
}

// A pause waits most of its time on a timer, which may wake late by up to its resolution,
// and spins the rest on the performance counter, which ends it as soon as 10 ms passed.
void Win32AdapterPort::Pause10ms()
{
    const LONGLONG end = CounterNow() + CounterTicksPerSecond() * kPauseMs / 1000;
    if (m_timer) WaitOnTimer(m_timer, kPauseMs - kWaitMarginMs);
    else SleepAtMillisecondResolution(kPauseMs - kWaitMarginMs);
    while (CounterNow() < end) YieldProcessor();
}
