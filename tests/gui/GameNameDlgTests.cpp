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
// InputName's answer; names in `codePage`.
BOOL AskName(NameBuffer& buffer, const std::vector<DialogStep>& steps, const CodePage& codePage = {::GetACP()})
{
    CGameNameDlg dialog(nullptr, codePage);
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

// The box stops taking characters at the 14 bytes a name holds: what shows is stored.
TEST(GameNameDlg, FourteenTypedCharactersShowAndComeBackInAZeroFilledBuffer)
{
    NameBuffer buffer = {};
    std::string shown;
    const BOOL confirmed = AskName(buffer, {
        [](HWND dialog) { TypeInto(dialog, "ABCDEFGHIJKLMNOPQ"); },  // three more than a name holds
        [&](HWND dialog) {
            shown = TextOf(Edit(dialog));
            PressOk(dialog);
        },
    });
    EXPECT_TRUE(confirmed);
    EXPECT_EQ(shown, "ABCDEFGHIJKLMN");
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
    EXPECT_EQ(shown, "FifteenLetters");
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

// Names in a code page whose characters take several bytes: the system's where Windows
// uses UTF-8 for the programs that are not Unicode, or a double-byte one.
struct WideNames {
    unsigned codePage;
    std::string fullName;   // the name's bytes when the box is filled with Chinese characters
    std::string cutName;    // a 15-byte name cut at the last whole character within 14
    std::string cutResult;  // what comes back of it
    size_t typedShown;      // Chinese characters shown of eight typed after "ab"
    std::wstring pasted;    // what shows of a pasted name that starts with a Thai character
    std::string pastedName;
};

void PrintTo(const WideNames& names, std::ostream* out) { *out << "code page " << names.codePage; }

class GameNameCodePageTest : public ::testing::TestWithParam<WideNames> {};

void SendCharacters(HWND box, const std::wstring& text)
{
    for (wchar_t c : text) ::SendMessageW(box, WM_CHAR, c, 0);
}

// Typed, pasted or already stored, a name keeps whole characters only: the box stops at
// the last character that fits, a character that the code page lacks is not taken, and
// the stored bytes are what the box shows.
TEST_P(GameNameCodePageTest, TheBoxTakesOnlyWholeCharactersThatFit)
{
    const WideNames& names = GetParam();
    const CodePage codePage{names.codePage};
    std::wstring typed, pasted;
    NameBuffer buffer = {};
    ASSERT_TRUE(AskName(buffer, {[&](HWND dialog) {
        ::SetFocus(Edit(dialog));
        SendCharacters(Edit(dialog), L"ab\u4E2D\u6587\u4E2D\u6587\u4E2D\u6587\u4E2D\u6587\u0E01");
        typed = ShownTextOf(Edit(dialog));
        ::SendMessageW(Edit(dialog), EM_SETSEL, 0, -1);
        ::SendMessageW(Edit(dialog), EM_REPLACESEL, TRUE, LPARAM(L"\u0E01x\u4E2D\u6587\u4E2D\u6587\u4E2D\u6587\u4E2D\u6587"));
        pasted = ShownTextOf(Edit(dialog));
        PressOk(dialog);
    }}, codePage));
    EXPECT_EQ(typed, L"ab" + std::wstring(L"\u4E2D\u6587\u4E2D\u6587\u4E2D\u6587").substr(0, names.typedShown));
    EXPECT_EQ(pasted, names.pasted);
    EXPECT_EQ(BufferWith(names.pastedName.c_str()), buffer);

    NameBuffer full = {};
    ASSERT_TRUE(AskName(full, {[&](HWND dialog) {
        ::SetFocus(Edit(dialog));
        SendCharacters(Edit(dialog), L"\u4E2D\u6587\u4E2D\u6587\u4E2D\u6587\u4E2D\u6587");
        PressOk(dialog);
    }}, codePage));
    EXPECT_EQ(BufferWith(names.fullName.c_str()), full);

    NameBuffer stored = {};
    std::memcpy(stored.data(), names.cutName.data(), names.cutName.size());
    ASSERT_TRUE(AskName(stored, {PressOk}, codePage));
    EXPECT_EQ(BufferWith(names.cutResult.c_str()), stored);
}

INSTANTIATE_TEST_SUITE_P(
    CodePages, GameNameCodePageTest,
    ::testing::Values(WideNames{65001, "\xE4\xB8\xAD\xE6\x96\x87\xE4\xB8\xAD\xE6\x96\x87", "abcdefghijkl\xE4\xB8\xAD",
                                "abcdefghijkl", 4, L"\u0E01x\u4E2D\u6587\u4E2D",
                                "\xE0\xB8\x81x\xE4\xB8\xAD\xE6\x96\x87\xE4\xB8\xAD"},
                      WideNames{936, "\xD6\xD0\xCE\xC4\xD6\xD0\xCE\xC4\xD6\xD0\xCE\xC4\xD6\xD0",
                                "abcdefghijklm\xD6\xD0", "abcdefghijklm", 6, L"", ""}),  // it lacks the Thai one
    [](const ::testing::TestParamInfo<WideNames>& info) { return "CodePage" + std::to_string(info.param.codePage); });

}  // namespace
