#include "KeyNames.h"

namespace {

// Rows named by one character: the keys whose labels differ between layouts.
bool IsCharacterRow(const KeyEntry& row) { return row.name[0] != '\0' && row.name[1] == '\0'; }

bool IsLetterOrDigit(uint8_t virtualKey)
{
    return (virtualKey >= '0' && virtualKey <= '9') || (virtualKey >= 'A' && virtualKey <= 'Z');
}

// The punctuation keys' virtual keys (VK_OEM_1 to VK_OEM_102 and the layouts' own ones).
bool IsPunctuation(uint8_t virtualKey) { return virtualKey >= 0xBA && virtualKey <= 0xE4; }

// The table's names are ASCII.
std::wstring Widened(const char* name)
{
    return name ? std::wstring(name, name + std::char_traits<char>::length(name)) : L"";
}

// How `layout` labels the key at `position`: a letter or digit by its name, punctuation by
// the character it types (by the US name of its virtual key when it types none); empty for
// a key that types no character.
std::wstring LabelAt(const KeyboardLayout& layout, uint16_t position)
{
    const uint8_t virtualKey = layout.VirtualKeyAt(position);
    if (IsLetterOrDigit(virtualKey)) return Widened(KeyNameFromVirtualKey(virtualKey));
    if (!IsPunctuation(virtualKey)) return {};
    const std::wstring character = layout.CharacterOf(virtualKey);
    return character.empty() ? Widened(KeyNameFromVirtualKey(virtualKey)) : character;
}

}  // namespace

KeyNames::KeyNames(const KeyboardLayout& layout)
{
    for (const KeyEntry& row : KeyTable)
        if (IsCharacterRow(row)) m_labels[RowIndex(row)] = LabelAt(layout, row.position);
}

std::wstring KeyNames::NameAtPosition(uint16_t position) const
{
    const KeyEntry* row = KeyRowAtPosition(position);
    return row ? NameOfRow(*row) : L"";
}

std::wstring KeyNames::NameOfCode(uint8_t code) const
{
    if (code == 0) return {};
    if (const KeyEntry* row = KeyRowOfCode(code)) return NameOfRow(*row);
    const wchar_t digits[] = L"0123456789ABCDEF";
    return std::wstring(L"0x") + digits[code >> 4] + digits[code & 0xF];
}

std::wstring KeyNames::NameOfRow(const KeyEntry& row) const
{
    const std::wstring& label = m_labels[RowIndex(row)];
    return label.empty() ? Widened(row.name) : label;
}

uint16_t PositionOfVirtualKey(const KeyboardLayout& layout, uint8_t virtualKey)
{
    const KeyEntry* row = KeyRowOfVirtualKey(virtualKey);
    if (row && !IsCharacterRow(*row)) return row->position;
    return layout.PositionOf(virtualKey);
}
