// Key table: ties the adapter's one-byte key codes, the Windows virtual-key codes, the key
// names and the keys' positions on the keyboard together. The adapter's codes name
// positions: each row's name is the US layout's label of its position. Every lookup scans
// the rows in order and takes the first match, so codes that occur twice (0x4A, 0x4E) name
// the keypad key.
#pragma once

#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)
struct KeyEntry {
    uint8_t virtualKey;  // Windows VK_ code
    uint8_t keyCode;     // adapter key code
    char name[12];       // ANSI, NUL-padded
    uint16_t position;   // the key's scan code as a key message reports it, 0xE0 in the
                         // high byte for an extended key (arrows, Num /, ...)
};
#pragma pack(pop)
static_assert(sizeof(KeyEntry) == 16, "key table entries are packed 16-byte rows");

constexpr size_t kKeyTableRows = 96;
extern const KeyEntry KeyTable[kKeyTableRows];

// Adapter key code of the first row named exactly `text`, or 0 when no row is.
uint8_t KeyCodeFromName(const char* text);

// Name of the first row with adapter key code `code`, or nullptr.
const char* KeyNameFromCode(uint8_t code);

// Name of the first row with virtual-key code `virtualKey`, or nullptr.
const char* KeyNameFromVirtualKey(uint8_t virtualKey);

// The first row with adapter key code `code`, or nullptr.
const KeyEntry* KeyRowOfCode(uint8_t code);

// The first row with virtual-key code `virtualKey`, or nullptr.
const KeyEntry* KeyRowOfVirtualKey(uint8_t virtualKey);

// The row of the key at `position`, or nullptr. The right-hand Shift, Ctrl and Alt and the
// keypad's Enter take the row of their left-hand or main-block twin.
const KeyEntry* KeyRowAtPosition(uint16_t position);
