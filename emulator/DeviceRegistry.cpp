#include "DeviceRegistry.h"

#include <objbase.h>

#include <dbt.h>

#include <cstddef>
#include <cstring>
#include <cwchar>
#include <string>

#include "AdapterPort.h"
#include "EmulatedDevice.h"

namespace {

constexpr wchar_t kDeviceInstance[] = L"ROOT\\VANTOR\\0000";
constexpr wchar_t kEnumKey[] = L"System\\CurrentControlSet\\Enum\\";
constexpr wchar_t kDeviceClassesKey[] = L"System\\CurrentControlSet\\Control\\DeviceClasses\\";
// Any name but the one Wine derives from the device instance: only then does SetupAPI take
// the interface's SymbolicLink, the pipe, as its device path.
constexpr wchar_t kInterfaceName[] = L"vantor-pipe";

std::wstring ClassGuidText()
{
    GUID guid;
    std::memcpy(&guid, &GUID_DEVINTERFACE_ADAPTER, sizeof guid);
    wchar_t text[39];
    StringFromGUID2(guid, text, 39);
    return text;
}

std::wstring InterfaceKey() { return kDeviceClassesKey + ClassGuidText() + L"\\" + kInterfaceName; }
// The interface with an empty reference string.
std::wstring ReferenceKey() { return InterfaceKey() + L"\\#"; }
std::wstring ControlKey() { return ReferenceKey() + L"\\Control"; }

bool SetValue(const std::wstring& key, DWORD options, const wchar_t* name, DWORD type, const void* data, DWORD size)
{
    HKEY handle;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, options, KEY_SET_VALUE, nullptr, &handle,
                        nullptr) != ERROR_SUCCESS)
        return false;
    const LSTATUS status = RegSetValueExW(handle, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(handle);
    return status == ERROR_SUCCESS;
}

// How long one window may take over the notice.
constexpr UINT kNoticeTimeoutMs = 5000;

// The event and the interface's notice, with room for the device path.
struct Announcement {
    WPARAM event;
    DEV_BROADCAST_DEVICEINTERFACE_W notice;
    wchar_t pathRoom[sizeof kDevicePipePath / sizeof(wchar_t)];
};

BOOL CALLBACK SendAnnouncement(HWND window, LPARAM data)
{
    const auto* announcement = reinterpret_cast<const Announcement*>(data);
    SendMessageTimeoutW(window, WM_DEVICECHANGE, announcement->event, reinterpret_cast<LPARAM>(&announcement->notice),
                        SMTO_ABORTIFHUNG, kNoticeTimeoutMs, nullptr);
    return TRUE;
}

bool SetText(const std::wstring& key, const wchar_t* name, const std::wstring& text)
{
    const DWORD size = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    return SetValue(key, REG_OPTION_NON_VOLATILE, name, REG_SZ, text.c_str(), size);
}

}  // namespace

bool RegisterDeviceInterface()
{
    // Wine lists an interface only when its device instance names a class.
    return SetText(kEnumKey + std::wstring(kDeviceInstance), L"ClassGUID", ClassGuidText()) &&
           SetText(InterfaceKey(), L"DeviceInstance", kDeviceInstance) &&
           SetText(ReferenceKey(), L"SymbolicLink", kDevicePipePath);
}

bool SetInterfaceLinked(bool linked)
{
    if (linked) {
        const DWORD one = 1;
        return SetValue(ControlKey(), REG_OPTION_VOLATILE, L"Linked", REG_DWORD, &one, sizeof one);
    }
    const LSTATUS status = RegDeleteKeyW(HKEY_LOCAL_MACHINE, ControlKey().c_str());
    return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}

void AnnounceInterface(bool arrived)
{
    Announcement announcement = {};
    announcement.event = arrived ? DBT_DEVICEARRIVAL : DBT_DEVICEREMOVECOMPLETE;
    DEV_BROADCAST_DEVICEINTERFACE_W& notice = announcement.notice;
    notice.dbcc_size = offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name) + sizeof kDevicePipePath;
    notice.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    std::memcpy(&notice.dbcc_classguid, &GUID_DEVINTERFACE_ADAPTER, sizeof notice.dbcc_classguid);
    std::wcscpy(notice.dbcc_name, kDevicePipePath);
    EnumWindows(SendAnnouncement, reinterpret_cast<LPARAM>(&announcement));
}
