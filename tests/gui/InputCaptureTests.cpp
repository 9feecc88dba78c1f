// Key capture in the key boxes and the gating of clicks, through the real modal loop:
// posted input passes PreTranslateMessage as real input does.
#include "ConfigDlgHarness.h"

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

TEST_F(InputCaptureTest, WithNothingSelectedEveryKeyIsSwallowed)
{
    Header().activeProfile = kNoActiveProfile;
    script.Then([this] {
              Focus(IDC_KEY_A);
              PressKey('Q');
              PressKey(VK_TAB);
              PressKey(VK_ESCAPE);
          })
        .Then([this] {
            EXPECT_EQ(ItemText(IDC_KEY_A), "");
            EXPECT_EQ(Focused(), Item(IDC_KEY_A));
            EXPECT_TRUE(::IsWindowVisible(dialog.m_hWnd));
            EXPECT_FALSE(dialog.m_bModified);
            Close(IDCANCEL);
        });
    Run();
}

TEST_F(InputCaptureTest, MousePressOnAnEditControlMarksAnEditButSpaceDoesNot)
{
    script.Then([this] {
              Focus(IDC_AXIS_MODE);
              PressKey(VK_SPACE);
          })
        .Then([this] {
            EXPECT_TRUE(Checked(IDC_AXIS_MODE));
            EXPECT_FALSE(dialog.m_bModified);
            ClickAt(Item(IDC_LEFT_FIRST + kPadR1));
        })
        .Then([this] {
            EXPECT_TRUE(Checked(IDC_LEFT_FIRST + kPadR1));
            EXPECT_TRUE(dialog.m_bModified);
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
              RightClickAt(List(), {5, 5});
              ClickAt(dialog.m_hWnd, CentreInDialog(IDC_LOGO));
          })
        .Then([this] {
            EXPECT_FALSE(Checked(IDC_AXIS_MODE));
            EXPECT_FALSE(MenuIsOpen());
            EXPECT_EQ(dialog.m_nWebAddressOpened, 1);
            ClickAt(Item(IDCANCEL));
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

}  // namespace
