#include "GuiInput.h"

#include <algorithm>
#include <vector>

#include "Contrast.h"

namespace {

void PostKeyPress(UINT down, UINT up, UINT virtualKey, uint16_t position, bool alt = false)
{
    HWND focus = ::GetFocus();
    ::PostMessageA(focus, down, virtualKey, KeyMessageParam(position, false, alt));
    ::PostMessageA(focus, up, virtualKey, KeyMessageParam(position, true, alt));
}

LPARAM PointParam(POINT point) { return MAKELPARAM(point.x, point.y); }

POINT ClientCentre(HWND hWnd)
{
    RECT client;
    ::GetClientRect(hWnd, &client);
    return {client.right / 2, client.bottom / 2};
}

}  // namespace

LPARAM KeyMessageParam(uint16_t position, bool release, bool alt)
{
    LPARAM lParam = 1 | (static_cast<LPARAM>(position & 0xFF) << 16);
    if (position >> 8 == 0xE0) lParam |= 1 << 24;
    if (alt) lParam |= 1 << 29;
    if (release) lParam |= (1u << 30) | (1u << 31);
    return lParam;
}

void PressKey(UINT virtualKey)
{
    PostKeyPress(WM_KEYDOWN, WM_KEYUP, virtualKey, static_cast<uint16_t>(::MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC)));
}

void PressKeyAt(uint16_t position, UINT virtualKey) { PostKeyPress(WM_KEYDOWN, WM_KEYUP, virtualKey, position); }

void PressSystemKeyAt(uint16_t position, UINT virtualKey, bool withAlt)
{
    PostKeyPress(WM_SYSKEYDOWN, WM_SYSKEYUP, virtualKey, position, withAlt);
}

void ClickAt(HWND hWnd) { ClickAt(hWnd, ClientCentre(hWnd)); }

void ClickAt(HWND hWnd, POINT client)
{
    ::PostMessageA(hWnd, WM_LBUTTONDOWN, MK_LBUTTON, PointParam(client));
    ::PostMessageA(hWnd, WM_LBUTTONUP, 0, PointParam(client));
}

void DoubleClickAt(HWND hWnd, POINT client)
{
    ClickAt(hWnd, client);
    ::PostMessageA(hWnd, WM_LBUTTONDBLCLK, MK_LBUTTON, PointParam(client));
    ::PostMessageA(hWnd, WM_LBUTTONUP, 0, PointParam(client));
}

void RightClickAt(HWND hWnd, POINT client)
{
    ::PostMessageA(hWnd, WM_RBUTTONDOWN, MK_RBUTTON, PointParam(client));
    ::PostMessageA(hWnd, WM_RBUTTONUP, 0, PointParam(client));
}

POINT ListRowCentre(HWND list, int row)
{
    RECT rect = {};
    ::SendMessageA(list, LB_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rect));
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

std::string TextOf(HWND hWnd)
{
    std::vector<char> text(::GetWindowTextLengthA(hWnd) + 1);
    ::GetWindowTextA(hWnd, text.data(), static_cast<int>(text.size()));
    return text.data();
}

std::wstring ShownTextOf(HWND hWnd)
{
    std::vector<wchar_t> text(::GetWindowTextLengthW(hWnd) + 1);
    ::GetWindowTextW(hWnd, text.data(), static_cast<int>(text.size()));
    return text.data();
}

namespace {

BOOL CALLBACK AppendChildText(HWND child, LPARAM lParam)
{
    *reinterpret_cast<std::wstring*>(lParam) += ShownTextOf(child) + L"\n";
    return TRUE;
}

}  // namespace

std::wstring ChildTexts(HWND hWnd)
{
    std::wstring texts;
    ::EnumChildWindows(hWnd, AppendChildText, reinterpret_cast<LPARAM>(&texts));
    return texts;
}

void TypeText(HWND hWnd, const std::string& text)
{
    for (unsigned char c : text) ::PostMessageA(hWnd, WM_CHAR, c, 1);
}

RECT BesideBox(HWND dialog, HWND box)
{
    RECT rect;
    ::GetWindowRect(box, &rect);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return {rect.right, rect.top, rect.right + rect.bottom - rect.top, rect.bottom};
}

COLORREF PixelAt(HWND hWnd, POINT client)
{
    ::UpdateWindow(hWnd);
    HDC dc = ::GetDC(hWnd);
    const COLORREF colour = ::GetPixel(dc, client.x, client.y);
    ::ReleaseDC(hWnd, dc);
    return colour;
}

bool RectShowsColour(HWND hWnd, const RECT& rect, COLORREF colour)
{
    ::UpdateWindow(hWnd);
    HDC dc = ::GetDC(hWnd);
    bool found = false;
    for (int y = rect.top; y < rect.bottom && !found; ++y)
        for (int x = rect.left; x < rect.right && !found; ++x) found = ::GetPixel(dc, x, y) == colour;
    ::ReleaseDC(hWnd, dc);
    return found;
}

double RowTextContrast(HWND list, int row)
{
    RECT rect = {};
    ::SendMessageA(list, LB_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rect));
    ::InvalidateRect(list, nullptr, TRUE);
    ::UpdateWindow(list);
    HDC dc = ::GetDC(list);
    const COLORREF background = ::GetPixel(dc, rect.right - 2, rect.bottom - 2);
    double most = 1;
    for (int y = rect.top + 1; y < rect.bottom - 1; ++y)
        for (int x = rect.left + (rect.bottom - rect.top); x < rect.right - 1; ++x)
            most = std::max(most, ContrastRatio(::GetPixel(dc, x, y), background));
    ::ReleaseDC(list, dc);
    return most;
}

bool RowShowsMark(HWND list, int row)
{
    RECT rect = {};
    ::SendMessageA(list, LB_GETITEMRECT, row, reinterpret_cast<LPARAM>(&rect));
    ::InvalidateRect(list, nullptr, TRUE);
    ::UpdateWindow(list);
    HDC dc = ::GetDC(list);
    const COLORREF background = ::GetPixel(dc, rect.right - 2, rect.bottom - 2);
    bool found = false;
    for (int y = rect.top + 1; y < rect.bottom - 1 && !found; ++y)
        for (int x = rect.left + 1; x < rect.left + (rect.bottom - rect.top) && !found; ++x)
            found = ::GetPixel(dc, x, y) != background;
    ::ReleaseDC(list, dc);
    return found;
}

bool ShowsColour(HWND hWnd, COLORREF colour)
{
    RECT client;
    ::GetClientRect(hWnd, &client);
    return RectShowsColour(hWnd, client, colour);
}
