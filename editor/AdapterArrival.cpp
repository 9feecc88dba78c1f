// The adapter plugged in or out while the window is open. A window that opened without
// it loads the configuration on its arrival, as at start-up; a window that holds one
// keeps it and every edit. Removal only hides the adapter picture: the window holds no
// handle of the adapter between its loads and saves, the edits stay, and OK tells when
// the save fails.
#include "ConfigDlg.h"

#include <dbt.h>

#include <cstddef>
#include <cstring>

#include "resource.h"

AdapterArrivalWatch::~AdapterArrivalWatch()
{
    if (m_handle) UnregisterDeviceNotification(m_handle);
}

void AdapterArrivalWatch::Start(HWND window)
{
    DEV_BROADCAST_DEVICEINTERFACE_A filter = {};
    filter.dbcc_size = sizeof filter;
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    std::memcpy(&filter.dbcc_classguid, &GUID_DEVINTERFACE_ADAPTER, sizeof filter.dbcc_classguid);
    m_handle = RegisterDeviceNotificationA(window, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
}

bool AdapterArrivalWatch::NamesAdapter(DWORD_PTR data)
{
    const auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(data);
    if (!header || header->dbch_devicetype != DBT_DEVTYP_DEVICEINTERFACE) return false;
    const auto* device = reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_A*>(header);
    return header->dbch_size >= offsetof(DEV_BROADCAST_DEVICEINTERFACE_A, dbcc_name) &&
           std::memcmp(&device->dbcc_classguid, &GUID_DEVINTERFACE_ADAPTER, sizeof device->dbcc_classguid) == 0;
}

// Posted on an arrival, so that the load runs in the window's own loop rather than inside
// the sender's message.
LRESULT CConfigDlg::OnAdapterArrived(WPARAM, LPARAM)
{
    if (m_bLoaded) {
        GetDlgItem(IDC_USB)->ShowWindow(SW_SHOW);
        return 0;
    }
    bool busy = false;
    m_link.CloseAdapter();
    if (!LoadUnderLock(busy)) {
        if (busy) Tell(AfxLoadString(IDS_ARRIVAL_BUSY), MB_OK | MB_ICONWARNING);
        return 0;
    }
    m_bAdapterPresent = TRUE;
    EnableEditing();
    ShowConfiguration();
    StartHistory();
    return 0;
}

void CConfigDlg::AdapterRemoved() { GetDlgItem(IDC_USB)->ShowWindow(SW_HIDE); }
