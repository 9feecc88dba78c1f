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

// How `layout` labels the key at `position`: a letter or digit by its name, punctuation by
// the character it types (by the US name of its virtual key when the code page cannot
// write that character); empty for a key that types no character.
std::string LabelAt(const KeyboardLayout& layout, uint16_t position)
{
    const uint8_t virtualKey = layout.VirtualKeyAt(position);
    if (IsLetterOrDigit(virtualKey)) return KeyNameFromVirtualKey(virtualKey);
    if (!IsPunctuation(virtualKey)) return {};
    const std::string character = layout.CharacterOf(virtualKey);
    if (!character.empty()) return character;
    const char* usName = KeyNameFromVirtualKey(virtualKey);
    return usName ? usName : "";
}

}  // namespace

KeyNames::KeyNames(const KeyboardLayout& layout)
{
    for (const KeyEntry& row : KeyTable)
        if (IsCharacterRow(row)) m_labels[RowIndex(row)] = LabelAt(layout, row.position);
}

std::string KeyNames::NameAtPosition(uint16_t position) const { return NameOfRow(KeyRowAtPosition(position)); }

std::string KeyNames::NameOfCode(uint8_t code) const { return NameOfRow(KeyRowOfCode(code)); }

std::string KeyNames::NameOfRow(const KeyEntry* row) const
{
    if (!row) return {};
    const std::string& label = m_labels[RowIndex(*row)];
    return label.empty() ? row->name : label;
}

uint8_t KeyNames::CodeOfName(const std::string& text) const
{
    if (text.empty()) return 0;
    for (const KeyEntry& row : KeyTable)
        if (m_labels[RowIndex(row)] == text) return row.keyCode;
    return KeyCodeFromName(text.c_str());
}
