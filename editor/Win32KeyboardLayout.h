// The keyboard layout of the window's thread, as Windows maps it.
#pragma once

#include "KeyboardLayout.h"

class Win32KeyboardLayout : public KeyboardLayout {
public:
    uint8_t VirtualKeyAt(uint16_t position) const override;
    uint16_t PositionOf(uint8_t virtualKey) const override;
    std::wstring CharacterOf(uint8_t virtualKey) const override;
};
