// The names under which the emulated adapter's device server is found in a Wine prefix:
// its pipe (the device path that the registry publishes) and the named objects through
// which a second run of the server controls a running one.
#pragma once

#include <windows.h>

constexpr wchar_t kDevicePipePath[] = L"\\\\.\\pipe\\vantor-adapter";

// Owned by the running server for its whole life.
constexpr wchar_t kServerMutexName[] = L"vantor-adapter-server";
// Requests to the running server, and its answer once it has carried out one.
constexpr wchar_t kStopEventName[] = L"vantor-adapter-stop";
constexpr wchar_t kUnplugEventName[] = L"vantor-adapter-unplug";
constexpr wchar_t kPlugEventName[] = L"vantor-adapter-plug";
constexpr wchar_t kDoneEventName[] = L"vantor-adapter-done";
