#include "ScaledPictures.h"

#include <algorithm>
#include <iterator>
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

// The button face the pictures are drawn on (res/draw_pictures.py).
constexpr BYTE kDrawnFace = 240;

// Every pixel of the drawn button face of a 24-bit picture takes the system's, so that the
// picture sits on the window's own face, as high contrast makes it.
void OnSystemButtonFace(HBITMAP picture)
{
    DIBSECTION dib = {};
    if (GetObjectA(picture, sizeof dib, &dib) != sizeof dib || dib.dsBm.bmBitsPixel != 24) return;
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const BYTE blueGreenRed[] = {GetBValue(face), GetGValue(face), GetRValue(face)};
    GdiFlush();
    // A row of a DIB fills whole 32-bit words, whatever the bitmap's header says of it.
    const size_t rowBytes = (static_cast<size_t>(dib.dsBm.bmWidth) * 24 + 31) / 32 * 4;
    auto* rows = static_cast<BYTE*>(dib.dsBm.bmBits);
    for (LONG y = 0; y < dib.dsBm.bmHeight; ++y) {
        BYTE* pixel = rows + static_cast<size_t>(y) * rowBytes;
        for (LONG x = 0; x < dib.dsBm.bmWidth; ++x, pixel += 3) {
            if (pixel[0] == kDrawnFace && pixel[1] == kDrawnFace && pixel[2] == kDrawnFace)
                std::copy(std::begin(blueGreenRed), std::end(blueGreenRed), pixel);
        }
    }
}

// The 256-colour logo keeps its own background.
HBITMAP LoadPicture(UINT id)
{
    auto picture = static_cast<HBITMAP>(
        LoadImageA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (picture) OnSystemButtonFace(picture);
    return picture;
}

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
