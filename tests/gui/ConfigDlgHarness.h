// The main window on an emulated adapter, opened in tests through its real modal loop.
#pragma once

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ConfigDlg.h"
#include "EmulatedAdapter.h"
#include "KeyTable.h"
#include "FakeLayouts.h"
#include "GuiInput.h"
#include "ModalScript.h"
#include "SwitchedLock.h"
#include "Win32KeyboardLayout.h"
#include "resource.h"

// The main window with its state open to the tests, the logo's web address counted
// instead of handed to a browser, and file names given instead of asked for.
class TestConfigDlg : public CConfigDlg {
public:
    using CConfigDlg::CConfigDlg;
    using CConfigDlg::m_bAdapterPresent;
    using CConfigDlg::m_bModified;
    using CConfigDlg::m_link;
    using CConfigDlg::m_listProfiles;
    using CConfigDlg::m_nShownItem;
    using CConfigDlg::m_sliderSpeed;
    using CConfigDlg::OnDeviceChange;

    int m_nWebAddressOpened = 0;
    bool m_bHighContrast = false;  // what the window learns of the system's setting
    // What the next Save or Open dialog gives; empty, the dialog is cancelled.
    std::filesystem::path m_nextFileName;
    // Each reason the window gave Windows for holding the session's end; empty when it
    // lifted it.
    std::vector<std::wstring> m_sessionEndReasons;

protected:
    void OpenWebAddress() override { ++m_nWebAddressOpened; }
    bool HighContrastOn() const override { return m_bHighContrast; }
    bool AskFileName(FileKind, bool, SystemPath& path) override
    {
        path = m_nextFileName.native();
        return !path.empty();
    }
    void SetSessionEndReason(const wchar_t* reason) override { m_sessionEndReasons.push_back(reason ? reason : L""); }
};

// The emulated adapter, counting the calls that reach it while the lock is not held.
class LockWatchedAdapter : public EmulatedAdapter {
public:
    explicit LockWatchedAdapter(const SwitchedLock& lock) : m_lock(lock) {}
    int callsUnlocked = 0;

    AdapterHandle OpenInterface(const InterfaceGuid& guid, unsigned index) override
    {
        Watch();
        return EmulatedAdapter::OpenInterface(guid, index);
    }
    bool Write(AdapterHandle handle, const uint8_t* data, size_t size, size_t* done) override
    {
        Watch();
        return EmulatedAdapter::Write(handle, data, size, done);
    }
    bool Read(AdapterHandle handle, uint8_t* data, size_t size, size_t* done) override
    {
        Watch();
        return EmulatedAdapter::Read(handle, data, size, done);
    }

private:
    void Watch() { callsUnlocked += m_lock.held ? 0 : 1; }

    const SwitchedLock& m_lock;
};

// The system's keyboard layout, or a fake one that a test puts in its place.
class SwitchedLayout : public KeyboardLayout {
public:
    const KeyboardLayout* fake = nullptr;

    uint8_t VirtualKeyAt(uint16_t position) const override { return InUse().VirtualKeyAt(position); }
    uint16_t PositionOf(uint8_t virtualKey) const override { return InUse().PositionOf(virtualKey); }
    std::wstring CharacterOf(uint8_t virtualKey) const override { return InUse().CharacterOf(virtualKey); }

private:
    const KeyboardLayout& InUse() const { return fake ? *fake : m_system; }

    Win32KeyboardLayout m_system;
};

class ConfigDlgTest : public ::testing::Test {
protected:
    // The window asks `dpiForWindow` for its scale (the system's GetDpiForWindow by default).
    // Its adapter allows one open handle, as some drivers do.
    explicit ConfigDlgTest(DpiForWindowFunction dpiForWindow = SystemDpiForWindow())
        : dialog{adapter, lock, layout, nullptr, dpiForWindow}
    {
        TestApp().m_pMainWnd = &dialog;
        adapter.AllowOneOpenHandle();
    }
    // The window holds the lock for every load and save.
    ~ConfigDlgTest() override
    {
        TestApp().m_pMainWnd = nullptr;
        EXPECT_EQ(adapter.callsUnlocked, 0);
    }

    ProfileRecord& Record(int slot) { return *RecordOfSlot(adapter.Memory(), slot); }
    ImageHeader& Header() { return HeaderOfImage(adapter.Memory()); }

    // A used slot holding a profile with plain settings: speed 40, the mouse buttons on
    // L1, A and B, the combination L1 without a key.
    ProfileRecord& UseSlot(int slot, const char* name)
    {
        ProfileRecord& record = Record(slot);
        std::strncpy(record.name, name, kNameBytes - 1);
        record.speed = 40;
        record.mouseButtons[kMouseRight] = kPadL1;
        record.mouseButtons[kMouseLeft] = kPadA;
        record.mouseButtons[kMouseMiddle] = kPadB;
        record.comboButtons = 1;
        Header().used[slot] = kSlotUsed;
        return record;
    }

    INT_PTR Run() { return script.Run(dialog); }

    HWND Item(int id) const { return ::GetDlgItem(dialog.m_hWnd, id); }
    std::string ItemText(int id) const { return TextOf(Item(id)); }
    std::wstring ShownItemText(int id) const { return ShownTextOf(Item(id)); }
    bool Checked(int id) const { return ::IsDlgButtonChecked(dialog.m_hWnd, id) == BST_CHECKED; }
    HWND List() const { return Item(IDC_PROFILE_LIST); }
    int ListCount() const { return static_cast<int>(::SendMessageA(List(), LB_GETCOUNT, 0, 0)); }
    int ListSelection() const { return static_cast<int>(::SendMessageA(List(), LB_GETCURSEL, 0, 0)); }
    std::string ListText(int row) const
    {
        char text[64] = {};
        ::SendMessageA(List(), LB_GETTEXT, row, reinterpret_cast<LPARAM>(text));
        return text;
    }
    // Presses the key that the table names `name` into a key box, as a person would: its
    // press and release pass the window's PreTranslateMessage at once.
    void SetKeyBox(int id, const char* name)
    {
        for (const KeyEntry& row : KeyTable) {
            if (std::strcmp(row.name, name) != 0) continue;
            PressInto(id, row.position, row.virtualKey);
            return;
        }
        ADD_FAILURE() << "no key named " << name;
    }
    void PressInto(int id, uint16_t position, UINT virtualKey)
    {
        const bool system = virtualKey == VK_MENU || virtualKey == VK_F10;
        const UINT downMessage = system ? WM_SYSKEYDOWN : WM_KEYDOWN, upMessage = system ? WM_SYSKEYUP : WM_KEYUP;
        MSG down = {Item(id), downMessage, virtualKey, KeyMessageParam(position, false), 0, {}};
        MSG up = {Item(id), upMessage, virtualKey, KeyMessageParam(position, true), 0, {}};
        for (MSG* message : {&down, &up})
            if (!dialog.PreTranslateMessage(message)) ::DispatchMessageW(message);
    }
    void Close(int id) { ::PostMessageA(dialog.m_hWnd, WM_COMMAND, id, 0); }
    // Answers the message box over the window with `button`; its texts. No box waits for
    // the user while the window holds the lock: another program may use the adapter.
    std::wstring AnswerMessageBox(int button)
    {
        HWND box = FindModalDialog();
        if (!box || box == dialog.m_hWnd) {
            ADD_FAILURE() << "no message box";
            return {};
        }
        EXPECT_FALSE(lock.held);
        EXPECT_EQ(adapter.OpenHandleCount(), 0u) << "the window holds the adapter open only while it talks to it";
        const std::wstring texts = ChildTexts(box);
        ::PostMessageA(box, WM_COMMAND, button, 0);
        return texts;
    }

    SwitchedLock lock;
    LockWatchedAdapter adapter{lock};
    SwitchedLayout layout;
    TestConfigDlg dialog;
    ModalScript script;
};
