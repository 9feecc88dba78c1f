// What the application shell adds to the main window: the About box from the system
// menu, device notices (the adapter plugged in late or removed), the minimised window's
// icon and the manifest's scale setting.
#include <algorithm>
#include <cctype>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "AboutDlg.h"
#include "ConfigDlgHarness.h"

#include <dbt.h>

#include "IconPlacement.h"
#include "KeyTable.h"

namespace {

bool IsAboutBox(HWND hWnd) { return dynamic_cast<CAboutDlg*>(CWnd::FromHandlePermanent(hWnd)) != nullptr; }

// Skips a string-or-number field of a dialog template.
const WORD* SkipTemplateField(const WORD* field)
{
    if (*field == 0xFFFF) return field + 2;
    while (*field++ != 0) {
    }
    return field;
}

// Position and size of the first control of a DIALOG template, as the program holds it.
std::vector<short> FirstControlOfTemplate(UINT id)
{
    HRSRC found = ::FindResourceA(nullptr, MAKEINTRESOURCEA(id), RT_DIALOG);
    const auto* dialog = static_cast<const DLGTEMPLATE*>(::LockResource(::LoadResource(nullptr, found)));
    const WORD* field = reinterpret_cast<const WORD*>(dialog + 1);
    for (int skipped = 0; skipped < 3; ++skipped) field = SkipTemplateField(field);  // menu, class, caption
    if (dialog->style & DS_SETFONT) field = SkipTemplateField(field + 1);          // point size, face
    const auto item = (reinterpret_cast<uintptr_t>(field) + 3) & ~uintptr_t{3};
    const auto* control = reinterpret_cast<const DLGITEMTEMPLATE*>(item);
    return {control->x, control->y, control->cx, control->cy};
}

TEST(AboutBoxTemplate, IconKeepsItsPlaceAndSize)
{
    EXPECT_EQ(FirstControlOfTemplate(IDD_ABOUTBOX), (std::vector<short>{11, 17, 21, 21}));
}

TEST_F(ConfigDlgTest, EverySystemCommandOfTheAboutItemOpensTheAboutBox)
{
    std::vector<WPARAM> commands;
    for (WPARAM command = 0x10; command <= 0x1F; ++command) commands.push_back(command);
    commands.push_back(0x10010);
    std::vector<WPARAM> opened;
    for (WPARAM command : commands) {
        script.Then([this, command] { ::PostMessageA(dialog.m_hWnd, WM_SYSCOMMAND, command, 0); })
            .Then([&opened, command, this] {
                HWND about = FindModalDialog();
                if (about != dialog.m_hWnd && IsAboutBox(about)) {
                    opened.push_back(command);
                    ::PostMessageA(about, WM_COMMAND, IDOK, 0);
                }
            });
    }
    script.Then([this] { Close(IDCANCEL); });
    Run();
    EXPECT_EQ(opened, commands);
}

TEST_F(ConfigDlgTest, SystemMenuEndsWithTheAboutItemAndOtherCommandsWorkAsUsual)
{
    script.Then([this] {
              HMENU menu = ::GetSystemMenu(dialog.m_hWnd, FALSE);
              const int count = ::GetMenuItemCount(menu);
              EXPECT_EQ(::GetMenuItemID(menu, count - 1), static_cast<UINT>(IDM_ABOUTBOX));
              EXPECT_EQ(::GetMenuState(menu, count - 2, MF_BYPOSITION) & MF_SEPARATOR, static_cast<UINT>(MF_SEPARATOR));
              ::PostMessageA(dialog.m_hWnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
          })
        .Then([this] {
            EXPECT_TRUE(::IsIconic(dialog.m_hWnd));
            EXPECT_EQ(FindModalDialog(), dialog.m_hWnd);
            EXPECT_EQ(::SendMessageA(dialog.m_hWnd, WM_QUERYDRAGICON, 0, 0),
                      ::SendMessageA(dialog.m_hWnd, WM_GETICON, ICON_BIG, 0));
            ::PostMessageA(dialog.m_hWnd, WM_SYSCOMMAND, SC_RESTORE, 0);
        })
        .Then([this] {
            EXPECT_FALSE(::IsIconic(dialog.m_hWnd));
            Close(IDCANCEL);
        });
    Run();
}

// Debugger output reaches the process as an exception that a vectored handler sees first.
std::vector<std::string> g_debugLines;
LONG CALLBACK CollectDebugOutput(EXCEPTION_POINTERS* exception)
{
    const EXCEPTION_RECORD& record = *exception->ExceptionRecord;
    if (record.ExceptionCode == DBG_PRINTEXCEPTION_C && record.NumberParameters >= 2)
        g_debugLines.emplace_back(reinterpret_cast<const char*>(record.ExceptionInformation[1]));
    return EXCEPTION_CONTINUE_SEARCH;
}

TEST_F(ConfigDlgTest, DeviceEventsAreAllGrantedAndOnlyAnArrivalIsReported)
{
    UseSlot(0, "Game");
    script.Then([this] {
        void* handler = ::AddVectoredExceptionHandler(1, CollectDebugOutput);
        g_debugLines.clear();
        for (WPARAM event : {0x8000, 0x8001, 0x8004, 0x0007})
            EXPECT_EQ(::SendMessageA(dialog.m_hWnd, WM_DEVICECHANGE, event, 0), TRUE) << event;
        ::RemoveVectoredExceptionHandler(handler);
        EXPECT_EQ(g_debugLines, std::vector<std::string>{"DBT_DEVICEARRIVAL\n"});
        EXPECT_EQ(ListCount(), 1);
        Close(IDCANCEL);
    });
    Run();
}

// A device event of the adapter's interface, as Windows sends it to a window that asked
// for the interface's class.
void SendAdapterEvent(HWND window, WPARAM event)
{
    DEV_BROADCAST_DEVICEINTERFACE_A notice = {};
    notice.dbcc_size = sizeof notice;
    notice.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    std::memcpy(&notice.dbcc_classguid, &GUID_DEVINTERFACE_ADAPTER, sizeof notice.dbcc_classguid);
    ::SendMessageA(window, WM_DEVICECHANGE, event, reinterpret_cast<LPARAM>(&notice));
}

TEST_F(ConfigDlgTest, AdapterArrivingLateIsLoadedAsAtStartUp)
{
    UseSlot(0, "First");
    UseSlot(3, "Active").keySlots[3] = KeyCodeFromName("Q");
    Header().activeProfile = 3;
    adapter.SetPresent(false);
    script
        .Then([&] {
            EXPECT_EQ(ListCount(), 0);
            adapter.SetPresent(true);
            SendAdapterEvent(dialog.m_hWnd, DBT_DEVICEARRIVAL);
        })
        .Then([&] {
            ASSERT_EQ(ListCount(), 2);
            EXPECT_EQ(ListSelection(), 1);
            EXPECT_EQ(ItemText(IDC_KEY_A), "Q");
            EXPECT_TRUE(RowShowsMark(List(), 1));
            for (int id : {IDC_ADD, IDC_DELETE, IDC_USE, IDOK}) EXPECT_TRUE(::IsWindowEnabled(Item(id))) << id;
            EXPECT_TRUE(::IsWindowVisible(Item(IDC_USB)));
            EXPECT_TRUE(dialog.m_bAdapterPresent);
            SetKeyBox(IDC_KEY_A, "W");
            Close(IDOK);
        });
    EXPECT_EQ(Run(), IDOK);
    EXPECT_EQ(Record(3).keySlots[3], KeyCodeFromName("W"));
}

// The load on arrival is where the history starts: the first edit after it can be undone.
TEST_F(ConfigDlgTest, AdapterArrivingLateStartsTheHistory)
{
    UseSlot(0, "First").keySlots[3] = KeyCodeFromName("Q");
    adapter.SetPresent(false);
    script
        .Then([&] {
            adapter.SetPresent(true);
            SendAdapterEvent(dialog.m_hWnd, DBT_DEVICEARRIVAL);
        })
        .Then([&] { ::PostMessageA(Item(IDC_AXIS_MODE), BM_CLICK, 0, 0); })
        .Then([&] {
            EXPECT_TRUE(Checked(IDC_AXIS_MODE));
            ::PostMessageA(dialog.m_hWnd, WM_COMMAND, ID_MENU_UNDO, 0);
        })
        .Then([&] {
            EXPECT_FALSE(Checked(IDC_AXIS_MODE));
            EXPECT_EQ(ItemText(IDC_KEY_A), "Q");
            Close(IDCANCEL);
        });
    Run();
}

// A loaded window only notes the arrival; a removal hides the adapter picture. The edits
// stay through both, and the adapter is not read again.
TEST_F(ConfigDlgTest, ArrivalAndRemovalKeepALoadedWindowsEdits)
{
    UseSlot(0, "Game");
    unsigned transfers = 0;
    script
        .Then([&] {
            SetKeyBox(IDC_KEY_A, "W");
            transfers = adapter.TransferCount();
            SendAdapterEvent(dialog.m_hWnd, DBT_DEVICEREMOVECOMPLETE);
            EXPECT_FALSE(::IsWindowVisible(Item(IDC_USB)));
            SendAdapterEvent(dialog.m_hWnd, DBT_DEVICEARRIVAL);
        })
        .Then([&] {
            EXPECT_EQ(adapter.TransferCount(), transfers);
            EXPECT_EQ(ListCount(), 1);
            EXPECT_EQ(ItemText(IDC_KEY_A), "W");
            EXPECT_TRUE(dialog.m_bModified);
            EXPECT_TRUE(::IsWindowVisible(Item(IDC_USB)));
            Close(IDCANCEL);
        });
    Run();
}

// The text of an element of the program's manifest, in lower case without spaces.
std::string ManifestSetting(const std::string& element)
{
    HRSRC found = ::FindResourceA(nullptr, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));  // RT_MANIFEST
    const std::string manifest(static_cast<const char*>(::LockResource(::LoadResource(nullptr, found))),
                               ::SizeofResource(nullptr, found));
    const size_t start = manifest.find('>', manifest.find("<" + element + " ")) + 1;
    std::string text;
    for (char c : manifest.substr(start, manifest.find('<', start) - start))
        if (c != ' ') text += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The first entry of dpiAwareness that a Windows knowing `known` takes.
std::string AwarenessTaken(const std::vector<std::string>& known)
{
    std::istringstream entries(ManifestSetting("dpiAwareness"));
    for (std::string entry; std::getline(entries, entry, ',');)
        if (std::find(known.begin(), known.end(), entry) != known.end()) return entry;
    return "none";
}

// Per monitor v1 rescales neither the controls nor their font, so every Windows must take
// per monitor v2 or the system's scale: before 10 1607 only dpiAware counts ("true/pm"
// would be per monitor v1 on 8.1), from 1607 on the first entry of dpiAwareness it knows.
TEST(Manifest, EveryWindowsScalesTheLayoutAndThePicturesAlike)
{
    EXPECT_EQ(ManifestSetting("dpiAware"), "true");
    EXPECT_EQ(AwarenessTaken({"unaware", "system", "permonitor"}), "system") << "Windows 10 1607";
    EXPECT_EQ(AwarenessTaken({"unaware", "system", "permonitor", "permonitorv2"}), "permonitorv2");
}

TEST(IconPlacement, IconIsCentredTruncatingTowardZero)
{
    const auto origin = [](int size) { return CentredIconOrigin(RECT{0, 0, size, size}, 32, 32); };
    EXPECT_EQ(origin(0).x, -15);
    EXPECT_EQ(origin(0).y, -15);
    EXPECT_EQ(origin(32).x, 0);
    EXPECT_EQ(origin(33).x, 1);
    EXPECT_EQ(origin(34).y, 1);
}

}  // namespace
