#include "PadNames.h"

#include <cstdio>

#include "ConfigImage.h"
#include "KeyTable.h"

namespace {

const char* const kKeyBoxNames[kKeyBoxCount] = {
    "L1",          "left triangle", "right triangle", "A",           "B",
    "X",           "Y",             "Black",          "White",       "R1",
    "stick left",  "stick right",   "stick up",       "stick down",  "round",
    "D-pad left",  "D-pad right",   "D-pad up",       "D-pad down",  "ringed round",
};
const char* const kPadButtonNames[kPadButtonCount] = {"L1", "A", "B", "X", "Y", "Black", "White", "R1"};

}  // namespace

const char* KeyBoxName(int box) { return kKeyBoxNames[box]; }

std::string PadButtonName(int button)
{
    if (button >= 0 && button < kPadButtonCount) return kPadButtonNames[button];
    return "invalid (" + std::to_string(button) + ")";
}

std::string KeyCodeText(unsigned code)
{
    if (code == 0) return "(none)";
    if (const char* name = KeyNameFromCode(static_cast<uint8_t>(code))) return name;
    char text[24];
    std::snprintf(text, sizeof text, "unknown (0x%02X)", code);
    return text;
}
