#include "ScaledPictures.h"

#include <algorithm>
#include <utility>

#include "Afx.h"
#include "resource.h"

namespace {

struct DrawnScale {
    UINT dpi;
    UINT idOffset;  // added to the 100 % picture's ID
};
constexpr DrawnScale kDrawnScales[] = {{96, 0}, {120, IDB_AT_125}, {144, IDB_AT_150}, {192, IDB_AT_200}};
constexpr DrawnScale kLargestDrawn = kDrawnScales[3];

HBITMAP LoadPicture(UINT id) { return LoadBitmapA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(id)); }

SIZE PictureSize(HBITMAP picture)
{
    BITMAP info = {};
    GetObjectA(picture, sizeof info, &info);
    return {info.bmWidth, info.bmHeight};
}

// `source` drawn at `size`, each pixel blended from the source pixels it covers, so that
// thin lines stay visible when the picture shrinks.
HBITMAP Resampled(HBITMAP source, SIZE size)
{
    const SIZE from = PictureSize(source);
    HDC screen = GetDC(nullptr);
    HDC sourceDC = CreateCompatibleDC(screen);
    HDC targetDC = CreateCompatibleDC(screen);
    HBITMAP target = CreateCompatibleBitmap(screen, size.cx, size.cy);
    HGDIOBJ sourceBefore = SelectObject(sourceDC, source);
    HGDIOBJ targetBefore = SelectObject(targetDC, target);
    SetStretchBltMode(targetDC, HALFTONE);
    SetBrushOrgEx(targetDC, 0, 0, nullptr);
    StretchBlt(targetDC, 0, 0, size.cx, size.cy, sourceDC, 0, 0, from.cx, from.cy, SRCCOPY);
    SelectObject(targetDC, targetBefore);
    SelectObject(sourceDC, sourceBefore);
    DeleteDC(targetDC);
    DeleteDC(sourceDC);
    ReleaseDC(nullptr, screen);
    return target;
}

HBITMAP LoadPictureAt(UINT id, UINT dpi)
{
    for (const DrawnScale& drawn : kDrawnScales) {
        if (drawn.dpi == dpi) return LoadPicture(id + drawn.idOffset);
    }
    HBITMAP largest = LoadPicture(id + kLargestDrawn.idOffset);
    if (!largest) return nullptr;
    const SIZE drawnSize = PictureSize(largest);
    HBITMAP picture = Resampled(largest, {MulDiv(drawnSize.cx, dpi, kLargestDrawn.dpi),
                                          MulDiv(drawnSize.cy, dpi, kLargestDrawn.dpi)});
    DeleteObject(largest);
    return picture;
}

}  // namespace

DpiForWindowFunction SystemDpiForWindow()
{
    return reinterpret_cast<DpiForWindowFunction>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow"));
}

UINT WindowDpi(HWND hWnd, DpiForWindowFunction dpiForWindow)
{
    // Windows before 10 1607 has no DPI per window: the window follows the system's scale
    // there, as the manifest asks. From 1607 on the system answers for the window's own
    // awareness, which is the system's on 1607 and its monitor's from 1703 on.
    if (dpiForWindow) {
        if (const UINT dpi = dpiForWindow(hWnd)) return dpi;
    }
    HDC dc = GetDC(hWnd);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(hWnd, dc);
    return static_cast<UINT>(dpi);
}

CScaledPictures& CScaledPictures::operator=(CScaledPictures&& other) noexcept
{
    std::swap(m_dpi, other.m_dpi);
    std::swap(m_bitmaps, other.m_bitmaps);
    return *this;
}

CScaledPictures::~CScaledPictures()
{
    for (HBITMAP picture : m_bitmaps) DeleteObject(picture);
}

HBITMAP CScaledPictures::Load(UINT id)
{
    HBITMAP picture = LoadPictureAt(id, m_dpi);
    if (picture) m_bitmaps.push_back(picture);
    return picture;
}

bool CScaledPictures::Holds(HGDIOBJ picture) const
{
    return std::find(m_bitmaps.begin(), m_bitmaps.end(), picture) != m_bitmaps.end();
}
