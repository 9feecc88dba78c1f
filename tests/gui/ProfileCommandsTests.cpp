// The list commands as a person gives them: buttons, double clicks and the right-click
// menu, with the name dialog answered inside the real nested modal loop.
#include "ConfigDlgHarness.h"
#include "GameNameDlg.h"
#include "KeyTable.h"

namespace {


class ProfileCommandsTest : public ConfigDlgTest {
protected:
    ProfileCommandsTest()
    {
        UseSlot(0, "Alpha").keySlots[3] = KeyCodeFromName("J");
        UseSlot(2, "Gamma");
        UseSlot(3, "Delta");
        Header().activeProfile = 0;
    }

    void ClickButton(int id) { ClickAt(Item(id)); }
    void ClickRow(int row) { ClickAt(List(), ListRowCentre(List(), row)); }
    void AnswerName(const char* name) { CloseNameDialog(name, IDOK); }
    void CancelName() { CloseNameDialog("", IDCANCEL); }
    // The name dialog that a command opened: gets the name, then the button.
    void CloseNameDialog(const char* name, int button)
    {
        HWND names = FindModalDialog();
        ASSERT_NE(names, dialog.m_hWnd);
        ::SetWindowTextA(::GetDlgItem(names, IDC_GAME_NAME), name);
        ::PostMessageA(names, WM_COMMAND, button, 0);
    }
    bool Marked(int row) { return RowShowsMark(List(), row); }
    ImageHeader& LinkHeader() { return dialog.m_link.HeaderFields(); }
};

TEST_F(ProfileCommandsTest, AddPutsACopyOfTheShownSettingsIntoTheLowestFreeSlot)
{
    script.Then([this] { ClickButton(IDC_ADD); })
        .Then([this] { AnswerName("Beta"); })
        .Then([this] {
            ASSERT_EQ(ListCount(), 4);
            EXPECT_EQ(ListText(3), "Beta");
            EXPECT_EQ(ListSelection(), 3);
            Close(IDOK);
        });
    EXPECT_EQ(Run(), IDOK);
    EXPECT_EQ(Header().used[1], kSlotUsed);
    EXPECT_STREQ(Record(1).name, "Beta");
    EXPECT_EQ(Record(1).keySlots[3], KeyCodeFromName("J"));
    EXPECT_EQ(Record(1).speed, Record(0).speed);
    EXPECT_STREQ(Record(0).name, "Alpha");
}

TEST_F(ProfileCommandsTest, AddIntoTheFreeSlotThatTheActiveByteNamesMarksTheNewProfile)
{
    Header().activeProfile = 1;
    script.Then([this] { ClickButton(IDC_ADD); })
        .Then([this] { AnswerName("Beta"); })
        .Then([this] {
            EXPECT_TRUE(Marked(3));
            Close(IDCANCEL);
        });
    Run();
}

TEST_F(ProfileCommandsTest, CancelInTheNameDialogAddsNothing)
{
    script.Then([this] { ClickButton(IDC_ADD); })
        .Then([this] { CancelName(); })
        .Then([this] {
            EXPECT_EQ(ListCount(), 3);
            EXPECT_FALSE(dialog.m_bModified);
            Close(IDOK);
        });
    Run();
    EXPECT_NE(Header().used[1], kSlotUsed);
}

TEST_F(ProfileCommandsTest, SixtyThirdProfileDisablesAddAndGreysItInTheMenu)
{
    for (int slot = 4; slot < kSlotCount; ++slot) UseSlot(slot, "More");
    Header().used[1] = 0;  // 62 used
    UINT addState = 0;
    script.Then([this] { ClickButton(IDC_ADD); })
        .Then([this] { AnswerName("Last"); })
        .Then([this] {
            EXPECT_EQ(ListCount(), kSlotCount);
            EXPECT_FALSE(::IsWindowEnabled(Item(IDC_ADD)));
            RightClickAt(List(), ListRowCentre(List(), 0));
        })
        .Then([&addState] {
            HWND menuWindow = ::FindWindowA("#32768", nullptr);
            HMENU menu = reinterpret_cast<HMENU>(::SendMessageA(menuWindow, MN_GETHMENU, 0, 0));
            addState = ::GetMenuState(menu, ID_MENU_ADD, MF_BYCOMMAND);
            ::EndMenu();
        })
        .Then([this] { Close(IDCANCEL); });
    Run();
    EXPECT_TRUE(addState & MF_GRAYED);
}

TEST_F(ProfileCommandsTest, MenuCommandsActOnTheSelection)
{
    script.Then([this] { RightClickAt(List(), ListRowCentre(List(), 1)); })
        .Then([] {
            HWND menuWindow = ::FindWindowA("#32768", nullptr);
            ASSERT_TRUE(menuWindow && ::IsWindowVisible(menuWindow));
            ::EndMenu();
        })
        .Then([this] {
            // Use from the menu: the selected (active) row stays marked.
            ::PostMessageA(dialog.m_hWnd, WM_COMMAND, ID_MENU_USE, 0);
        })
        .Then([this] {
            EXPECT_TRUE(Marked(0));
            Close(IDCANCEL);
        });
    Run();
}

TEST_F(ProfileCommandsTest, DeleteOfTheActiveProfileMakesTheFirstOneActiveAndMarked)
{
    script.Then([this] { ClickButton(IDC_DELETE); })
        .Then([this] {
            ASSERT_EQ(ListCount(), 2);
            EXPECT_EQ(ListText(0), "Gamma");
            EXPECT_EQ(LinkHeader().activeProfile, 2);
            EXPECT_EQ(LinkHeader().used[0], 0);
            EXPECT_FALSE(::IsWindowEnabled(Item(IDC_DELETE)));
            EXPECT_TRUE(Marked(0));
            EXPECT_FALSE(Marked(1));
            Close(IDOK);
        });
    Run();
    EXPECT_EQ(Header().activeProfile, 2);
    EXPECT_EQ(Header().used[0], 0);
}

TEST_F(ProfileCommandsTest, DeletedProfilesEditsDoNotReachTheProfileThatMovesUp)
{
    const ProfileRecord deltaBefore = Record(3);
    script.Then([this] { ClickRow(1); })
        .Then([this] {
            ASSERT_EQ(ListText(ListSelection()), "Gamma");
            ::SetFocus(Item(IDC_KEY_A));
            PressKey('Z');
        })
        .Then([this] { ClickButton(IDC_DELETE); })
        .Then([this] {
            EXPECT_EQ(dialog.m_nShownItem, -1);
            ClickRow(1);  // Delta, now where Gamma was
        })
        .Then([this] {
            EXPECT_EQ(ItemText(IDC_KEY_A), "");
            ClickRow(0);
        })
        .Then([this] {
            EXPECT_TRUE(Marked(0));  // the active Alpha keeps its mark
            Close(IDOK);
        });
    Run();
    EXPECT_EQ(std::memcmp(&Record(3), &deltaBefore, sizeof deltaBefore), 0);
    EXPECT_EQ(Header().used[2], 0);
}

TEST_F(ProfileCommandsTest, DeleteWorksAgainOnceARowIsSelected)
{
    script.Then([this] { ClickButton(IDC_DELETE); })
        .Then([this] { ClickRow(1); })
        .Then([this] {
            EXPECT_TRUE(::IsWindowEnabled(Item(IDC_DELETE)));
            ClickButton(IDC_DELETE);
        })
        .Then([this] {
            ASSERT_EQ(ListCount(), 1);
            EXPECT_EQ(ListText(0), "Gamma");
            Close(IDCANCEL);
        });
    Run();
}

TEST_F(ProfileCommandsTest, DeletingARowAboveTheActiveOneMovesTheMark)
{
    Header().activeProfile = 3;
    script.Then([this] { ClickRow(0); })
        .Then([this] { ClickButton(IDC_DELETE); })
        .Then([this] {
            ASSERT_EQ(ListText(1), "Delta");
            EXPECT_TRUE(Marked(1));
            EXPECT_FALSE(Marked(2));
            EXPECT_FALSE(Marked(0));
            Close(IDCANCEL);
        });
    Run();
}

TEST_F(ProfileCommandsTest, UseMovesTheMarkAndKeepsItOnTheAlreadyActiveEntry)
{
    script.Then([this] { ClickButton(IDC_USE); })
        .Then([this] {
            EXPECT_TRUE(Marked(0));
            ClickRow(2);
        })
        .Then([this] { ClickButton(IDC_USE); })
        .Then([this] {
            EXPECT_TRUE(Marked(2));
            EXPECT_FALSE(Marked(0));
            EXPECT_EQ(LinkHeader().activeProfile, 3);
            Close(IDOK);
        });
    Run();
    EXPECT_EQ(Header().activeProfile, 3);
}

TEST_F(ProfileCommandsTest, RenameKeepsTheEntrySelectedSoKeysStillWork)
{
    script.Then([this] { DoubleClickAt(List(), ListRowCentre(List(), 1)); })
        .Then([this] { AnswerName("Gamma II"); })
        .Then([this] {
            EXPECT_EQ(ListText(1), "Gamma II");
            EXPECT_EQ(ListSelection(), 1);
            ::SetFocus(Item(IDC_KEY_A));
            PressKey('K');
        })
        .Then([this] {
            EXPECT_EQ(ItemText(IDC_KEY_A), "K");
            Close(IDOK);
        });
    Run();
    EXPECT_STREQ(Record(2).name, "Gamma II");
    EXPECT_EQ(Record(2).keySlots[3], KeyCodeFromName("K"));
}

}  // namespace
