// The window in the language of the user's interface, English or Chinese: every text of a
// language, shown as written whatever the code page, and fitting its control.
#include <cstdlib>
#include <string>
#include <vector>

#include "AboutDlg.h"
#include "ConfigDlgHarness.h"

namespace {

constexpr LANGID kChinese = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);

TEST(ResourceLanguage, AnyChineseInterfaceGetsChineseAnyOtherEnglish)
{
    EXPECT_EQ(AfxChooseResourceLanguage(kChinese), kChinese);
    EXPECT_EQ(AfxChooseResourceLanguage(MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_TRADITIONAL)), kChinese);
    EXPECT_EQ(AfxChooseResourceLanguage(kEnglishLanguage), kEnglishLanguage);
    EXPECT_EQ(AfxChooseResourceLanguage(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_UK)), kEnglishLanguage);
    EXPECT_EQ(AfxChooseResourceLanguage(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN)), kEnglishLanguage);
}

// A string that Chinese lacks would show in English there, and so would one left as the
// English text; only the message boxes' caption, the product's name, is the same.
TEST(ResourceLanguage, ChineseHasEveryStringInChinese)
{
    int strings = 0;
    for (UINT id = 0; id < 1024; ++id) {
        const std::wstring english = AfxLoadStringOfLanguage(id, kEnglishLanguage);
        if (english.empty()) continue;
        ++strings;
        const std::wstring chinese = AfxLoadStringOfLanguage(id, kChinese);
        EXPECT_FALSE(chinese.empty()) << id;
        if (id != IDS_MESSAGE_CAPTION) {
            EXPECT_NE(chinese, english) << id;
        }
    }
    EXPECT_GT(strings, 1);
}

// What a language's window shows, written as it must read.
struct LanguageTexts {
    const char* name;
    LANGID language;
    const wchar_t* aboutItem;
    const wchar_t* openCopyItem;
    const wchar_t* aboutCaption;
    const wchar_t* aboutTitle;
    const wchar_t* loadBusyStart;  // the first words of the message of a busy adapter
};

const LanguageTexts kEnglishTexts = {"English", kEnglishLanguage, L"About Brenvo(&A)...", L"Open a copy...",
                                     L"About Brenvo", L"Vantor keyboard and mouse configurator, version 1.0",
                                     L"The adapter is busy"};
const LanguageTexts kChineseTexts = {"Chinese", kChinese, L"关于 Brenvo(&A)...", L"打开副本...",
                                     L"关于 Brenvo", L"Vantor 键盘鼠标配置程序 1.0 版", L"适配器正忙"};

void PrintTo(const LanguageTexts& texts, std::ostream* out) { *out << texts.name; }

std::wstring MenuText(HMENU menu, UINT command)
{
    wchar_t text[128] = {};
    ::GetMenuStringW(menu, command, text, 128, MF_BYCOMMAND);
    return text;
}

// The window in a language of its own, whatever the interface's is, restored afterwards.
class ShownLanguageTest : public ConfigDlgTest, public ::testing::WithParamInterface<LanguageTexts> {
protected:
    ShownLanguageTest() { AfxSetResourceLanguage(GetParam().language); }
    ~ShownLanguageTest() override { AfxSetResourceLanguage(m_interfaceLanguage); }

private:
    const LANGID m_interfaceLanguage = AfxGetResourceLanguage();
};

// In an English locale (code page 1252) a Chinese text made through the ANSI functions
// would read "?"; the main window's own texts are English in both languages.
TEST_P(ShownLanguageTest, MessageMenusAndAboutBoxReadAsWritten)
{
    const LanguageTexts& texts = GetParam();
    UseSlot(0, "Game");
    lock.busy = true;
    std::wstring message, caption, title;
    script.Then([&] { message = AnswerMessageBox(IDOK); })
        .Then([&] {
            HMENU menu = ::GetSystemMenu(dialog.m_hWnd, FALSE);
            EXPECT_EQ(MenuText(menu, IDM_ABOUTBOX), texts.aboutItem);
            EXPECT_EQ(MenuText(menu, IDM_OPEN_COPY), texts.openCopyItem);
            EXPECT_EQ(ShownTextOf(Item(IDC_ADD)), L"&Add");
            ::PostMessageA(dialog.m_hWnd, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
        })
        .Then([&] {
            HWND about = FindModalDialog();
            ASSERT_NE(about, dialog.m_hWnd);
            caption = ShownTextOf(about);
            title = ChildTexts(about);
            ::PostMessageA(about, WM_COMMAND, IDOK, 0);
        })
        .Then([&] { Close(IDCANCEL); });
    Run();
    EXPECT_NE(message.find(texts.loadBusyStart), std::wstring::npos) << message;
    EXPECT_EQ(caption, texts.aboutCaption);
    EXPECT_NE(title.find(texts.aboutTitle), std::wstring::npos) << title;
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, ShownLanguageTest, ::testing::Values(kEnglishTexts, kChineseTexts),
                         [](const ::testing::TestParamInfo<LanguageTexts>& info) { return info.param.name; });

// Nothing set, the window takes the language of the user's interface: Chinese where that
// is any Chinese, English elsewhere.
TEST_F(ConfigDlgTest, TextsAreInTheLanguageOfTheInterface)
{
    const bool chinese = PRIMARYLANGID(::GetUserDefaultUILanguage()) == LANG_CHINESE;
    const LanguageTexts& texts = chinese ? kChineseTexts : kEnglishTexts;
    script.Then([&] {
        EXPECT_EQ(MenuText(::GetSystemMenu(dialog.m_hWnd, FALSE), IDM_ABOUTBOX), texts.aboutItem);
        Close(IDCANCEL);
    });
    Run();
}

// Why a control's text does not fit its client area as drawn with its font; empty when it
// fits. Labels wrap at word breaks; a button's text needs room beside its check box or
// within its frame, a group box's within the frame's corners.
std::wstring Misfit(HWND control)
{
    wchar_t className[32] = {};
    ::GetClassNameW(control, className, 32);
    const std::wstring kind = className;
    const LONG style = ::GetWindowLongW(control, GWL_STYLE);
    const std::wstring text = ShownTextOf(control);
    const bool label = kind == L"Static" && (style & SS_TYPEMASK) <= SS_RIGHT;
    const bool button = kind == L"Button" && !(style & (BS_BITMAP | BS_ICON));
    if (text.empty() || !(label || button)) return {};

    HDC dc = ::GetDC(control);
    HGDIOBJ before = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(control, WM_GETFONT, 0, 0)));
    TEXTMETRICW font;
    ::GetTextMetricsW(dc, &font);
    RECT client;
    ::GetClientRect(control, &client);
    int room = client.right;
    UINT format = DT_CALCRECT | DT_SINGLELINE;
    const LONG type = style & BS_TYPEMASK;
    if (label) {
        format = DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS | ((style & SS_NOPREFIX) ? DT_NOPREFIX : 0);
    } else if (type == BS_GROUPBOX) {
        room -= font.tmHeight;
    } else if (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON) {
        room -= ::GetSystemMetrics(SM_CXMENUCHECK) + font.tmAveCharWidth / 2;
    } else {
        room -= 2 * ::GetSystemMetrics(SM_CXEDGE) + 2;  // the frame and the focus rectangle
    }
    RECT drawn = {0, 0, room, 0};
    ::DrawTextW(dc, text.c_str(), -1, &drawn, format);
    ::SelectObject(dc, before);
    ::ReleaseDC(control, dc);
    if (drawn.right <= room && drawn.bottom <= client.bottom) return {};
    return L"\"" + text + L"\" needs " + std::to_wstring(drawn.right) + L" x " + std::to_wstring(drawn.bottom) +
           L", has " + std::to_wstring(room) + L" x " + std::to_wstring(client.bottom);
}

INT_PTR CALLBACK PlainDialog(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// The misfits of every control of dialog template `id` in the shown language.
std::vector<std::wstring> MisfitsOfDialog(UINT id)
{
    const auto* dialogTemplate = static_cast<const DLGTEMPLATE*>(AfxLoadLocalizedResource(id, RT_DIALOG));
    HWND dialog = ::CreateDialogIndirectParamW(AfxGetInstanceHandle(), dialogTemplate, nullptr, PlainDialog, 0);
    std::vector<std::wstring> misfits;
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        const std::wstring misfit = Misfit(child);
        if (!misfit.empty()) misfits.push_back(misfit);
    }
    ::DestroyWindow(dialog);
    return misfits;
}

// Runs at the prefix's system DPI, and once more at 144 and at 192 DPI each on its own
// (VANTOR_TEST_DPI names the DPI that run must have).
TEST(TextFit, EveryTextFitsItsControlInBothLanguages)
{
    HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    if (const char* expected = std::getenv("VANTOR_TEST_DPI")) {
        ASSERT_EQ(dpi, std::atoi(expected));
    }
    const LANGID interfaceLanguage = AfxGetResourceLanguage();
    for (LANGID language : {kEnglishLanguage, kChinese}) {
        AfxSetResourceLanguage(language);
        for (UINT id : {IDD_CONFIG_DIALOG, IDD_GAME_NAME, IDD_ABOUTBOX})
            EXPECT_EQ(MisfitsOfDialog(id), std::vector<std::wstring>{}) << "dialog " << id << ", language " << language << ", " << dpi << " DPI";
    }
    AfxSetResourceLanguage(interfaceLanguage);
}

}  // namespace
