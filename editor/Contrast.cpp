#include "Contrast.h"

#include <algorithm>
#include <cmath>

namespace {

double Linear(BYTE channel)
{
    const double value = channel / 255.0;
    return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

double Luminance(COLORREF colour)
{
    return 0.2126 * Linear(GetRValue(colour)) + 0.7152 * Linear(GetGValue(colour)) + 0.0722 * Linear(GetBValue(colour));
}

}  // namespace

double ContrastRatio(COLORREF one, COLORREF other)
{
    const double a = Luminance(one), b = Luminance(other);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

COLORREF ReadableSystemColour(COLORREF background, std::initializer_list<int> candidates)
{
    COLORREF best = GetSysColor(*candidates.begin());
    for (int candidate : candidates) {
        const COLORREF colour = GetSysColor(candidate);
        if (ContrastRatio(colour, background) >= kReadableContrast) return colour;
        if (ContrastRatio(colour, background) > ContrastRatio(best, background)) best = colour;
    }
    return best;
}
