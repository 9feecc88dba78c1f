// The game name dialog: what comes back in the caller's buffer for each way of closing it.
#include <array>
#include <cstring>
#include <functional>
#include <vector>

#include <gtest/gtest.h>

#include "GameNameDlg.h"
#include "GuiInput.h"
#include "ModalScript.h"
#include "resource.h"

namespace {

using NameBuffer = std::array<char, 16>;
using DialogStep = std::function<void(HWND dialog)>;

NameBuffer BufferWith(const char* name)
{
    NameBuffer buffer = {};
    std::strncpy(buffer.data(), name, buffer.size());
    return buffer;
}

HWND Edit(HWND dialog) { return ::GetDlgItem(dialog, IDC_GAME_NAME); }

// Opens the dialog on the buffer, plays the steps against the open dialog and returns
// InputName's answer.
BOOL AskName(NameBuffer& buffer, const std::vector<DialogStep>& steps)
{
    CGameNameDlg dialog;
    ModalScript script;
    for (const DialogStep& step : steps) script.Then([step] { step(FindModalDialog()); });
    BOOL confirmed = FALSE;
    script.RunAround([&] { confirmed = dialog.InputName(buffer.data()); });
    return confirmed;
}

void TypeInto(HWND dialog, const char* text)
{
    ::SetFocus(Edit(dialog));
    TypeText(Edit(dialog), text);
}

void PressOk(HWND dialog) { ClickAt(::GetDlgItem(dialog, IDOK)); }

TEST(GameNameDlg, FifteenTypedCharactersComeBackAsFourteenInAZeroFilledBuffer)
{
    NameBuffer buffer = {};
    std::string shown;
    const BOOL confirmed = AskName(buffer, {
        [](HWND dialog) { TypeInto(dialog, "ABCDEFGHIJKLMNOPQ"); },  // two more than the box takes
        [&](HWND dialog) {
            shown = TextOf(Edit(dialog));
            PressOk(dialog);
        },
    });
    EXPECT_TRUE(confirmed);
    EXPECT_EQ(shown, "ABCDEFGHIJKLMNO");
    EXPECT_EQ(BufferWith("ABCDEFGHIJKLMN"), buffer);
}

TEST(GameNameDlg, EmptyNameIsAccepted)
{
    NameBuffer buffer = {};
    EXPECT_TRUE(AskName(buffer, {PressOk}));
    EXPECT_EQ(NameBuffer{}, buffer);
}

TEST(GameNameDlg, CurrentNameIsShownAndComesBackCutToFourteen)
{
    NameBuffer buffer = BufferWith("FifteenLetters!");
    std::string shown;
    const BOOL confirmed = AskName(buffer, {[&](HWND dialog) {
        shown = TextOf(Edit(dialog));
        PressOk(dialog);
    }});
    EXPECT_TRUE(confirmed);
    EXPECT_EQ(shown, "FifteenLetters!");
    EXPECT_EQ(BufferWith("FifteenLetters"), buffer);
    EXPECT_EQ(buffer[14], 0);
    EXPECT_EQ(buffer[15], 0);
}

TEST(GameNameDlg, ShorterNameLeavesOnlyZerosBehindIt)
{
    NameBuffer buffer = BufferWith("Long old name");
    const BOOL confirmed = AskName(buffer, {
        [](HWND dialog) {
            ::SetWindowTextA(Edit(dialog), "");
            TypeInto(dialog, "Go");
        },
        PressOk,
    });
    EXPECT_TRUE(confirmed);
    EXPECT_EQ(BufferWith("Go"), buffer);
}

TEST(GameNameDlg, CancelEscAndTheCloseBoxLeaveTheBuffer)
{
    const std::vector<DialogStep> closings = {
        [](HWND dialog) { ClickAt(::GetDlgItem(dialog, IDCANCEL)); },
        [](HWND) { PressKey(VK_ESCAPE); },
        [](HWND dialog) { ::PostMessageA(dialog, WM_CLOSE, 0, 0); },
    };
    for (const DialogStep& close : closings) {
        NameBuffer buffer = BufferWith("Kept");
        EXPECT_FALSE(AskName(buffer, {[](HWND dialog) { TypeInto(dialog, "xyz"); }, close}));
        EXPECT_EQ(BufferWith("Kept"), buffer);
    }
}

TEST(GameNameDlg, EnterRightAwayConfirmsTheShownNameFromTheOkButton)
{
    NameBuffer buffer = BufferWith("Racing");
    bool focusOnOk = false;
    const BOOL confirmed = AskName(buffer, {[&](HWND dialog) {
        focusOnOk = ::GetFocus() == ::GetDlgItem(dialog, IDOK);
        PressKey(VK_RETURN);
    }});
    EXPECT_TRUE(focusOnOk);
    EXPECT_TRUE(confirmed);
    EXPECT_EQ(BufferWith("Racing"), buffer);
}

}  // namespace
