// CPaintDC: the painting context of one WM_PAINT, begun on construction, ended on
// destruction.
#pragma once

#include <windows.h>

class CWnd;

class CPaintDC {
public:
    explicit CPaintDC(CWnd* pWnd);
    CPaintDC(const CPaintDC&) = delete;
    CPaintDC& operator=(const CPaintDC&) = delete;
    ~CPaintDC();

    HDC m_hDC;

    HDC GetSafeHdc() const { return m_hDC; }
    BOOL DrawIcon(int x, int y, HICON hIcon);

private:
    HWND m_hWnd;
    PAINTSTRUCT m_ps;
};
