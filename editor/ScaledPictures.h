// Pictures at the display's scale. Every bitmap of the window is drawn at 100, 125, 150
// and 200 % (96, 120, 144 and 192 DPI); any other scale gets the 200 % drawing resampled.
// The pictures sit on the system's button face, whatever face they were drawn on.
#pragma once

#include <vector>

#include <windows.h>

// The system's GetDpiForWindow, which Windows has from 10 version 1607 on; null before.
using DpiForWindowFunction = UINT(WINAPI*)(HWND);
DpiForWindowFunction SystemDpiForWindow();

// The DPI a window is drawn at: its monitor's when the window follows its monitor's scale,
// the system's when it follows the system's. `dpiForWindow` is the system's
// GetDpiForWindow; null, as before Windows 10 1607, the window follows the system's scale.
UINT WindowDpi(HWND hWnd, DpiForWindowFunction dpiForWindow);

// Bitmaps a window shows, all loaded at one DPI and deleted with the set.
class CScaledPictures {
public:
    explicit CScaledPictures(UINT dpi) : m_dpi(dpi) {}
    CScaledPictures(const CScaledPictures&) = delete;
    // Takes the other set's bitmaps and leaves it ours: the set shown before is deleted
    // with the set it was replaced by.
    CScaledPictures& operator=(CScaledPictures&& other) noexcept;
    ~CScaledPictures();

    // Bitmap resource `id` (the 100 % one's ID) at the set's DPI, kept by the set; null
    // when the resource is missing.
    HBITMAP Load(UINT id);
    bool Holds(HGDIOBJ picture) const;
    UINT Dpi() const { return m_dpi; }

private:
    UINT m_dpi;
    std::vector<HBITMAP> m_bitmaps;
};
