// The user's keyboard layout, as far as key names need it: which virtual key it gives the
// key at a position, and which character a virtual key types.
#pragma once

#include <cstdint>
#include <string>

class KeyboardLayout {
public:
    virtual ~KeyboardLayout() = default;
    // The virtual-key code of the key at `position` (as the key table holds positions);
    // 0 when the layout has no key there.
    virtual uint8_t VirtualKeyAt(uint16_t position) const = 0;
    // The character that `virtualKey` types without Shift, upper-cased, as ANSI text;
    // empty when it types none or the ANSI code page cannot write it.
    virtual std::string CharacterOf(uint8_t virtualKey) const = 0;
};
