// Input as a person gives it, posted to the thread's queue so that it passes the modal
// loop, and what a person sees: texts, check states and pixels of windows.
#pragma once

#include <cstdint>
#include <string>

#include <windows.h>

// The flags of a key message for the key at `position` (0xE0 in the high byte for an
// extended key); `alt` marks a key pressed with Alt.
LPARAM KeyMessageParam(uint16_t position, bool release, bool alt = false);
// A key press and release as the keyboard delivers it, to the window with the focus.
void PressKey(UINT virtualKey);
// The same for the key at `position` (its scan code, 0xE0 in the high byte for an extended
// key) that the layout or an input method made `virtualKey`.
void PressKeyAt(uint16_t position, UINT virtualKey);
// A system key: Alt or F10, or with `withAlt` a key pressed while Alt is down.
void PressSystemKeyAt(uint16_t position, UINT virtualKey, bool withAlt);
// A left click (press and release) at the centre of a window, or at a client point.
void ClickAt(HWND hWnd);
void ClickAt(HWND hWnd, POINT client);
void DoubleClickAt(HWND hWnd, POINT client);
void RightClickAt(HWND hWnd, POINT client);
// Centre of a list row in the list's client coordinates.
POINT ListRowCentre(HWND list, int row);

// The text of a window in the ANSI code page (names, key names) and as it shows.
std::string TextOf(HWND hWnd);
std::wstring ShownTextOf(HWND hWnd);
// The texts of all child windows as they show, one per line: what a message box says.
std::wstring ChildTexts(HWND hWnd);
// Types text into a window character by character, as WM_CHAR messages.
void TypeText(HWND hWnd, const std::string& text);
// Whether a list row, repainted now, shows a mark: anything but its background in the
// square before its name, whatever the colours.
bool RowShowsMark(HWND list, int row);
// The contrast of a list row's name, repainted now: its most distinct pixel right of the
// marks' square against the row's background.
double RowTextContrast(HWND list, int row);
// Whether a window, once what is due is painted, shows any pixel of the colour, in all of
// its client area or in a rectangle of it.
bool ShowsColour(HWND hWnd, COLORREF colour);
bool RectShowsColour(HWND hWnd, const RECT& rect, COLORREF colour);
// The square right of a key box, where its warning sign stands, in the dialog's client
// coordinates.
RECT BesideBox(HWND dialog, HWND box);
// The colour of a pixel of a window's client area as it is drawn on screen.
COLORREF PixelAt(HWND hWnd, POINT client);
