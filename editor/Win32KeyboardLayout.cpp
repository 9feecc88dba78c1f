#include "Win32KeyboardLayout.h"

#include <windows.h>

uint8_t Win32KeyboardLayout::VirtualKeyAt(uint16_t position) const
{
    return static_cast<uint8_t>(MapVirtualKeyExW(position, MAPVK_VSC_TO_VK_EX, GetKeyboardLayout(0)));
}

// An extended key's scan code comes with 0xE0 in the high byte, as the key table holds it.
uint16_t Win32KeyboardLayout::PositionOf(uint8_t virtualKey) const
{
    return static_cast<uint16_t>(MapVirtualKeyExW(virtualKey, MAPVK_VK_TO_VSC_EX, GetKeyboardLayout(0)));
}

// The character stays wide: a key box shows it whatever the ANSI code page can write.
std::wstring Win32KeyboardLayout::CharacterOf(uint8_t virtualKey) const
{
    // The low word is the character; the top bit marks a dead key, which types its accent.
    wchar_t character = static_cast<wchar_t>(MapVirtualKeyExW(virtualKey, MAPVK_VK_TO_CHAR, GetKeyboardLayout(0)));
    if (character == 0) return {};
    CharUpperBuffW(&character, 1);
    return std::wstring(1, character);
}
