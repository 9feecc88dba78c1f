// Keyboard layouts for tests: the US layout as the key table names its keys, and the
// French and German ones, each with the virtual keys and characters that Windows gives
// their keys. Characters that a Chinese code page cannot write (the French ù and ², the
// German ß, Ü, Ö, Ä and the dead ´) type nothing here, as there.
#pragma once

#include <map>
#include <string>

#include "KeyTable.h"
#include "KeyboardLayout.h"

class FakeLayout : public KeyboardLayout {
public:
    FakeLayout() = default;
    FakeLayout(std::map<uint16_t, uint8_t> moved, std::map<uint8_t, std::string> characters)
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
    std::string CharacterOf(uint8_t virtualKey) const override
    {
        const auto character = m_characters.find(virtualKey);
        if (character != m_characters.end()) return character->second;
        const char* usName = KeyNameFromVirtualKey(virtualKey);
        return usName && usName[1] == '\0' ? usName : "";
    }

private:
    std::map<uint16_t, uint8_t> m_moved;            // position: the virtual key there
    std::map<uint8_t, std::string> m_characters;  // virtual key: what it types
};

// Positions by the US layout's labels.
constexpr uint16_t kPositionQ = 0x10, kPositionW = 0x11, kPositionY = 0x15, kPositionA = 0x1E,
                   kPositionSemicolon = 0x27, kPositionZ = 0x2C, kPositionM = 0x32, kPositionSlash = 0x35;

inline FakeLayout FrenchLayout()
{
    return FakeLayout({{kPositionQ, 'A'}, {kPositionA, 'Q'}, {kPositionW, 'Z'}, {kPositionZ, 'W'},
                       {kPositionSemicolon, 'M'}, {kPositionM, 0xBC}, {0x33, 0xBE}, {0x34, 0xBF},
                       {kPositionSlash, 0xDF}, {0x0C, 0xDB}, {0x0D, 0xBB}, {0x1A, 0xDD}, {0x1B, 0xBA},
                       {0x28, 0xC0}, {0x29, 0xDE}, {0x2B, 0xDC}},
                      {{0xBC, ","}, {0xBE, ";"}, {0xBF, ":"}, {0xDF, "!"}, {0xDB, ")"}, {0xBB, "="},
                       {0xDD, "^"}, {0xBA, "$"}, {0xC0, ""}, {0xDE, ""}, {0xDC, "*"}});
}

inline FakeLayout GermanLayout()
{
    return FakeLayout({{kPositionY, 'Z'}, {kPositionZ, 'Y'}, {0x0C, 0xDB}, {0x0D, 0xDD}, {0x1A, 0xBA},
                       {0x1B, 0xBB}, {kPositionSemicolon, 0xC0}, {0x28, 0xDE}, {0x29, 0xDC}, {0x2B, 0xBF},
                       {kPositionSlash, 0xBD}},
                      {{0xDB, ""}, {0xDD, ""}, {0xBA, ""}, {0xBB, "+"}, {0xC0, ""}, {0xDE, ""}, {0xDC, "^"},
                       {0xBF, "#"}, {0xBD, "-"}});
}
