#include "Win32KeyboardLayout.h"

#include <windows.h>

uint8_t Win32KeyboardLayout::VirtualKeyAt(uint16_t position) const
{
    return static_cast<uint8_t>(MapVirtualKeyExA(position, MAPVK_VSC_TO_VK_EX, GetKeyboardLayout(0)));
}

std::string Win32KeyboardLayout::CharacterOf(uint8_t virtualKey) const
{
    // The low word is the character; the top bit marks a dead key, which types its accent.
    wchar_t character = static_cast<wchar_t>(MapVirtualKeyExW(virtualKey, MAPVK_VK_TO_CHAR, GetKeyboardLayout(0)));
    if (character == 0) return {};
    CharUpperBuffW(&character, 1);
    char text[8];
    BOOL unwritable = FALSE;
    const int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, &character, 1, text, sizeof text, nullptr,
                                         &unwritable);
    return size > 0 && !unwritable ? std::string(text, static_cast<size_t>(size)) : std::string();
}
