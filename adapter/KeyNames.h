// The names a user sees for the keys of the key table: each key as the user's own layout
// labels it. Keys that type no character (Enter, F1, Num 7, ...) are the same on every
// layout and keep the table's name, and so does a key whose position the layout has no
// character key for. Codes stay those of the positions: a French user who presses the key
// labelled A (the US layout's Q) sees "A", and the adapter acts on that key.
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
    std::string NameAtPosition(uint16_t position) const;
    // The name of the first row with adapter key code `code`; empty for none.
    std::string NameOfCode(uint8_t code) const;
    // The adapter key code of the key named `text`: a name shown here, or else a name of
    // the table; 0 for none.
    uint8_t CodeOfName(const std::string& text) const;

private:
    std::string NameOfRow(const KeyEntry* row) const;
    size_t RowIndex(const KeyEntry& row) const { return static_cast<size_t>(&row - KeyTable); }

    // The layout's label of each row's position; empty where the table's name holds.
    std::array<std::string, kKeyTableRows> m_labels;
};
