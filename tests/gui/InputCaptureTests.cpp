// Key capture in the key boxes and the gating of clicks, through the real modal loop:
// posted input passes PreTranslateMessage as real input does.
#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "ConfigDlgHarness.h"
#include "KeyTable.h"

#include <imm.h>

namespace {

class InputCaptureTest : public ConfigDlgTest {
protected:
    InputCaptureTest()
    {
        UseSlot(0, "Game");
        UseSlot(1, "Other");
        Header().activeProfile = 0;
    }
    void Focus(int id) { ::SetFocus(Item(id)); }
    HWND Focused() const { return ::GetFocus(); }
    POINT CentreInDialog(int id) const
    {
        RECT rect;
        ::GetWindowRect(Item(id), &rect);
        POINT centre = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
        ::ScreenToClient(dialog.m_hWnd, &centre);
        return centre;
    }
    // Any visible pop-up menu of this process.
    static bool MenuIsOpen()
    {
        HWND menu = ::FindWindowA("#32768", nullptr);
        return menu && ::IsWindowVisible(menu);
    }
};

TEST_F(InputCaptureTest, KeyNameFillsTheBoxAndTheFocusMovesOn)
{
    script.Then([this] {
              Focus(IDC_KEY_A);
              PressKey('Q');
          })
        .Then([this] {
            EXPECT_EQ(ItemText(IDC_KEY_A), "Q");
            EXPECT_EQ(Focused(), Item(IDC_KEY_B));
            EXPECT_TRUE(dialog.m_bModified);
            PressKey('Q');
        })
        .Then([this] {
            EXPECT_EQ(ItemText(IDC_KEY_B), "Q");
            Focus(IDC_KEY_STICK_DOWN);
            PressKey('W');
        })
        .Then([this] {
            EXPECT_EQ(ItemText(IDC_KEY_STICK_DOWN), "W");
            EXPECT_EQ(Focused(), List());
            Focus(IDC_COMBO_KEY);
            PressKey(VK_F5);
        })
        .Then([this] {
            EXPECT_EQ(ItemText(IDC_COMBO_KEY), "F5");
            // The next tab stop in template order: the checked button of the left mouse
            // row, as the system gives a checked radio button a tab stop.
            EXPECT_EQ(Focused(), Item(IDC_LEFT_FIRST + kPadA)) << ::GetDlgCtrlID(Focused());
            Close(IDCANCEL);
        });
    Run();
}

TEST_F(InputCaptureTest, EnterEscBackspaceAreCapturedAndTabIsNot)
{
    script.Then([this] {
              Focus(IDC_KEY_A);
              PressKey(VK_RETURN);
          })
        .Then([this] {
            EXPECT_EQ(ItemText(IDC_KEY_A), "Enter");
            PressKey(VK_ESCAPE);
        })
        .Then([this] {
            EXPECT_EQ(ItemText(IDC_KEY_B), "Esc");
            PressKey(VK_BACK);
        })
        .Then([this] {
            EXPECT_EQ(ItemText(IDC_KEY_X), "Backspace");
            EXPECT_EQ(Focused(), Item(IDC_KEY_Y));
            PressKey(VK_TAB);
        })
        .Then([this] {
            EXPECT_EQ(ItemText(IDC_KEY_Y), "");
            EXPECT_EQ(Focused(), Item(IDC_KEY_L1));  // Tab moved on as usual
            EXPECT_TRUE(::IsWindowVisible(dialog.m_hWnd));
            Close(IDCANCEL);
        });
    EXPECT_EQ(Run(), IDCANCEL);
}

TEST_F(InputCaptureTest, AltAndF10AreCapturedInKeyBoxesAndOpenTheSystemMenuElsewhere)
{
    script.Then([this] {
              Focus(IDC_KEY_A);
              PressSystemKeyAt(0x38, VK_MENU, true);
          })
        .Then([this] { ::PostMessageA(Focused(), WM_SYSKEYDOWN, VK_F10, 0x00440001); })
        .Then([this] {
            // Windows' default handling opens the window's menu when F10 or Alt is let go,
            // whether or not it saw the key go down (Wine's only when it did).
            MSG letGo = {Focused(), WM_SYSKEYUP, VK_F10, static_cast<LPARAM>(0xC0440001), 0, {}};
            EXPECT_TRUE(dialog.PreTranslateMessage(&letGo));
            PressSystemKeyAt(0xE038, VK_MENU, true);  // the right-hand Alt
        })
        .Then([] { PressKey('Q'); })
        .Then([this] {
            EXPECT_EQ(ItemText(IDC_KEY_A), "Alt");
            EXPECT_EQ(ItemText(IDC_KEY_B), "F10");
            EXPECT_EQ(ItemText(IDC_KEY_X), "Alt");
            EXPECT_EQ(ItemText(IDC_KEY_Y), "Q");
            Focus(IDC_PROFILE_LIST);
            PressSystemKeyAt(0x39, VK_SPACE, true);  // Alt+Space
        })
        .Then([this] {
            EXPECT_TRUE(MenuIsOpen()) << "the system menu";
            ::EndMenu();
        })
        .Then([this] { Close(IDCANCEL); });
    EXPECT_EQ(Run(), IDCANCEL);
}

TEST_F(InputCaptureTest, NoInputMethodTakesTheKeysOfAKeyBox)
{
    script.Then([this] {
              EXPECT_EQ(::ImmGetContext(Item(IDC_KEY_A)), nullptr);
              Focus(IDC_KEY_A);
              PressKeyAt(0x10, VK_PROCESSKEY);  // Q, as an input method in its native mode passes it on
          })
        .Then([this] {
            EXPECT_EQ(ItemText(IDC_KEY_A), "Q");
            Close(IDCANCEL);
        });
    Run();
}

// A key pressed at a position that the layout made a virtual key: what the box shows, and
// the key (by the table's name of the position) that the adapter then holds.
struct LayoutKey {
    uint16_t position;
    UINT virtualKey;
    const wchar_t* shown;
    const char* stored;
};

class LayoutCaptureTest : public InputCaptureTest {
protected:
    // Presses `keys` into the boxes A, B and X in turn under `fake`, then OK.
    void ExpectCaptured(const FakeLayout& fake, const std::vector<LayoutKey>& keys)
    {
        layout.fake = &fake;
        script.Then([this] { Focus(IDC_KEY_A); });
        for (const LayoutKey& key : keys) script.Then([key] { PressKeyAt(key.position, key.virtualKey); });
        script.Then([this, keys] {
            for (size_t index = 0; index < keys.size(); ++index)
                EXPECT_EQ(ShownItemText(kBoxes[index]), keys[index].shown);
            Close(IDOK);
        });
        EXPECT_EQ(Run(), IDOK);
        for (size_t index = 0; index < keys.size(); ++index)
            EXPECT_EQ(StoredKey(kBoxes[index]), KeyCodeFromName(keys[index].stored)) << keys[index].stored;
    }
    uint8_t StoredKey(int box) { return Record(0).keySlots[PlainMap[box - IDC_KEY_FIRST]]; }

    static constexpr int kBoxes[] = {IDC_KEY_A, IDC_KEY_B, IDC_KEY_X};
};

TEST_F(LayoutCaptureTest, AFrenchKeyShowsItsLabelAndTheAdapterGetsItsPosition)
{
    const FakeLayout french = FrenchLayout();
    ExpectCaptured(french, {{kPositionQ, 'A', L"A", "Q"},
                            {kPositionSemicolon, 'M', L"M", ";"},
                            {kPositionSlash, 0xDF, L"!", "/"}});
}

TEST_F(LayoutCaptureTest, AGermanKeyShowsItsLabelAndTheAdapterGetsItsPosition)
{
    const FakeLayout german = GermanLayout();
    ExpectCaptured(german, {{kPositionY, 'Z', L"Z", "Y"}, {kPositionZ, 'Y', L"Y", "Z"}, {0x0C, 0xDB, L"\u00DF", "-"}});
}

TEST_F(LayoutCaptureTest, AProfileFromTheAdapterShowsAsTheLayoutLabelsItAndKeepsItsKeys)
{
    const FakeLayout us, french = FrenchLayout();
    layout.fake = &us;
    Record(0).keySlots[PlainMap[IDC_KEY_A - IDC_KEY_FIRST]] = KeyCodeFromName("Q");
    Record(0).comboKey = KeyCodeFromName(";");
    script.Then([this, &french] {
              EXPECT_EQ(ItemText(IDC_KEY_A), "Q");
              layout.fake = &french;  // the user switches the layout
              ::SendMessageA(dialog.m_hWnd, WM_INPUTLANGCHANGE, 0, 0);
          })
        .Then([this] {
            EXPECT_EQ(ItemText(IDC_KEY_A), "A");
            EXPECT_EQ(ItemText(IDC_COMBO_KEY), "M");
            EXPECT_FALSE(dialog.m_bModified);
            dialog.m_bModified = 1;
            Close(IDOK);
        });
    EXPECT_EQ(Run(), IDOK);
    EXPECT_EQ(StoredKey(IDC_KEY_A), KeyCodeFromName("Q"));
    EXPECT_EQ(Record(0).comboKey, KeyCodeFromName(";"));
}

// Layouts under which names do not tell keys apart: two keys named "I", or Cyrillic and
// Hebrew labels that neither the Western nor the Chinese ANSI code page can write.
class KeyBoxCarriesItsKeyTest : public LayoutCaptureTest {
protected:
    static std::vector<std::pair<const char*, FakeLayout>> Layouts()
    {
        return {{"Turkish-like", TurkishLikeLayout()}, {"Cyrillic-like", CyrillicLikeLayout()},
                {"Hebrew-like", HebrewLikeLayout()},   {"French", FrenchLayout()},
                {"German", GermanLayout()},            {"Spanish", SpanishLayout()},
                {"UK", UkLayout()},                    {"US", FakeLayout()}};
    }
    static constexpr size_t kBoxCount = kKeyBoxCount + 1;  // the pad controls' and the combination's
    static int BoxId(size_t box)
    {
        return box < kKeyBoxCount ? IDC_KEY_FIRST + static_cast<int>(box) : IDC_COMBO_KEY;
    }
    // The code that box `box` (as BoxId counts them) of a plain record holds.
    static uint8_t& CodeOfBox(ProfileRecord& record, size_t box)
    {
        return box < kKeyBoxCount ? record.keySlots[PlainMap[box]] : record.comboKey;
    }
};

// Every code of the table, and one it lacks, spread over five profiles; each profile shown
// and stored after an edit that ends where it began (a combination button ticked and
// unticked): the adapter gets back the image it held, byte for byte, under every layout.
TEST_F(KeyBoxCarriesItsKeyTest, EveryCodeComesBackAfterAnUnrelatedEditUnderEveryLayout)
{
    std::vector<uint8_t> codes = {0x01};
    for (const KeyEntry& row : KeyTable)
        if (std::find(codes.begin(), codes.end(), row.keyCode) == codes.end()) codes.push_back(row.keyCode);
    const int profiles = static_cast<int>((codes.size() + kBoxCount - 1) / kBoxCount);
    for (int slot = 2; slot < profiles; ++slot) UseSlot(slot, "More");
    for (size_t index = 0; index < codes.size(); ++index)
        CodeOfBox(Record(static_cast<int>(index / kBoxCount)), index % kBoxCount) = codes[index];
    const std::vector<uint8_t> before(adapter.Memory(), adapter.Memory() + kImageSize);

    const auto layouts = Layouts();
    for (const auto& [name, fake] : layouts) {
        script.Then([this, &fake = fake] {
            layout.fake = &fake;
            ::SendMessageA(dialog.m_hWnd, WM_INPUTLANGCHANGE, 0, 0);
        });
        for (int row = 0; row < profiles; ++row) {
            script.Then([this, row] {
                ::SendMessageA(List(), LB_SETCURSEL, row, 0);
                ::SendMessageA(dialog.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_PROFILE_LIST, LBN_SELCHANGE),
                               reinterpret_cast<LPARAM>(List()));
                for (int click = 0; click < 2; ++click)
                    ::SendMessageA(Item(IDC_COMBO_FIRST + kPadWhite), BM_CLICK, 0, 0);
                EXPECT_TRUE(dialog.m_bModified);
            });
        }
    }
    script.Then([this] { Close(IDOK); });
    EXPECT_EQ(Run(), IDOK);
    for (size_t offset = 0; offset < kImageSize; ++offset)
        EXPECT_EQ(adapter.Memory()[offset], before[offset]) << "block " << offset / kBlockSize << " byte "
                                                            << offset % kBlockSize;
}

// Every key of the table pressed into the key boxes (Tab moves on instead) under every
// layout: each box shows the key's name under that layout, through the wide functions,
// and holds the code of the key's position.
TEST_F(KeyBoxCarriesItsKeyTest, EveryPositionPressedStoresItsOwnCodeUnderEveryLayout)
{
    std::vector<const KeyEntry*> keys;
    for (const KeyEntry& row : KeyTable)
        if (row.virtualKey != VK_TAB) keys.push_back(&row);
    const auto layouts = Layouts();
    script.Then([this, &layouts, &keys] {
        for (const auto& [name, fake] : layouts) {
            layout.fake = &fake;
            ::SendMessageA(dialog.m_hWnd, WM_INPUTLANGCHANGE, 0, 0);
            const KeyNames names(fake);
            for (size_t first = 0; first < keys.size(); first += kBoxCount) {
                const size_t count = std::min(kBoxCount, keys.size() - first);
                for (size_t box = 0; box < count; ++box) {
                    const KeyEntry& key = *keys[first + box];
                    PressInto(BoxId(box), key.position, fake.VirtualKeyAt(key.position));
                    EXPECT_EQ(ShownItemText(BoxId(box)), names.NameAtPosition(key.position))
                        << name << ' ' << key.name;
                }
                dialog.StoreAndShow();
                for (size_t box = 0; box < count; ++box)
                    EXPECT_EQ(CodeOfBox(*RecordOfSlot(dialog.m_link.Records(), 0), box), keys[first + box]->keyCode)
                        << name << ' ' << keys[first + box]->name;
            }
        }
        Close(IDCANCEL);
    });
    Run();
}

// The keyboard alone: keys pressed as a person presses them, modifiers held as the
// keyboard's state says (posted keys do not change it).
class KeyboardAloneTest : public InputCaptureTest {
protected:
    ~KeyboardAloneTest() override { HoldKeys({}); }
    // The keyboard's state says that exactly `keys` are down.
    static void HoldKeys(std::initializer_list<UINT> keys)
    {
        BYTE state[256] = {};
        for (UINT key : keys) state[key] = 0x80;
        ::SetKeyboardState(state);
    }
    // A key message to the window with the focus, as the keyboard gives it.
    static void Post(UINT message, UINT virtualKey, uint16_t position, bool release, bool alt = false)
    {
        ::PostMessageA(::GetFocus(), message, virtualKey, KeyMessageParam(position, release, alt));
    }
    // Delivers a key message to the window with the focus through the window's
    // PreTranslateMessage at once, as its loop does, with the time stamp given.
    void Deliver(UINT message, UINT virtualKey, uint16_t position, bool release, DWORD time)
    {
        MSG msg = {Focused(), message, virtualKey, KeyMessageParam(position, release), time, {}};
        if (!dialog.PreTranslateMessage(&msg)) ::DispatchMessageW(&msg);
    }
    // The controls that Tab visits, in the template's order: visible and enabled ones with
    // a tab stop.
    std::vector<int> TabStops() const
    {
        std::vector<int> stops;
        for (HWND child = ::GetWindow(dialog.m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
            const LONG style = ::GetWindowLongA(child, GWL_STYLE);
            if ((style & WS_TABSTOP) && ::IsWindowVisible(child) && ::IsWindowEnabled(child))
                stops.push_back(::GetDlgCtrlID(child));
        }
        return stops;
    }
    std::vector<std::wstring> KeyBoxTexts() const
    {
        std::vector<std::wstring> texts;
        for (int id = IDC_KEY_FIRST; id <= IDC_COMBO_KEY; ++id)
            if (IsKeyBox(id)) texts.push_back(ShownItemText(id));
        return texts;
    }
};

// Tab goes round every control and back to where it began; Shift+Tab (Shift held in a key
// box, then Tab) goes round the other way. No key box changes, nothing counts as an edit,
// and the mouse row whose byte checks no button is visited too.
TEST_F(KeyboardAloneTest, TabAndShiftTabVisitEveryControlInOrderAndChangeNoKeyBox)
{
    Record(0).keySlots[PlainMap[IDC_KEY_A - IDC_KEY_FIRST]] = KeyCodeFromName("Q");
    Record(0).mouseButtons[kMouseLeft] = 9;
    std::vector<int> stops, forward, backward;  // control ids
    std::vector<std::wstring> textsBefore;
    script.Then([&] {
        stops = TabStops();
        textsBefore = KeyBoxTexts();
        Focus(IDC_KEY_A);
    });
    for (int step = 0; step < 60; ++step) {
        script.Then([&] {
            if (forward.size() <= stops.size()) forward.push_back(::GetDlgCtrlID(Focused()));
            PressKey(VK_TAB);
        });
    }
    script.Then([&] {
        Focus(IDC_KEY_A);
        HoldKeys({VK_SHIFT});
        Post(WM_KEYDOWN, VK_SHIFT, 0x2A, false);
    });
    for (int step = 0; step < 60; ++step) {
        script.Then([&] {
            if (backward.size() <= stops.size()) backward.push_back(::GetDlgCtrlID(Focused()));
            PressKey(VK_TAB);
        });
    }
    script.Then([&] {
        Post(WM_KEYUP, VK_SHIFT, 0x2A, true);
        HoldKeys({});
    });
    script.Then([&] {
        EXPECT_EQ(KeyBoxTexts(), textsBefore);
        EXPECT_FALSE(dialog.m_bModified);
        Close(IDCANCEL);
    });
    Run();

    ASSERT_GT(stops.size(), 30u);
    const size_t first = std::find(stops.begin(), stops.end(), IDC_KEY_A) - stops.begin();
    ASSERT_EQ(forward.size(), stops.size() + 1);
    ASSERT_EQ(backward.size(), stops.size() + 1);
    for (size_t step = 0; step <= stops.size(); ++step) {
        EXPECT_EQ(forward[step], stops[(first + step) % stops.size()]) << "Tab, step " << step;
        EXPECT_EQ(backward[step], stops[(first + stops.size() - step % stops.size()) % stops.size()])
            << "Shift+Tab, step " << step;
    }
    for (int row : {IDC_RIGHT_FIRST, IDC_LEFT_FIRST, IDC_MIDDLE_FIRST}) {
        const bool reached = std::any_of(forward.begin(), forward.end(),
                                         [row](int id) { return id >= row && id < row + kPadButtonCount; });
        EXPECT_TRUE(reached) << "the radio row from " << row;
    }
}

TEST_F(KeyboardAloneTest, WithNothingSelectedKeyBoxesTakeNoKeyButTabAndEscWork)
{
    Header().activeProfile = kNoActiveProfile;
    script.Then([this] {
              Focus(IDC_KEY_A);
              PressKey('Q');
              PressKey(VK_SHIFT);
          })
        .Then([this] {
            EXPECT_EQ(ItemText(IDC_KEY_A), "");
            EXPECT_EQ(Focused(), Item(IDC_KEY_A));
            EXPECT_FALSE(dialog.m_bModified);
            PressKey(VK_TAB);
        })
        .Then([this] {
            EXPECT_EQ(Focused(), Item(IDC_KEY_B));
            PressKey(VK_ESCAPE);
        });
    EXPECT_EQ(Run(), IDCANCEL);
}

TEST_F(KeyboardAloneTest, WithNothingSelectedTheListsArrowsSelectAProfile)
{
    Header().activeProfile = kNoActiveProfile;
    Record(1).keySlots[PlainMap[IDC_KEY_A - IDC_KEY_FIRST]] = KeyCodeFromName("Q");
    script.Then([this] {
              Focus(IDC_PROFILE_LIST);
              PressKey(VK_DOWN);
              PressKey(VK_DOWN);
          })
        .Then([this] {
            EXPECT_EQ(ListSelection(), 1);
            EXPECT_EQ(ItemText(IDC_KEY_A), "Q");
            PressKey(VK_ESCAPE);
        });
    EXPECT_EQ(Run(), IDCANCEL);
}

TEST_F(KeyboardAloneTest, AModifierAloneIsTakenWhenLetGoAndAChordIsNever)
{
    script.Then([this] {
              Focus(IDC_KEY_A);
              Post(WM_KEYDOWN, VK_SHIFT, 0x36, false);  // the right-hand Shift
          })
        .Then([this] {
            EXPECT_EQ(ItemText(IDC_KEY_A), "") << "not before it is let go";
            Post(WM_KEYUP, VK_SHIFT, 0x36, true);
        })
        .Then([this] {
            EXPECT_EQ(ItemText(IDC_KEY_A), "Shift");
            EXPECT_EQ(Focused(), Item(IDC_KEY_B));
            HoldKeys({VK_CONTROL});
            Post(WM_KEYDOWN, VK_CONTROL, 0x1D, false);
            PressKey('Z');
            PressKey('Y');
        })
        .Then([this] {
            HoldKeys({VK_CONTROL, VK_SHIFT});
            Post(WM_KEYDOWN, VK_SHIFT, 0x2A, false);
            PressKey('Z');
            Post(WM_KEYUP, VK_SHIFT, 0x2A, true);
        })
        .Then([this] {
            HoldKeys({});
            Post(WM_KEYUP, VK_CONTROL, 0x1D, true);
        })
        .Then([this] {
            EXPECT_EQ(ItemText(IDC_KEY_B), "") << "Ctrl+Z, Ctrl+Y, Ctrl+Shift+Z";
            EXPECT_EQ(Focused(), Item(IDC_KEY_B));
            Post(WM_SYSKEYDOWN, VK_MENU, 0x38, false, true);
            Post(WM_SYSKEYDOWN, 'Q', 0x10, false, true);
            Post(WM_SYSKEYUP, 'Q', 0x10, true, true);
            Post(WM_KEYUP, VK_MENU, 0x38, true);
        })
        .Then([this] {
            EXPECT_EQ(ItemText(IDC_KEY_B), "") << "Alt+Q";
            Close(IDCANCEL);
        });
    EXPECT_EQ(Run(), IDCANCEL);
}

// AltGr: a made-up left Ctrl with the right Alt's time stamp, then the right Alt.
TEST_F(KeyboardAloneTest, AltGrIsOneKey)
{
    script.Then([this] {
        Focus(IDC_KEY_A);
        HoldKeys({VK_CONTROL});
        Deliver(WM_KEYDOWN, VK_CONTROL, 0x1D, false, 5000);
        HoldKeys({VK_CONTROL, VK_MENU});
        Deliver(WM_KEYDOWN, VK_MENU, 0xE038, false, 5000);
        HoldKeys({VK_MENU});
        Deliver(WM_KEYUP, VK_CONTROL, 0x1D, true, 5100);
        HoldKeys({});
        Deliver(WM_KEYUP, VK_MENU, 0xE038, true, 5100);
        EXPECT_EQ(ItemText(IDC_KEY_A), "Alt");
        EXPECT_EQ(ItemText(IDC_KEY_B), "");
        EXPECT_EQ(Focused(), Item(IDC_KEY_B));
        Close(IDCANCEL);
    });
    Run();
}

TEST_F(KeyboardAloneTest, AltF4ClosesTheWindowFromAKeyBox)
{
    script.Then([this] {
        Focus(IDC_KEY_A);
        Post(WM_SYSKEYDOWN, VK_MENU, 0x38, false, true);
        Post(WM_SYSKEYDOWN, VK_F4, 0x3E, false, true);
    });
    EXPECT_EQ(Run(), IDCANCEL);
    EXPECT_FALSE(dialog.m_bModified);
}

TEST_F(KeyboardAloneTest, AltSpaceOpensTheSystemMenuFromAKeyBox)
{
    script.Then([this] {
              Focus(IDC_KEY_A);
              Post(WM_SYSKEYDOWN, VK_MENU, 0x38, false, true);
              Post(WM_SYSKEYDOWN, VK_SPACE, 0x39, false, true);
          })
        .Then([this] {
            EXPECT_TRUE(MenuIsOpen()) << "the system menu";
            ::EndMenu();
        })
        .Then([this] {
            EXPECT_EQ(ItemText(IDC_KEY_A), "");
            EXPECT_EQ(ItemText(IDC_KEY_B), "");
            Close(IDCANCEL);
        });
    EXPECT_EQ(Run(), IDCANCEL);
}

// Keys from software that types for a person, without their scan codes.
TEST_F(KeyboardAloneTest, AKeyWithoutItsScanCodeTakesItsPositionFromItsVirtualKey)
{
    script.Then([this] {
              Focus(IDC_KEY_A);
              PressKeyAt(0, VK_NUMPAD7);
          })
        .Then([this] { PressKeyAt(0, 'Q'); })
        .Then([this] {
            EXPECT_EQ(ItemText(IDC_KEY_A), "Num 7");
            EXPECT_EQ(ItemText(IDC_KEY_B), "Q");
            Focus(IDC_KEY_B);
            PressKeyAt(0, VK_LWIN);
            PressKeyAt(0x56, VK_OEM_102);
            PressKeyAt(0x10, VK_PACKET);
        })
        .Then([this] {
            EXPECT_EQ(ItemText(IDC_KEY_B), "Q") << "keys that cannot be named leave the box as it was";
            EXPECT_EQ(Focused(), Item(IDC_KEY_B));
            Close(IDCANCEL);
        });
    Run();
}

TEST_F(KeyboardAloneTest, TheMenuKeyAndShiftF10OpenTheListMenuAtTheSelectedRowAndF2Renames)
{
    RECT row = {};
    script.Then([&] {
              Focus(IDC_PROFILE_LIST);
              PressKey(VK_DOWN);
          })
        .Then([&] {
            ASSERT_EQ(ListSelection(), 1);
            ::SendMessageA(List(), LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row));
            ::MapWindowPoints(List(), nullptr, reinterpret_cast<POINT*>(&row), 2);
            PressKeyAt(0xE05D, VK_APPS);
        })
        .Then([&] {
            ASSERT_TRUE(MenuIsOpen()) << "the Menu key";
            RECT menu;
            ::GetWindowRect(::FindWindowA("#32768", nullptr), &menu);
            EXPECT_EQ(menu.top, row.bottom);
            EXPECT_EQ(menu.left, row.left);
            ::EndMenu();
        })
        .Then([&] {
            HoldKeys({VK_SHIFT});
            Post(WM_SYSKEYDOWN, VK_F10, 0x44, false);
        })
        .Then([&] {
            HoldKeys({});
            EXPECT_TRUE(MenuIsOpen()) << "Shift+F10";
            ::EndMenu();
        })
        .Then([&] { PressKey(VK_F2); })
        .Then([&] {
            HWND names = FindModalDialog();
            ASSERT_NE(names, dialog.m_hWnd) << "the name dialog";
            ::PostMessageA(names, WM_COMMAND, IDCANCEL, 0);
        })
        .Then([&] { Close(IDCANCEL); });
    Run();
}

TEST_F(KeyboardAloneTest, TheListDrawsItsFocus)
{
    RECT row = {};
    // Whether the selected row's top edge, at its right end (away from the text), shows
    // another colour than the row's inside.
    const auto edgeDrawn = [&] {
        const COLORREF inside = PixelAt(List(), {row.right - 3, (row.top + row.bottom) / 2});
        for (LONG x = row.right - 12; x < row.right; ++x)
            if (PixelAt(List(), {x, row.top}) != inside) return true;
        return false;
    };
    script.Then([&] {
              Focus(IDC_PROFILE_LIST);
              ::SendMessageA(dialog.m_hWnd, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
              ::SendMessageA(List(), LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
          })
        .Then([&] {
            EXPECT_TRUE(edgeDrawn()) << "a focus rectangle around the selected row";
            Focus(IDC_KEY_A);
        })
        .Then([&] {
            EXPECT_FALSE(edgeDrawn());
            Close(IDCANCEL);
        });
    Run();
}

// Alt with a button's letter presses it; Delete leaves the focus on the list, and works
// again on the next profile selected.
TEST_F(KeyboardAloneTest, AccessKeysPressTheButtonsAndDeleteLeavesTheFocusOnTheList)
{
    const auto pressWithAlt = [](char letter) {
        const uint16_t position = static_cast<uint16_t>(::MapVirtualKeyA(letter, MAPVK_VK_TO_VSC));
        Post(WM_SYSKEYDOWN, letter, position, false, true);
        Post(WM_SYSKEYUP, letter, position, true, true);
    };
    script.Then([&] {
              Focus(IDC_PROFILE_LIST);
              PressKey(VK_DOWN);
          })
        .Then([&] { pressWithAlt('U'); })
        .Then([&] {
            EXPECT_EQ(dialog.m_link.HeaderFields().activeProfile, 1);
            pressWithAlt('D');
        })
        .Then([&] {
            EXPECT_EQ(ListCount(), 1);
            EXPECT_EQ(Focused(), List());
            EXPECT_FALSE(::IsWindowEnabled(Item(IDC_DELETE)));
            PressKey(VK_DOWN);
        })
        .Then([&] {
            EXPECT_EQ(ListSelection(), 0);
            EXPECT_TRUE(::IsWindowEnabled(Item(IDC_DELETE)));
            pressWithAlt('D');
        })
        .Then([&] {
            EXPECT_EQ(ListCount(), 0);
            EXPECT_EQ(Focused(), List());
            Close(IDCANCEL);
        });
    Run();
}

// Every letter that Alt presses leads to one control only.
TEST_F(KeyboardAloneTest, AccessKeysAreDistinct)
{
    script.Then([this] {
        std::vector<wchar_t> letters;
        for (HWND child = ::GetWindow(dialog.m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
            const std::wstring text = ShownTextOf(child);
            const size_t mark = text.find(L'&');
            if (mark != std::wstring::npos && mark + 1 < text.size()) letters.push_back(::towupper(text[mark + 1]));
        }
        EXPECT_GE(letters.size(), 3u);
        std::sort(letters.begin(), letters.end());
        EXPECT_EQ(std::adjacent_find(letters.begin(), letters.end()), letters.end());
        Close(IDCANCEL);
    });
    Run();
}

// Puts text on the clipboard, for a paste through an edit box's own menu.
void CopyToClipboard(HWND owner, const char* text)
{
    const size_t size = std::strlen(text) + 1;
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, size);
    std::memcpy(::GlobalLock(memory), text, size);
    ::GlobalUnlock(memory);
    ASSERT_TRUE(::OpenClipboard(owner));
    ::EmptyClipboard();
    ::SetClipboardData(CF_TEXT, memory);
    ::CloseClipboard();
}

// Chooses the item of the open pop-up menu that sends `command`, with the keys a person
// would press: Down to each item (separators are passed over), then Enter.
void ChooseMenuCommand(UINT command)
{
    HWND menuWindow = ::FindWindowA("#32768", nullptr);
    HMENU menu = reinterpret_cast<HMENU>(::SendMessageA(menuWindow, MN_GETHMENU, 0, 0));
    for (int item = 0; item < ::GetMenuItemCount(menu); ++item) {
        if (::GetMenuState(menu, item, MF_BYPOSITION) & MF_SEPARATOR) continue;
        PressKey(VK_DOWN);
        if (::GetMenuItemID(menu, item) != command) continue;
        PressKey(VK_RETURN);
        return;
    }
    ADD_FAILURE() << "no menu item " << command;
    ::EndMenu();
}

class EditGestureTest : public InputCaptureTest {
protected:
    // One gesture on the shown profile, made in one or more steps: it must change its
    // control and mark the profile for storing.
    void ExpectAnEdit(const char* gesture, std::vector<ModalScript::Step> steps, std::function<bool()> changed)
    {
        script.Then([this] { dialog.m_bModified = 0; });
        for (ModalScript::Step& step : steps) script.Then(std::move(step));
        script.Then([this, gesture, changed] {
            EXPECT_TRUE(changed()) << gesture;
            EXPECT_TRUE(dialog.m_bModified) << gesture;
        });
    }
    int Speed() const { return dialog.m_sliderSpeed.GetPos(); }
};

TEST_F(EditGestureTest, EveryChangeOfAControlsValueMarksAnEditButShowingARecordDoesNot)
{
    Record(1).keySlots[3] = KeyCodeFromName("Q");
    Record(1).comboKey = KeyCodeFromName("F5");
    Record(1).axisMode = 1;
    Record(1).speed = 90;
    script
        .Then([this] {
            Focus(IDC_PROFILE_LIST);
            PressKey(VK_DOWN);
        })
        .Then([this] {
            EXPECT_EQ(ItemText(IDC_KEY_A), "Q");
            EXPECT_EQ(Speed(), 90);
            EXPECT_FALSE(dialog.m_bModified) << "the texts, checks and position that the show phase set";
        });
    ExpectAnEdit("Space on a check box",
                 {[this] {
                     Focus(IDC_AXIS_MODE);
                     PressKey(VK_SPACE);
                 }},
                 [this] { return !Checked(IDC_AXIS_MODE); });
    ExpectAnEdit("an arrow key in a radio row",
                 {[this] {
                     Focus(IDC_LEFT_FIRST + kPadA);
                     PressKey(VK_RIGHT);
                 }},
                 [this] { return Checked(IDC_LEFT_FIRST + kPadB); });
    ExpectAnEdit("an arrow key on the slider",
                 {[this] {
                     Focus(IDC_SPEED);
                     PressKey(VK_RIGHT);
                 }},
                 [this] { return Speed() == 91; });
    ExpectAnEdit("Page Up on the slider", {[] { PressKey(VK_PRIOR); }}, [this] { return Speed() < 91; });
    ExpectAnEdit("Home on the slider", {[] { PressKey(VK_HOME); }}, [this] { return Speed() == kMinSpeed; });
    ExpectAnEdit("a deletion through a key box's own menu",
                 {[this] {
                      ::SendMessageA(Item(IDC_COMBO_KEY), EM_SETSEL, 0, -1);
                      RightClickAt(Item(IDC_COMBO_KEY), {5, 5});
                  },
                  [] { ChooseMenuCommand(WM_CLEAR); }},
                 [this] { return ItemText(IDC_COMBO_KEY).empty(); });
    ExpectAnEdit("a mouse press on a radio button", {[this] { ClickAt(Item(IDC_RIGHT_FIRST + kPadR1)); }},
                 [this] { return Checked(IDC_RIGHT_FIRST + kPadR1); });
    script.Then([this] { Close(IDCANCEL); });
    Run();
}

TEST_F(EditGestureTest, TextPastedOrTypedIntoAKeyBoxGivesWayToItsKey)
{
    Record(0).keySlots[PlainMap[IDC_KEY_A - IDC_KEY_FIRST]] = KeyCodeFromName("Q");
    script
        .Then([this] {
            dialog.m_bModified = 0;
            CopyToClipboard(dialog.m_hWnd, "pasted");
            RightClickAt(Item(IDC_KEY_A), {5, 5});
        })
        .Then([] { ChooseMenuCommand(WM_PASTE); })
        .Then([this] { TypeText(Item(IDC_KEY_B), "typed"); })
        .Then([this] {
            EXPECT_EQ(ItemText(IDC_KEY_A), "Q");
            EXPECT_EQ(ItemText(IDC_KEY_B), "");
            EXPECT_FALSE(dialog.m_bModified);
            Close(IDCANCEL);
        });
    Run();
}

TEST_F(InputCaptureTest, WithoutAnAdapterOnlyCancelAndTheLogoTakeClicks)
{
    adapter.SetPresent(false);
    script.Then([this] {
              EXPECT_EQ(ListCount(), 0);
              EXPECT_FALSE(::IsWindowVisible(Item(IDC_USB)));
              ClickAt(Item(IDC_AXIS_MODE));
              DoubleClickAt(Item(IDC_COMBO_FIRST + kPadA), {5, 5});
              RightClickAt(List(), {5, 5});
              ClickAt(dialog.m_hWnd, CentreInDialog(IDC_LOGO));
          })
        .Then([this] {
            EXPECT_FALSE(Checked(IDC_AXIS_MODE));
            EXPECT_FALSE(Checked(IDC_COMBO_FIRST + kPadA));
            EXPECT_FALSE(MenuIsOpen());
            EXPECT_EQ(dialog.m_nWebAddressOpened, 1);
            ClickAt(Item(IDCANCEL));
        });
    EXPECT_EQ(Run(), IDCANCEL);
}

TEST_F(InputCaptureTest, KeysAndClicksPostedToTheThreadArePassedOnUntouched)
{
    script
        .Then([this] {
            Focus(IDC_KEY_A);
            for (UINT message : {WM_KEYDOWN, WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN})
                ::PostThreadMessageA(::GetCurrentThreadId(), message, 'Q', 0);
        })
        .Then([this] {
            EXPECT_EQ(ItemText(IDC_KEY_A), "");
            EXPECT_EQ(Focused(), Item(IDC_KEY_A));
            EXPECT_FALSE(dialog.m_bModified);
            Close(IDCANCEL);
        });
    EXPECT_EQ(Run(), IDCANCEL);
}

TEST_F(InputCaptureTest, LogoOpensTheWebAddressWithAnAdapterToo)
{
    script.Then([this] { ClickAt(dialog.m_hWnd, CentreInDialog(IDC_LOGO)); })
        .Then([this] {
            EXPECT_EQ(dialog.m_nWebAddressOpened, 1);
            Close(IDCANCEL);
        });
    Run();
}

// The layout of the session's keyboard (US): characters come wide, positions both ways.
// (Wine 8 gives an extended key's scan code without the 0xE0 that Windows adds: the keys
// whose position is looked up by virtual key are character keys, none of them extended.)
TEST(SystemKeyboardLayout, MapsPositionsAndVirtualKeysBothWaysAndGivesWideCharacters)
{
    const Win32KeyboardLayout system;
    EXPECT_EQ(system.VirtualKeyAt(kPositionQ), 'Q');
    EXPECT_EQ(system.VirtualKeyAt(0xE04B), VK_LEFT) << "an extended key";
    EXPECT_EQ(system.PositionOf('Q'), kPositionQ);
    EXPECT_EQ(system.PositionOf(VK_OEM_1), kPositionSemicolon);
    EXPECT_EQ(system.CharacterOf(VK_OEM_1), L";");
    EXPECT_EQ(system.CharacterOf('Q'), L"Q") << "upper-cased";
    EXPECT_EQ(system.CharacterOf(VK_F1), L"");
}

}  // namespace
