// Undo and redo through the real window: every kind of edit taken back and done again,
// exactly, with the list's changed marks and the line that counts what OK would write.
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <iostream>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "ConfigDlgHarness.h"
#include "KeyTable.h"
#include "ProfileFiles.h"
#include "ScratchFolder.h"

namespace {

constexpr int kKeyBoxIds[] = {IDC_KEY_FIRST, IDC_KEY_FIRST + 3, IDC_KEY_FIRST + 9, IDC_KEY_LAST, IDC_COMBO_KEY};

// Everything of the window that an edit can change, as the user sees it and as OK would
// write it.
struct WindowState {
    std::vector<uint8_t> image;
    std::vector<std::string> rows;
    std::vector<int> slots;
    int selection = -1;
    std::vector<std::string> keys;
    std::vector<bool> checks;
    int speed = 0;
    bool addEnabled = false;
    bool deleteEnabled = false;
    std::wstring pending;
    std::vector<std::vector<COLORREF>> rowPixels;  // empty when not looked at

    bool operator==(const WindowState& other) const
    {
        return image == other.image && rows == other.rows && slots == other.slots && selection == other.selection &&
               keys == other.keys && checks == other.checks && speed == other.speed &&
               addEnabled == other.addEnabled && deleteEnabled == other.deleteEnabled && pending == other.pending &&
               rowPixels == other.rowPixels;
    }
};

// What differs, for a failure's message.
std::string Differences(const WindowState& expected, const WindowState& actual)
{
    std::string told;
    const auto note = [&told](bool same, const char* what) { if (!same) told += std::string(what) + " "; };
    note(expected.image == actual.image, "image");
    note(expected.rows == actual.rows && expected.slots == actual.slots, "rows");
    note(expected.selection == actual.selection, "selection");
    note(expected.keys == actual.keys, "key boxes");
    note(expected.checks == actual.checks, "check boxes and radio buttons");
    note(expected.speed == actual.speed, "speed");
    note(expected.addEnabled == actual.addEnabled && expected.deleteEnabled == actual.deleteEnabled, "buttons");
    note(expected.pending == actual.pending, "pending line");
    note(expected.rowPixels == actual.rowPixels, "drawn rows");
    return told;
}

// The pixels of a rectangle of a window's client area, as drawn on screen, copied at once.
std::vector<COLORREF> PixelsOf(HWND hWnd, const RECT& rect)
{
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) return {};
    BITMAPINFO format = {};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -height;  // top-down rows
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC window = ::GetDC(hWnd);
    HDC memory = ::CreateCompatibleDC(window);
    HBITMAP bitmap = ::CreateDIBSection(window, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
    const HGDIOBJ previous = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, width, height, window, rect.left, rect.top, SRCCOPY);
    ::GdiFlush();
    const auto* first = static_cast<const COLORREF*>(bits);
    std::vector<COLORREF> pixels(first, first + static_cast<size_t>(width) * height);
    ::SelectObject(memory, previous);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(hWnd, window);
    return pixels;
}

class UndoTest : public ConfigDlgTest {
protected:
    UndoTest()
    {
        UseSlot(0, "Alpha").keySlots[3] = KeyCodeFromName("J");
        ProfileRecord& racing = UseSlot(2, "Racing");
        racing.keptByte42 = 0x5A;
        for (size_t at = 0; at < sizeof racing.keptTail; ++at) racing.keptTail[at] = static_cast<uint8_t>(0xA0 + at);
        UseSlot(3, "Delta").keySlots[4] = KeyCodeFromName("L");
        Header().activeProfile = 0;
        loadedMemory.assign(adapter.Memory(), adapter.Memory() + kImageSize);
        AfxSetResourceLanguage(kEnglishLanguage);  // the texts compared are the English ones
    }
    ~UndoTest() override { AfxSetResourceLanguage(m_interfaceLanguage); }

    void ClickButton(int id) { ClickAt(Item(id)); }
    void ClickRow(int row) { ClickAt(List(), ListRowCentre(List(), row)); }
    void Command(int id) { ::PostMessageA(dialog.m_hWnd, WM_COMMAND, id, 0); }
    void Undo() { Command(ID_MENU_UNDO); }
    void Redo() { Command(ID_MENU_REDO); }
    void PressInto(int id, UINT key)
    {
        ::SetFocus(Item(id));
        PressKey(key);
    }
    void AnswerName(const std::string& name)
    {
        HWND names = FindModalDialog();
        ASSERT_NE(names, dialog.m_hWnd);
        ::SetWindowTextA(::GetDlgItem(names, IDC_GAME_NAME), name.c_str());
        ::PostMessageA(names, WM_COMMAND, IDOK, 0);
    }
    // A chord pressed with Ctrl (and Shift) held, as the key state shows it meanwhile.
    void PressWithControl(UINT key, bool shift = false)
    {
        HoldControl(true, shift);
        PressKey(key);
    }
    void HoldControl(bool held, bool shift = false)
    {
        BYTE keys[256];
        ::GetKeyboardState(keys);
        keys[VK_CONTROL] = held ? 0x80 : 0;
        keys[VK_SHIFT] = held && shift ? 0x80 : 0;
        ::SetKeyboardState(keys);
    }
    int Speed() const { return static_cast<int>(::SendMessageA(Item(IDC_SPEED), TBM_GETPOS, 0, 0)); }
    std::wstring Pending() const { return ShownTextOf(Item(IDC_PENDING_WRITES)); }

    // The list menu's item `id`: its text and whether it is greyed, read while it is open.
    struct MenuItem {
        std::wstring text;
        bool greyed = false;
    };
    static MenuItem ReadMenuItem(UINT id)
    {
        HMENU menu = reinterpret_cast<HMENU>(::SendMessageA(::FindWindowA("#32768", nullptr), MN_GETHMENU, 0, 0));
        wchar_t text[128] = {};
        ::GetMenuStringW(menu, id, text, 128, MF_BYCOMMAND);
        return {text, (::GetMenuState(menu, id, MF_BYCOMMAND) & MF_GRAYED) != 0};
    }

    // Whether a row shows anything but its background at its right end, where the
    // changed mark is drawn (the names here are short).
    bool RowEndShowsMark(int row)
    {
        RECT rect = {};
        ::SendMessageA(List(), LB_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rect));
        ::InvalidateRect(List(), nullptr, TRUE);
        ::UpdateWindow(List());
        const COLORREF background = PixelsOf(List(), {rect.right - 1, rect.top, rect.right, rect.top + 1})[0];
        rect.left = rect.right - (rect.right - rect.left) / 4;
        for (COLORREF pixel : PixelsOf(List(), rect))
            if (pixel != background) return true;
        return false;
    }

    // The window's state. The image is the one OK would write: the shown profile's edits
    // stored first, as OK does. With `drawn`, every row's pixels, each scrolled into view
    // and drawn with the focus on the list.
    WindowState State(bool drawn)
    {
        WindowState state;
        for (int id : kKeyBoxIds) state.keys.push_back(ItemText(id));
        for (int id = IDC_COMBO_FIRST; id <= IDC_MIDDLE_FIRST + kPadButtonCount - 1; ++id) state.checks.push_back(Checked(id));
        state.checks.push_back(Checked(IDC_AXIS_MODE));
        state.speed = Speed();
        dialog.StoreAndShow();
        state.image = dialog.m_link.Image();
        for (int row = 0; row < ListCount(); ++row) {
            state.rows.push_back(ListText(row));
            state.slots.push_back(static_cast<int>(::SendMessageA(List(), LB_GETITEMDATA, row, 0)));
        }
        state.selection = ListSelection();
        state.addEnabled = ::IsWindowEnabled(Item(IDC_ADD));
        state.deleteEnabled = ::IsWindowEnabled(Item(IDC_DELETE));
        state.pending = Pending();
        if (drawn) {
            ::SetFocus(List());
            for (int row = 0; row < ListCount(); ++row) {
                ::SendMessageA(List(), LB_SETTOPINDEX, row, 0);
                RECT rect = {};
                ::SendMessageA(List(), LB_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rect));
                ::InvalidateRect(List(), nullptr, TRUE);
                ::UpdateWindow(List());
                state.rowPixels.push_back(PixelsOf(List(), rect));
            }
            ::SendMessageA(List(), LB_SETTOPINDEX, 0, 0);
        }
        return state;
    }

    std::vector<uint8_t> loadedMemory;
    const LANGID m_interfaceLanguage = AfxGetResourceLanguage();
};

TEST_F(UndoTest, EachKindOfControlEditIsOneStepTakenBackAndDoneAgainExactly)
{
    WindowState loaded;
    WindowState edited;
    script.Then([&] { loaded = State(true); })
        .Then([&] { PressInto(IDC_KEY_A, 'K'); })
        .Then([&] {
            EXPECT_EQ(ItemText(IDC_KEY_A), "K");
            ClickButton(IDC_AXIS_MODE);
            ClickButton(IDC_COMBO_FIRST + kPadX);
            ClickButton(IDC_LEFT_FIRST + kPadY);
            PressInto(IDC_COMBO_KEY, 'M');
        })
        .Then([&] {
            edited = State(true);
            for (int step = 0; step < 5; ++step) Undo();
        })
        .Then([&] {
            EXPECT_EQ(State(true), loaded) << Differences(loaded, State(true));
            for (int step = 0; step < 5; ++step) Redo();
        })
        .Then([&] {
            EXPECT_EQ(State(true), edited) << Differences(edited, State(true));
            Undo();
            Undo();
        })
        .Then([&] {
            EXPECT_EQ(ItemText(IDC_COMBO_KEY), "");
            EXPECT_FALSE(Checked(IDC_LEFT_FIRST + kPadY));
            EXPECT_TRUE(Checked(IDC_COMBO_FIRST + kPadX));
            EXPECT_EQ(ItemText(IDC_KEY_A), "K");
            Close(IDOK);
        });
    EXPECT_EQ(Run(), IDOK);
    EXPECT_EQ(Record(0).keySlots[3], KeyCodeFromName("K"));
    EXPECT_EQ(Record(0).comboButtons, (1u << kPadL1) | (1u << kPadX));
    EXPECT_EQ(Record(0).mouseButtons[kMouseLeft], kPadA);
}

// A run of arrow keys on the slider is one step, ended by the key's release or by the next
// press elsewhere.
TEST_F(UndoTest, SliderGestureIsOneStep)
{
    script
        .Then([&] {
            ::SetFocus(Item(IDC_SPEED));
            for (int press = 0; press < 3; ++press)
                ::PostMessageA(Item(IDC_SPEED), WM_KEYDOWN, VK_RIGHT, 1 | (1 << 30));
            ::PostMessageA(Item(IDC_SPEED), WM_KEYUP, VK_RIGHT, 1u | (3u << 30));
        })
        .Then([&] {
            EXPECT_EQ(Speed(), 43);
            ::PostMessageA(Item(IDC_SPEED), WM_KEYDOWN, VK_LEFT, 1);  // held: no release yet
        })
        .Then([&] {
            EXPECT_EQ(Speed(), 42);
            ClickButton(IDC_RIGHT_FIRST + kPadB);
        })
        .Then([&] { Undo(); })
        .Then([&] {
            EXPECT_FALSE(Checked(IDC_RIGHT_FIRST + kPadB));
            EXPECT_EQ(Speed(), 42);
            Undo();
        })
        .Then([&] {
            EXPECT_EQ(Speed(), 43);
            Undo();
        })
        .Then([&] {
            EXPECT_EQ(Speed(), 40);
            Close(IDCANCEL);
        });
    Run();
}

TEST_F(UndoTest, ChordsUndoAndRedoWhereverTheFocusIsAndNeverEnterAKeyBox)
{
    script.Then([&] { PressInto(IDC_KEY_A, 'K'); })
        .Then([&] {
            ::SetFocus(Item(IDC_KEY_B));
            PressWithControl('Z');
        })
        .Then([&] {
            HoldControl(false);
            EXPECT_EQ(ItemText(IDC_KEY_A), "J");
            EXPECT_EQ(ItemText(IDC_KEY_B), "");
            ::SetFocus(List());
            PressWithControl('Y');
        })
        .Then([&] {
            HoldControl(false);
            EXPECT_EQ(ItemText(IDC_KEY_A), "K");
            EXPECT_EQ(ListSelection(), 0);
            ::SetFocus(Item(IDC_SPEED));
            PressWithControl('Z');
        })
        .Then([&] {
            HoldControl(false);
            EXPECT_EQ(ItemText(IDC_KEY_A), "J");
            EXPECT_EQ(Speed(), 40);
            ::SetFocus(Item(IDC_KEY_B));
            PressWithControl('Z', true);
        })
        .Then([&] {
            HoldControl(false);
            EXPECT_EQ(ItemText(IDC_KEY_A), "K");
            EXPECT_EQ(ItemText(IDC_KEY_B), "");
            Close(IDCANCEL);
        });
    Run();
}

TEST_F(UndoTest, MenuNamesTheStepsAndGreysWhatCannotBeDone)
{
    MenuItem undo;
    MenuItem redo;
    const auto readMenu = [&] {
        undo = ReadMenuItem(ID_MENU_UNDO);
        redo = ReadMenuItem(ID_MENU_REDO);
        ::EndMenu();
    };
    script.Then([&] { RightClickAt(List(), ListRowCentre(List(), 0)); })
        .Then(readMenu)
        .Then([&] {
            EXPECT_TRUE(undo.greyed);
            EXPECT_TRUE(redo.greyed);
            PressInto(IDC_KEY_A, 'K');
        })
        .Then([&] { ClickRow(1); })
        .Then([&] { Command(ID_MENU_DELETE); })
        .Then([&] { RightClickAt(List(), ListRowCentre(List(), 0)); })
        .Then(readMenu)
        .Then([&] {
            EXPECT_EQ(undo.text, L"Undo Delete \"Racing\"\tCtrl+Z");
            EXPECT_FALSE(undo.greyed);
            EXPECT_TRUE(redo.greyed);
            Undo();
        })
        .Then([&] { RightClickAt(List(), ListRowCentre(List(), 0)); })
        .Then(readMenu)
        .Then([&] {
            EXPECT_EQ(undo.text, L"Undo key K\tCtrl+Z");
            EXPECT_EQ(redo.text, L"Redo Delete \"Racing\"\tCtrl+Y");
            EXPECT_FALSE(redo.greyed);
            Close(IDCANCEL);
        });
    Run();
}

TEST_F(UndoTest, NewEditAfterUndoDropsTheStepsThatCouldBeRedone)
{
    script.Then([&] { PressInto(IDC_KEY_A, 'K'); })
        .Then([&] { PressInto(IDC_KEY_B, 'M'); })
        .Then([&] { PressInto(IDC_KEY_X, 'N'); })
        .Then([&] {
            Undo();
            Undo();
        })
        .Then([&] {
            EXPECT_EQ(ItemText(IDC_KEY_B), "");
            ClickButton(IDC_AXIS_MODE);
        })
        .Then([&] {
            Redo();
            Redo();
        })
        .Then([&] {
            EXPECT_TRUE(Checked(IDC_AXIS_MODE));
            EXPECT_EQ(ItemText(IDC_KEY_B), "");
            EXPECT_EQ(ItemText(IDC_KEY_X), "");
            Undo();
        })
        .Then([&] {
            EXPECT_FALSE(Checked(IDC_AXIS_MODE));
            EXPECT_EQ(ItemText(IDC_KEY_A), "K");
            Close(IDOK);
        });
    Run();
    EXPECT_EQ(Record(0).axisMode, 0);
    EXPECT_EQ(Record(0).keySlots[3], KeyCodeFromName("K"));
    EXPECT_EQ(Record(0).keySlots[4], 0);
}

// The record's bytes that the window never writes come back with the profile.
TEST_F(UndoTest, DeletedAndRestoredProfileKeepsTheBytesTheWindowNeverWrites)
{
    const ProfileRecord racingBefore = Record(2);
    script.Then([&] { ClickRow(1); })
        .Then([&] { PressInto(IDC_KEY_A, 'K'); })
        .Then([&] { Command(ID_MENU_DELETE); })
        .Then([&] {
            EXPECT_EQ(ListCount(), 2);
            Undo();
        })
        .Then([&] {
            ASSERT_EQ(ListCount(), 3);
            EXPECT_EQ(ListText(1), "Racing");
            EXPECT_EQ(ListSelection(), 1);
            EXPECT_EQ(ItemText(IDC_KEY_A), "K");
            EXPECT_TRUE(::IsWindowEnabled(Item(IDC_DELETE)));
            Close(IDOK);
        });
    EXPECT_EQ(Run(), IDOK);
    EXPECT_EQ(Header().used[2], kSlotUsed);
    EXPECT_EQ(Record(2).keptByte42, racingBefore.keptByte42);
    EXPECT_EQ(std::memcmp(Record(2).keptTail, racingBefore.keptTail, sizeof racingBefore.keptTail), 0);
    EXPECT_EQ(Record(2).keySlots[3], KeyCodeFromName("K"));
}

TEST_F(UndoTest, ChangedRowsAreMarkedAndCountedUntilUndoBringsThemBack)
{
    script
        .Then([&] {
            EXPECT_EQ(Pending(), L"OK will write nothing");
            EXPECT_FALSE(RowEndShowsMark(1));
            ClickRow(1);
        })
        .Then([&] { PressInto(IDC_KEY_A, 'K'); })
        .Then([&] {
            EXPECT_EQ(Pending(), L"OK will write: 1 changed");
            ClickRow(2);
        })
        .Then([&] { Command(ID_MENU_DELETE); })
        .Then([&] { ClickButton(IDC_ADD); })
        .Then([&] { AnswerName("Newer"); })
        .Then([&] {
            EXPECT_EQ(Pending(), L"OK will write: 1 changed, 1 added, 1 deleted");
            ClickRow(0);
        })
        .Then([&] {
            EXPECT_TRUE(RowEndShowsMark(1));   // Racing, changed
            EXPECT_TRUE(RowEndShowsMark(2));   // Newer, added
            EXPECT_EQ(ListText(1), "Racing");  // the mark is drawn, not written into the name
            Undo();
            Undo();
        })
        .Then([&] {
            EXPECT_EQ(Pending(), L"OK will write: 1 changed");
            ClickButton(IDC_USE);
        })
        .Then([&] {
            EXPECT_EQ(Pending(), L"OK will write: 1 changed, active profile");
            Undo();
            Undo();
        })
        .Then([&] {
            EXPECT_EQ(Pending(), L"OK will write nothing");
            ClickRow(0);
        })
        .Then([&] {
            EXPECT_FALSE(RowEndShowsMark(1));
            Close(IDCANCEL);
        });
    Run();
}

TEST_F(UndoTest, FailedOkKeepsTheHistory)
{
    WindowState loaded;
    script.Then([&] { loaded = State(false); })
        .Then([&] { PressInto(IDC_KEY_A, 'K'); })
        .Then([&] {
            adapter.FailTransfer(adapter.TransferCount() + 1);
            Close(IDOK);
        })
        .Then([&] { AnswerMessageBox(IDOK); })
        .Then([&] { Undo(); })
        .Then([&] {
            EXPECT_EQ(State(false), loaded) << Differences(loaded, State(false));
            Redo();
        })
        .Then([&] {
            EXPECT_EQ(ItemText(IDC_KEY_A), "K");
            Close(IDOK);
        });
    EXPECT_EQ(Run(), IDOK);
    EXPECT_EQ(Record(0).keySlots[3], KeyCodeFromName("K"));
}

// After an OK that wrote nothing, the marks and the count compare with what the adapter
// held when OK read it: here another program's rename of a profile that the window keeps.
TEST_F(UndoTest, OkThatWritesNothingComparesWithWhatItRead)
{
    script.Then([&] { PressInto(IDC_KEY_A, 'K'); })
        .Then([&] {
            std::strncpy(Record(3).name, "Theirs", kNameBytes - 1);
            Close(IDOK);
        })
        .Then([&] { AnswerMessageBox(IDNO); })
        .Then([&] {
            EXPECT_EQ(Pending(), L"OK will write: 2 changed");
            EXPECT_TRUE(RowEndShowsMark(2));  // Delta, as the window holds it
            Close(IDCANCEL);
        });
    Run();
}

// A seeded random session of every kind of edit and move through the list: undone
// whole, it leaves the window as loaded and OK writes nothing; redone whole, it leaves
// the window as it was before the undos. VANTOR_UNDO_SEED gives another seed.
class RandomSession : public UndoTest {
protected:
    enum Kind { kKey, kAxis, kSpeed, kRadio, kCombination, kAdd, kModify, kDelete, kUse, kImport, kOpenCopy,
                kSelect, kUndoRedo, kKindCount };

    RandomSession()
    {
        const char* given = std::getenv("VANTOR_UNDO_SEED");
        seed = given ? static_cast<unsigned>(std::strtoul(given, nullptr, 10)) : 20261209u;
        random.seed(seed);
        std::cout << "random session seed " << seed << std::endl;
        std::vector<uint8_t> image(adapter.Memory(), adapter.Memory() + kImageSize);
        std::strncpy(RecordOfSlot(image.data(), 0)->name, "Imported", kNameBytes - 1);
        std::ofstream(profileFile, std::ios::binary) << ProfileFileText(image.data(), {0});
        std::strncpy(RecordOfSlot(image.data(), 3)->name, "From copy", kNameBytes - 1);
        std::ofstream(copyFile, std::ios::binary).write(reinterpret_cast<const char*>(image.data()), kImageSize);
    }

    int Pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random); }

    // A kind drawn with weights that keep the list from filling up and the copy rare.
    Kind Draw()
    {
        static constexpr int kWeights[kKindCount] = {8, 2, 3, 4, 3, 2, 2, 2, 2, 1, 1, 4, 2};
        return static_cast<Kind>(std::discrete_distribution<int>(std::begin(kWeights), std::end(kWeights))(random));
    }

    // Does one action of `kind`; `follow` answers the dialog it opens, if any.
    void Act(Kind kind, std::function<void()>& follow)
    {
        follow = [] {};
        const int row = ListCount() > 0 ? Pick(ListCount()) : -1;
        const std::string name = "P" + std::to_string(++names);
        switch (kind) {
        case kKey: PressInto(kKeyBoxIds[Pick(5)], 'A' + Pick(26)); break;
        case kAxis: ClickButton(IDC_AXIS_MODE); break;
        case kSpeed: PressSpeedKeys(); break;
        case kRadio: ClickButton(IDC_RIGHT_FIRST + Pick(3 * kPadButtonCount)); break;
        case kCombination: ClickButton(IDC_COMBO_FIRST + Pick(kPadButtonCount)); break;
        case kAdd:
            ClickButton(IDC_ADD);
            follow = [this, name] { AnswerName(name); };
            break;
        case kModify:
            if (ListSelection() == LB_ERR) break;
            Command(ID_MENU_MODIFY);
            follow = [this, name] { AnswerName(name); };
            break;
        case kDelete: Command(ID_MENU_DELETE); break;
        case kUse: ClickButton(IDC_USE); break;
        case kImport:
            dialog.m_nextFileName = profileFile;
            Command(ID_MENU_IMPORT);
            break;
        case kOpenCopy:
            dialog.m_nextFileName = copyFile;
            ::PostMessageA(dialog.m_hWnd, WM_SYSCOMMAND, IDM_OPEN_COPY, 0);
            follow = [this] { AnswerMessageBox(IDYES); };
            break;
        case kSelect:
            if (row >= 0) ClickRow(row);
            break;
        case kUndoRedo: UndoAndRedo(follow); break;
        case kKindCount: break;
        }
    }

    void PressSpeedKeys()
    {
        ::SetFocus(Item(IDC_SPEED));
        const UINT key = Pick(2) ? VK_RIGHT : VK_LEFT;
        for (int press = Pick(4); press >= 0; --press) ::PostMessageA(Item(IDC_SPEED), WM_KEYDOWN, key, 1);
        ::PostMessageA(Item(IDC_SPEED), WM_KEYUP, key, 1u | (3u << 30));
    }

    // Some steps back and forth again in the middle: the window as it was.
    void UndoAndRedo(std::function<void()>& follow)
    {
        const int steps = 1 + Pick(3);
        const WindowState before = State(false);
        for (int step = 0; step < steps; ++step) Undo();
        follow = [this, steps, before] {
            for (int step = 0; step < steps; ++step) Redo();
            checkAfterRedo = before;
        };
    }

    unsigned seed = 0;
    std::mt19937 random;
    int names = 0;
    ScratchFolder folder;
    std::string profileFile = folder.Path("one.json");
    std::string copyFile = folder.Path("copy.bin");
    std::optional<WindowState> checkAfterRedo;
};

TEST_F(RandomSession, UndoneWholeItIsTheLoadAndRedoneWholeItIsTheEdits)
{
    constexpr int kActions = 200;
    const std::string counted = folder.Path("write-packets.txt");
    ASSERT_TRUE(adapter.CountWritePacketsIn(counted));
    WindowState loaded;
    WindowState edited;
    std::vector<int> kinds(kKindCount, 0);
    std::function<void()> follow;
    script.Then([&] {
        loaded = State(true);
        PressInto(IDC_KEY_A, 'K');  // an edit before any move: the load is the first state
    });
    for (int action = 0; action < kActions; ++action) {
        script.Then([&] {
            if (checkAfterRedo) {
                EXPECT_EQ(State(false), *checkAfterRedo) << Differences(*checkAfterRedo, State(false));
                checkAfterRedo.reset();
            }
            const Kind kind = Draw();
            ++kinds[kind];
            Act(kind, follow);
        });
        script.Then([&] { follow(); });
    }
    script
        .Then([&] {
            edited = State(true);
            for (int step = 0; step < 2 * kActions; ++step) Undo();
        })
        .Then([&] {
            EXPECT_EQ(State(true), loaded) << Differences(loaded, State(true));
            for (int step = 0; step < 2 * kActions; ++step) Redo();
        })
        .Then([&] {
            EXPECT_EQ(State(true), edited) << Differences(edited, State(true));
            for (int step = 0; step < 2 * kActions; ++step) Undo();
        })
        .Then([&] { Close(IDOK); });
    EXPECT_EQ(Run(), IDOK);
    std::cout << "random session seed " << seed << ", " << kActions + 1 << " actions:";
    for (int kind = 0; kind < kKindCount; ++kind) {
        std::cout << " " << kinds[kind];
        EXPECT_GT(kinds[kind], 0) << "kind " << kind << " never drawn";
    }
    std::cout << std::endl;
    std::ifstream packets(counted);
    int written = -1;
    packets >> written;
    EXPECT_EQ(written, 0);
    EXPECT_EQ(std::vector<uint8_t>(adapter.Memory(), adapter.Memory() + kImageSize), loadedMemory);
}

}  // namespace
