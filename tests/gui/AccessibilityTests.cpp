// The window for people who do not see it as a sighted mouse user does: every control's
// name as a screen reader reads it through MSAA in both languages, the list's contrast,
// and a high-contrast palette followed with no colour of the window's own.
#include <oleacc.h>

#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "ConfigDlgHarness.h"
#include "Contrast.h"
#include "KeyTable.h"

namespace {

constexpr LANGID kChinese = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);
// Spelled out: MinGW's import library binds IID_IAccessible to a thunk.
constexpr IID kIidAccessible = {0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

// What a screen reader reads as the name of a control; a text in brackets when it reads none.
std::wstring AccessibleName(HWND control)
{
    IAccessible* accessible = nullptr;
    if (FAILED(::AccessibleObjectFromWindow(control, OBJID_CLIENT, kIidAccessible, reinterpret_cast<void**>(&accessible))))
        return L"(no accessible object)";
    VARIANT self;
    ::VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    std::wstring result = L"(no name)";
    if (SUCCEEDED(accessible->get_accName(self, &name)) && name) result = name;
    ::SysFreeString(name);
    accessible->Release();
    return result;
}

bool TakesInput(HWND control)
{
    wchar_t className[32] = {};
    ::GetClassNameW(control, className, 32);
    const std::wstring kind = className;
    const LONG style = ::GetWindowLongW(control, GWL_STYLE);
    if (kind == L"Button") return (style & BS_TYPEMASK) != BS_GROUPBOX;
    return kind == L"Edit" || kind == L"ListBox" || kind == TRACKBAR_CLASSW;
}

struct ExpectedName {
    int id;
    const wchar_t* english;
    const wchar_t* chinese;
};

// The names the pictures and labels of the window stand for, in template order.
const ExpectedName kNames[] = {
    {IDC_KEY_A, L"A", L"A"},
    {IDC_KEY_B, L"B", L"B"},
    {IDC_KEY_X, L"X", L"X"},
    {IDC_KEY_Y, L"Y", L"Y"},
    {IDC_KEY_L1, L"L1 trigger", L"L1 扳机"},
    {IDC_KEY_R1, L"R1 trigger", L"R1 扳机"},
    {IDC_KEY_TRIANGLE_RIGHT, L"Right triangle", L"右三角"},
    {IDC_KEY_TRIANGLE_LEFT, L"Left triangle", L"左三角"},
    {IDC_KEY_WHITE, L"White", L"白色按钮"},
    {IDC_KEY_BLACK, L"Black", L"黑色按钮"},
    {IDC_KEY_ROUND, L"Round", L"圆形按钮"},
    {IDC_KEY_RINGED_ROUND, L"Ringed round", L"带环圆形按钮"},
    {IDC_KEY_DPAD_UP, L"D-pad up", L"方向键上"},
    {IDC_KEY_DPAD_RIGHT, L"D-pad right", L"方向键右"},
    {IDC_KEY_DPAD_DOWN, L"D-pad down", L"方向键下"},
    {IDC_KEY_DPAD_LEFT, L"D-pad left", L"方向键左"},
    {IDC_KEY_STICK_LEFT, L"Stick left", L"摇杆左"},
    {IDC_KEY_STICK_RIGHT, L"Stick right", L"摇杆右"},
    {IDC_KEY_STICK_UP, L"Stick up", L"摇杆上"},
    {IDC_KEY_STICK_DOWN, L"Stick down", L"摇杆下"},
    {IDC_PROFILE_LIST, L"Profiles", L"游戏配置列表"},
    {IDC_SPEED, L"Mouse speed", L"鼠标速度"},
    {IDC_AXIS_MODE, L"KeyBoard To X,Y Axis", L"键盘控制 X、Y 轴"},
    {IDC_COMBO_KEY, L"Combination key", L"组合键按键"},
};

// The pad buttons of the combination and of the mouse rows, by column.
const std::pair<const wchar_t*, const wchar_t*> kPadButtons[kPadButtonCount] = {
    {L"L1", L"L1"}, {L"A", L"A"}, {L"B", L"B"}, {L"X", L"X"}, {L"Y", L"Y"},
    {L"Black", L"黑色按钮"}, {L"White", L"白色按钮"}, {L"R1", L"R1"}};
struct ExpectedRow {
    int first;
    const wchar_t* english;
    const wchar_t* chinese;
};
const ExpectedRow kButtonRows[] = {{IDC_COMBO_FIRST, L"Combination: ", L"组合键："},
                                   {IDC_LEFT_FIRST, L"Left button: ", L"左键："},
                                   {IDC_MIDDLE_FIRST, L"Middle button: ", L"中键："},
                                   {IDC_RIGHT_FIRST, L"Right button: ", L"右键："}};

std::map<int, std::wstring> ExpectedNames(bool chinese)
{
    std::map<int, std::wstring> names;
    for (const ExpectedName& name : kNames) names[name.id] = chinese ? name.chinese : name.english;
    for (const ExpectedRow& row : kButtonRows)
        for (int column = 0; column < kPadButtonCount; ++column)
            names[row.first + column] = std::wstring(chinese ? row.chinese : row.english) +
                                        (chinese ? kPadButtons[column].second : kPadButtons[column].first);
    return names;
}

class ScreenReaderNamesTest : public ConfigDlgTest, public ::testing::WithParamInterface<LANGID> {
protected:
    ScreenReaderNamesTest()
    {
        ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        AfxSetResourceLanguage(GetParam());
    }
    ~ScreenReaderNamesTest() override
    {
        AfxSetResourceLanguage(m_interfaceLanguage);
        ::CoUninitialize();
    }

private:
    const LANGID m_interfaceLanguage = AfxGetResourceLanguage();
};

// Before, the axis box alone had a name of its own: key boxes and the list read none, the
// slider "Slider1", the combination's check boxes all "Check2".
TEST_P(ScreenReaderNamesTest, EveryControlThatTakesInputHasItsOwnNameInTheWindowsLanguage)
{
    UseSlot(0, "Game");
    const std::map<int, std::wstring> expected = ExpectedNames(GetParam() == kChinese);
    script.Then([&] {
        std::set<std::wstring> distinct;
        int controls = 0;
        for (HWND child = ::GetWindow(dialog.m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
            if (!TakesInput(child)) continue;
            ++controls;
            const int id = ::GetDlgCtrlID(child);
            const std::wstring name = AccessibleName(child);
            EXPECT_TRUE(distinct.insert(name).second) << "control " << id << " shares its name";
            EXPECT_FALSE(name.empty() || name[0] == L'(') << "control " << id;
            const auto wanted = expected.find(id);
            if (wanted != expected.end()) {
                EXPECT_EQ(name, wanted->second) << "control " << id;
            }
        }
        EXPECT_EQ(controls, 61);  // 56 that edit a profile or pick one, and five push buttons
        Close(IDCANCEL);
    });
    Run();
}

// A key that two key boxes hold is said in their names, for as long as that lasts.
TEST_P(ScreenReaderNamesTest, KeyBoxesOfARepeatedKeySayItInTheirNames)
{
    const bool chinese = GetParam() == kChinese;
    UseSlot(0, "Game").keySlots[5] = KeyCodeFromName("Q");  // X
    Record(0).keySlots[6] = KeyCodeFromName("Q");             // Y
    script
        .Then([&] {
            EXPECT_EQ(AccessibleName(Item(IDC_KEY_X)), chinese ? L"X，按键重复" : L"X, key used twice");
            EXPECT_EQ(AccessibleName(Item(IDC_KEY_Y)), chinese ? L"Y，按键重复" : L"Y, key used twice");
            EXPECT_EQ(AccessibleName(Item(IDC_KEY_A)), L"A");
            SetKeyBox(IDC_KEY_Y, "R");
        })
        .Then([&] {
            EXPECT_EQ(AccessibleName(Item(IDC_KEY_X)), L"X");
            EXPECT_EQ(AccessibleName(Item(IDC_KEY_Y)), L"Y");
            Close(IDCANCEL);
        });
    Run();
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, ScreenReaderNamesTest, ::testing::Values(kEnglishLanguage, kChinese),
                         [](const ::testing::TestParamInfo<LANGID>& info) {
                             return info.param == kChinese ? "Chinese" : "English";
                         });

// The measure the list's colours and these tests rely on, against figures the guidelines'
// formula gives: red on Wine's highlight was the selected active row before.
TEST(Contrast, RatiosAreTheGuidelinesOnes)
{
    EXPECT_DOUBLE_EQ(ContrastRatio(0x000000, 0xFFFFFF), 21.0);
    EXPECT_DOUBLE_EQ(ContrastRatio(0x123456, 0x123456), 1.0);
    EXPECT_NEAR(ContrastRatio(0x0000FF, 0xFA9630), 1.31, 0.005);  // red on Wine's highlight
    EXPECT_NEAR(ContrastRatio(0x0000FF, 0xD77800), 1.13, 0.005);  // red on Windows 10's
    EXPECT_NEAR(ContrastRatio(0xFFFFFF, 0xD77800), 4.50, 0.005);  // white on Windows 10's
}

// The selected active row, and the others, read at 4.5:1 at least: before, the selected
// active row was red on the highlight, 1.31:1 under Wine.
TEST_F(ConfigDlgTest, ProfileNamesReadAtFourAndAHalfToOneSelectedAndActiveOrNot)
{
    UseSlot(0, "Alpha");
    UseSlot(1, "Beta");
    Header().activeProfile = 0;
    script.Then([&] {
        ASSERT_EQ(ListSelection(), 0);
        ASSERT_TRUE(RowShowsMark(List(), 0));
        EXPECT_GE(RowTextContrast(List(), 0), 4.5);
        EXPECT_GE(RowTextContrast(List(), 1), 4.5);
        Close(IDCANCEL);
    });
    Run();
}

// A palette of the system's, set for the span of a test and restored afterwards.
class SystemPalette {
public:
    explicit SystemPalette(const std::vector<std::pair<int, COLORREF>>& colours)
    {
        std::vector<int> elements;
        std::vector<COLORREF> values;
        for (const auto& [element, value] : colours) {
            elements.push_back(element);
            values.push_back(value);
            m_before.emplace_back(element, ::GetSysColor(element));
        }
        ::SetSysColors(static_cast<int>(elements.size()), elements.data(), values.data());
    }
    ~SystemPalette()
    {
        for (const auto& [element, value] : m_before) ::SetSysColors(1, &element, &value);
    }
    SystemPalette(const SystemPalette&) = delete;
    SystemPalette& operator=(const SystemPalette&) = delete;

private:
    std::vector<std::pair<int, COLORREF>> m_before;
};

constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kBlack = 0x000000;
constexpr COLORREF kDrawnFace = 0xF0F0F0;         // the pictures' own background
constexpr COLORREF kRepeatedKeyColour = 0x0000C0;  // the warning colour outside high contrast

// The picture a picture control or a picture button shows; null for the logo, which keeps
// its own background, and for every other control.
HBITMAP PictureOf(HWND control)
{
    if (::GetDlgCtrlID(control) == IDC_LOGO) return nullptr;
    const LONG style = ::GetWindowLongW(control, GWL_STYLE);
    wchar_t className[16] = {};
    ::GetClassNameW(control, className, 16);
    if (std::wstring(className) == L"Static" && (style & SS_TYPEMASK) == SS_BITMAP)
        return reinterpret_cast<HBITMAP>(::SendMessageW(control, STM_GETIMAGE, IMAGE_BITMAP, 0));
    if (std::wstring(className) == L"Button" && (style & BS_BITMAP))
        return reinterpret_cast<HBITMAP>(::SendMessageW(control, BM_GETIMAGE, IMAGE_BITMAP, 0));
    return nullptr;
}

// Whether any pixel of a picture has the colour.
bool Holds(HBITMAP picture, COLORREF colour)
{
    BITMAP size = {};
    ::GetObjectW(picture, sizeof size, &size);
    BITMAPINFO format = {};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = size.bmWidth;
    format.bmiHeader.biHeight = size.bmHeight;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    std::vector<RGBQUAD> pixels(static_cast<size_t>(size.bmWidth) * size.bmHeight);
    HDC screen = ::GetDC(nullptr);
    ::GetDIBits(screen, picture, 0, size.bmHeight, pixels.data(), &format, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    return std::any_of(pixels.begin(), pixels.end(), [colour](const RGBQUAD& pixel) {
        return RGB(pixel.rgbRed, pixel.rgbGreen, pixel.rgbBlue) == colour;
    });
}

// High contrast switched on while the window is open, on a black palette: the window
// follows at once, and nothing shows a colour of the window's own: the pictures sit on the
// new face instead of their grey one, the warning red is gone, the list and the repeated
// key's sign take the system's colours. (Text smoothed on black has greys of its own.)
TEST_F(ConfigDlgTest, HighContrastPaletteIsFollowedAtOnceWithNoColourOfTheWindowsOwn)
{
    UseSlot(0, "Alpha").keySlots[5] = KeyCodeFromName("Q");  // X
    Record(0).keySlots[6] = KeyCodeFromName("Q");              // Y
    UseSlot(1, "Beta");
    Header().activeProfile = 0;
    std::unique_ptr<SystemPalette> palette;
    script
        .Then([&] {
            ASSERT_TRUE(ShowsColour(Item(IDC_KEY_X), kRepeatedKeyColour));
            palette = std::make_unique<SystemPalette>(std::vector<std::pair<int, COLORREF>>{
                {COLOR_WINDOW, kBlack}, {COLOR_WINDOWTEXT, kWhite}, {COLOR_BTNFACE, kBlack}, {COLOR_BTNTEXT, kWhite},
                {COLOR_HIGHLIGHT, 0xFFEB1A}, {COLOR_HIGHLIGHTTEXT, kBlack}, {COLOR_BTNHIGHLIGHT, 0x00FF00}});
            dialog.m_bHighContrast = true;
            ::SendMessageW(dialog.m_hWnd, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
        })
        .Then([&] {
            for (HWND child = ::GetWindow(dialog.m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
                if (!::IsWindowVisible(child)) continue;
                EXPECT_FALSE(ShowsColour(child, kRepeatedKeyColour)) << ::GetDlgCtrlID(child);
                if (HBITMAP picture = PictureOf(child)) {
                    EXPECT_FALSE(Holds(picture, kDrawnFace)) << ::GetDlgCtrlID(child);
                    EXPECT_TRUE(Holds(picture, kBlack)) << ::GetDlgCtrlID(child);
                }
            }
            EXPECT_TRUE(RectShowsColour(dialog.m_hWnd, BesideBox(dialog.m_hWnd, Item(IDC_KEY_X)), kWhite));
            EXPECT_FALSE(ShowsColour(dialog.m_hWnd, kRepeatedKeyColour));
            RECT first;
            ::SendMessageA(List(), LB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
            EXPECT_EQ(PixelAt(List(), {first.right - 2, first.bottom - 2}), 0xFFEB1Au);
            EXPECT_GE(RowTextContrast(List(), 0), 4.5);
            EXPECT_GE(RowTextContrast(List(), 1), 4.5);
            RECT second;
            ::SendMessageA(List(), LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second));
            EXPECT_EQ(PixelAt(List(), {second.right - 2, second.bottom - 2}), kBlack);
            Close(IDCANCEL);
        });
    Run();
}

}  // namespace
