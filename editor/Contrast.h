// Text that reads: the contrast of two colours as the Web Content Accessibility Guidelines
// measure it, and a text colour of the system's chosen to reach their 4.5:1.
#pragma once

#include <initializer_list>

#include <windows.h>

constexpr double kReadableContrast = 4.5;

// From 1 (the same luminance) to 21 (black on white).
double ContrastRatio(COLORREF one, COLORREF other);

// The first of the system colours `candidates` (COLOR_ indexes) that reads on `background`
// at kReadableContrast; the one that reads best when none does.
COLORREF ReadableSystemColour(COLORREF background, std::initializer_list<int> candidates);
