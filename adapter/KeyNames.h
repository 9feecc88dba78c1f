// The names a user sees for the keys of the key table: each key as the user's own layout
// labels it. Keys that type no character (Enter, F1, Num 7, ...) are the same on every
// layout and keep the table's name, and so does a key whose position the layout has no
// character key for. Codes stay those of the positions: a French user who presses the key
// labelled A (the US layout's Q) sees "A", and the adapter acts on that key. Names are only
// shown: a name never stands for a key, since two keys may share one under some layouts.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "KeyTable.h"
#include "KeyboardLayout.h"

class KeyNames {
public:
    // The names under `layout` as it is now.
    explicit KeyNames(const KeyboardLayout& layout);

    // The name of the key at `position`; empty for a key the table does not hold.
    std::wstring NameAtPosition(uint16_t position) const;
    // The name of the first row with adapter key code `code`; empty for 0 (no key), and the
    // code in hexadecimal ("0x01") for a code the table does not hold.
    std::wstring NameOfCode(uint8_t code) const;

private:
    std::wstring NameOfRow(const KeyEntry& row) const;
    size_t RowIndex(const KeyEntry& row) const { return static_cast<size_t>(&row - KeyTable); }

    // The layout's label of each row's position; empty where the table's name holds.
    std::array<std::wstring, kKeyTableRows> m_labels;
};

// The position of the key that gives `virtualKey`, for a key message without its scan code
// (from an on-screen keyboard, say): a key that types no character stands where the table
// has it on every layout (the keypad's digits too, where a layout maps them to no key),
// the others where `layout` puts them. 0 for none.
uint16_t PositionOfVirtualKey(const KeyboardLayout& layout, uint8_t virtualKey);
