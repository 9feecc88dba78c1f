// What the application shell adds to the main window: the About item of the system menu
// and the items that save and open a copy of the whole configuration, the window icon, the
// minimised window's drawing, the marks of repeated keys, and the notice of an arriving device.
#include "AboutDlg.h"
#include "ConfigDlg.h"
#include "IconPlacement.h"
#include "resource.h"

#include <dbt.h>

void CConfigDlg::AddAboutItem()
{
    CMenu* systemMenu = GetSystemMenu(FALSE);
    if (systemMenu) {
        AddCopyItems(*systemMenu);
        CString aboutText;
        aboutText.LoadString(IDS_ABOUTBOX);
        if (!aboutText.IsEmpty()) {
            systemMenu->AppendMenu(MF_SEPARATOR);
            systemMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, aboutText);
        }
    }
    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
}

void CConfigDlg::OnSysCommand(UINT nID, LPARAM)
{
    switch (nID & 0xFFF0) {
    case IDM_ABOUTBOX: {
        CAboutDlg about;
        about.DoModal();
        break;
    }
    case IDM_SAVE_COPY:
        if (m_bLoaded) SaveCopy();
        break;
    case IDM_OPEN_COPY:
        if (m_bLoaded) OpenCopy();
        break;
    default: Default();
    }
}

void CConfigDlg::OnPaint()
{
    CPaintDC dc(this);
    if (!IsIconic()) {
        DrawRepeatedKeyMarks(dc.GetSafeHdc());
        return;
    }
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    RECT client;
    GetClientRect(&client);
    const POINT origin = CentredIconOrigin(client, GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON));
    dc.DrawIcon(origin.x, origin.y, m_hIcon);
}

HCURSOR CConfigDlg::OnQueryDragIcon() { return static_cast<HCURSOR>(m_hIcon); }

// The adapter's own arrival is handled after this message (a load takes a while); its
// removal hides the adapter picture.
BOOL CConfigDlg::OnDeviceChange(UINT nEventType, DWORD_PTR dwData)
{
    if (nEventType == DBT_DEVICEARRIVAL) {
        OutputDebugStringA("DBT_DEVICEARRIVAL\n");
        if (AdapterArrivalWatch::NamesAdapter(dwData)) ::PostMessageA(m_hWnd, kAdapterArrivedMessage, 0, 0);
    }
    if (nEventType == DBT_DEVICEREMOVECOMPLETE && AdapterArrivalWatch::NamesAdapter(dwData)) AdapterRemoved();
    return TRUE;
}
