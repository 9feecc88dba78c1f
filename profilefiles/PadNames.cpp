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
const char* const kMouseButtonNames[kMouseButtonCount] = {"right", "left", "middle"};

}  // namespace

const char* KeyBoxName(int box) { return kKeyBoxNames[box]; }

const char* MouseButtonName(int button) { return kMouseButtonNames[button]; }

std::string PadButtonName(int button)
{
    if (button >= 0 && button < kPadButtonCount) return kPadButtonNames[button];
    return "invalid (" + std::to_string(button) + ")";
}

std::vector<std::string> CombinationButtonNames(uint8_t bits)
{
    std::vector<std::string> names;
    for (int button = 0; button < kPadButtonCount; ++button)
        if ((bits >> button) & 1) names.push_back(kPadButtonNames[button]);
    return names;
}

int PadButtonFromName(const std::string& name)
{
    for (int button = 0; button < kPadButtonCount; ++button)
        if (name == kPadButtonNames[button]) return button;
    return -1;
}

std::string KeyCodeText(unsigned code)
{
    if (code == 0) return "(none)";
    if (const char* name = KeyNameFromCode(static_cast<uint8_t>(code))) return name;
    char text[24];
    std::snprintf(text, sizeof text, "unknown (0x%02X)", code);
    return text;
}
