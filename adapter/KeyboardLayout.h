// The user's keyboard layout, as far as key names need it: which virtual key it gives the
// key at a position, where the key of a virtual key stands, and which character a virtual
// key types.
#pragma once

#include <cstdint>
#include <string>

class KeyboardLayout {
public:
    virtual ~KeyboardLayout() = default;
    // The virtual-key code of the key at `position` (as the key table holds positions);
    // 0 when the layout has no key there.
    virtual uint8_t VirtualKeyAt(uint16_t position) const = 0;
    // The position of the key that gives `virtualKey`; 0 when the layout has none.
    virtual uint16_t PositionOf(uint8_t virtualKey) const = 0;
    // The character that `virtualKey` types without Shift, upper-cased (a dead key's
    // accent); empty when it types none.
    virtual std::wstring CharacterOf(uint8_t virtualKey) const = 0;
};
