// Keyboard layouts for tests: the US layout as the key table names its keys, and others,
// each with the virtual keys and characters (upper-cased, a dead key's accent) that Windows
// gives their keys: French, German, Spanish and UK, and made-up ones where two positions
// type the same character (as on Turkish Q) or where the labels are letters that a Western
// code page cannot write (Cyrillic, Hebrew).
#pragma once

#include <map>
#include <string>

#include "KeyTable.h"
#include "KeyboardLayout.h"

class FakeLayout : public KeyboardLayout {
public:
    FakeLayout() = default;
    FakeLayout(std::map<uint16_t, uint8_t> moved, std::map<uint8_t, std::wstring> characters)
        : m_moved(std::move(moved)), m_characters(std::move(characters))
    {
    }

    uint8_t VirtualKeyAt(uint16_t position) const override
    {
        const auto moved = m_moved.find(position);
        if (moved != m_moved.end()) return moved->second;
        const KeyEntry* row = KeyRowAtPosition(position);
        return row ? row->virtualKey : 0;
    }
    uint16_t PositionOf(uint8_t virtualKey) const override
    {
        for (const auto& [position, movedKey] : m_moved)
            if (movedKey == virtualKey) return position;
        const KeyEntry* row = KeyRowOfVirtualKey(virtualKey);
        return row && VirtualKeyAt(row->position) == virtualKey ? row->position : 0;
    }
    std::wstring CharacterOf(uint8_t virtualKey) const override
    {
        const auto character = m_characters.find(virtualKey);
        if (character != m_characters.end()) return character->second;
        const char* usName = KeyNameFromVirtualKey(virtualKey);
        return usName && usName[1] == '\0' ? std::wstring(1, static_cast<wchar_t>(usName[0])) : L"";
    }

private:
    std::map<uint16_t, uint8_t> m_moved;             // position: the virtual key there
    std::map<uint8_t, std::wstring> m_characters;  // virtual key: what it types
};

// Positions by the US layout's labels.
constexpr uint16_t kPositionQ = 0x10, kPositionW = 0x11, kPositionY = 0x15, kPositionA = 0x1E,
                   kPositionSemicolon = 0x27, kPositionQuote = 0x28, kPositionZ = 0x2C, kPositionM = 0x32,
                   kPositionComma = 0x33, kPositionPeriod = 0x34, kPositionSlash = 0x35;

inline FakeLayout FrenchLayout()
{
    return FakeLayout({{kPositionQ, 'A'}, {kPositionA, 'Q'}, {kPositionW, 'Z'}, {kPositionZ, 'W'},
                       {kPositionSemicolon, 'M'}, {kPositionM, 0xBC}, {0x33, 0xBE}, {0x34, 0xBF},
                       {kPositionSlash, 0xDF}, {0x0C, 0xDB}, {0x0D, 0xBB}, {0x1A, 0xDD}, {0x1B, 0xBA},
                       {0x28, 0xC0}, {0x29, 0xDE}, {0x2B, 0xDC}},
                      {{0xBC, L","}, {0xBE, L";"}, {0xBF, L":"}, {0xDF, L"!"}, {0xDB, L")"}, {0xBB, L"="},
                       {0xDD, L"^"}, {0xBA, L"$"}, {0xC0, L"\u00D9"}, {0xDE, L"\u00B2"}, {0xDC, L"*"}});
}

inline FakeLayout GermanLayout()
{
    return FakeLayout({{kPositionY, 'Z'}, {kPositionZ, 'Y'}, {0x0C, 0xDB}, {0x0D, 0xDD}, {0x1A, 0xBA},
                       {0x1B, 0xBB}, {kPositionSemicolon, 0xC0}, {0x28, 0xDE}, {0x29, 0xDC}, {0x2B, 0xBF},
                       {kPositionSlash, 0xBD}},
                      {{0xDB, L"\u00DF"}, {0xDD, L"\u00B4"}, {0xBA, L"\u00DC"}, {0xBB, L"+"}, {0xC0, L"\u00D6"},
                       {0xDE, L"\u00C4"}, {0xDC, L"^"}, {0xBF, L"#"}, {0xBD, L"-"}});
}

inline FakeLayout SpanishLayout()
{
    return FakeLayout({{0x0C, 0xDB}, {0x0D, 0xDD}, {0x1A, 0xBA}, {0x1B, 0xBB}, {kPositionSemicolon, 0xC0},
                       {0x28, 0xDE}, {0x29, 0xDC}, {0x2B, 0xBF}, {kPositionSlash, 0xBD}},
                      {{0xDB, L"'"}, {0xDD, L"\u00A1"}, {0xBA, L"`"}, {0xBB, L"+"}, {0xC0, L"\u00D1"},
                       {0xDE, L"\u00B4"}, {0xDC, L"\u00BA"}, {0xBF, L"\u00C7"}, {0xBD, L"-"}});
}

inline FakeLayout UkLayout()
{
    return FakeLayout({{0x28, 0xC0}, {0x29, 0xDF}, {0x2B, 0xDE}}, {{0xC0, L"'"}, {0xDF, L"`"}, {0xDE, L"#"}});
}

// The key at the I position types a dotless i, named "I"; the key at the US quote's
// position types "i", upper-cased "I" too.
inline FakeLayout TurkishLikeLayout() { return FakeLayout({}, {{0xDE, L"I"}}); }

// Cyrillic letters on the punctuation keys; the "." sits where the US "/" does.
inline FakeLayout CyrillicLikeLayout()
{
    return FakeLayout({}, {{0xBC, L"\u0411"}, {0xBE, L"\u042E"}, {0xBF, L"."}, {0xDB, L"\u0425"}, {0xDD, L"\u042A"},
                           {0xBA, L"\u0416"}, {0xDE, L"\u042D"}, {0xC0, L"\u0401"}});
}

// Hebrew letters on the punctuation keys; the "," sits where the US quote does.
inline FakeLayout HebrewLikeLayout()
{
    return FakeLayout({}, {{0xBC, L"\u05EA"}, {0xBE, L"\u05E5"}, {0xBA, L"\u05E3"}, {0xDE, L","}, {0xBF, L"."}});
}
