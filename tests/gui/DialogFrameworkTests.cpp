// The framework's dialogs: the modal loop, message-map routing and nested modal runs.
#include <stdexcept>

#include <gtest/gtest.h>

#include "Afx.h"
#include "GuiInput.h"
#include "ModalScript.h"
#include "resource.h"

namespace {

// The game name template with a hook that can swallow Enter before the dialog manager.
class SwallowingDialog : public CDialog {
public:
    SwallowingDialog() : CDialog(IDD_GAME_NAME) {}

    bool swallowEnter = true;
    int enterSeen = 0;
    int okClicks = 0;
    int paints = 0;
    int nestedResult = 0;
    bool ownerDisabledWhileNested = false;

    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_RETURN) {
            ++enterSeen;
            if (swallowEnter) return TRUE;
        }
        return CDialog::PreTranslateMessage(pMsg);
    }

    void CountOk() { ++okClicks; }
    void Fail() { throw std::runtime_error("handler failed"); }
    void OnPaint()
    {
        ++paints;
        Default();
    }
    void OpenNested()
    {
        CDialog nested(IDD_ABOUTBOX);
        ModalScript closing;
        closing.Then([&] {
            ownerDisabledWhileNested = !::IsWindowEnabled(m_hWnd);
            nested.EndDialog(7);
        });
        closing.RunAround([&] { nestedResult = static_cast<int>(nested.DoModal()); });
    }

protected:
    DECLARE_MESSAGE_MAP()
};

constexpr int kCountOkCommand = 40001;
constexpr int kFailCommand = 40002;
constexpr int kNestedCommand = 40003;

BEGIN_MESSAGE_MAP(SwallowingDialog, CDialog)
    ON_COMMAND(kCountOkCommand, &SwallowingDialog::CountOk)
    ON_COMMAND(kFailCommand, &SwallowingDialog::Fail)
    ON_COMMAND(kNestedCommand, &SwallowingDialog::OpenNested)
    ON_WM_PAINT()
END_MESSAGE_MAP()

void Command(HWND hWnd, int id) { ::PostMessageA(hWnd, WM_COMMAND, id, 0); }

TEST(DialogFramework, KeysReachPreTranslateMessageBeforeTheDialogManager)
{
    SwallowingDialog dialog;
    ModalScript script;
    script.Then([] { PressKey(VK_RETURN); })
        .Then([&] {
            EXPECT_EQ(dialog.enterSeen, 1);
            EXPECT_TRUE(::IsWindowVisible(dialog.m_hWnd));  // the swallowed Enter closed nothing
            dialog.swallowEnter = false;
            PressKey(VK_RETURN);
        });
    EXPECT_EQ(script.Run(dialog), IDOK);
    EXPECT_EQ(dialog.enterSeen, 2);
}

TEST(DialogFramework, DoModalReturnsTheEndCodeOrMinusOneWithoutATemplate)
{
    SwallowingDialog dialog;
    ModalScript script;
    script.Then([&] { dialog.EndDialog(42); });
    EXPECT_EQ(script.Run(dialog), 42);
    EXPECT_EQ(dialog.m_hWnd, nullptr);

    CDialog missing(9999);
    EXPECT_EQ(missing.DoModal(), -1);
}

TEST(DialogFramework, MapRoutesCommandsAndPaintAndTheBaseHandlesCancel)
{
    SwallowingDialog dialog;
    ModalScript script;
    script.Then([&] {
              Command(dialog.m_hWnd, kCountOkCommand);
              ::InvalidateRect(dialog.m_hWnd, nullptr, TRUE);
          })
        .Then([&] {
            EXPECT_EQ(dialog.okClicks, 1);
            EXPECT_GT(dialog.paints, 0);
            ::PostMessageA(dialog.m_hWnd, WM_CLOSE, 0, 0);
        });
    EXPECT_EQ(script.Run(dialog), IDCANCEL);
}

TEST(DialogFramework, FailingHandlerLeavesTheDialogRunning)
{
    SwallowingDialog dialog;
    ModalScript script;
    script.Then([&] { Command(dialog.m_hWnd, kFailCommand); })
        .Then([&] {
            EXPECT_TRUE(::IsWindowVisible(dialog.m_hWnd));
            Command(dialog.m_hWnd, IDCANCEL);
        });
    EXPECT_EQ(script.Run(dialog), IDCANCEL);
}

TEST(DialogFramework, NestedModalRunDisablesItsOwnerAndGivesItBack)
{
    SwallowingDialog dialog;
    CWinApp& app = TestApp();
    app.m_pMainWnd = &dialog;
    ModalScript script;
    script.Then([&] { Command(dialog.m_hWnd, kNestedCommand); })
        .Then([&] {
            EXPECT_EQ(dialog.nestedResult, 7);
            EXPECT_TRUE(dialog.ownerDisabledWhileNested);
            EXPECT_TRUE(::IsWindowEnabled(dialog.m_hWnd));
            Command(dialog.m_hWnd, IDCANCEL);
        });
    EXPECT_EQ(script.Run(dialog), IDCANCEL);
    app.m_pMainWnd = nullptr;
}

TEST(FrameworkString, LoadsTheStringTableAndIsEmptyWhenTheStringIsMissing)
{
    CString text;
    EXPECT_TRUE(text.LoadString(IDS_ABOUTBOX));
    EXPECT_GT(text.GetLength(), 0);
    EXPECT_FALSE(text.LoadString(9999));
    EXPECT_TRUE(text.IsEmpty());
}

}  // namespace
