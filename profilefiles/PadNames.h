// Readable names of the pad's controls and buttons, in the image's index orders.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The pad control of key box k (0 to 19), as the window's key boxes 1101 + k.
const char* KeyBoxName(int box);
// Mouse button 0 to 2 in the order of their record bytes: "right", "left", "middle".
const char* MouseButtonName(int button);
// Pad button 0 to 7; any other byte reads "invalid (N)".
std::string PadButtonName(int button);
// The pad buttons whose bits are set in a combination byte, in index order.
std::vector<std::string> CombinationButtonNames(uint8_t bits);
// The pad button called `name`, or -1 when none is.
int PadButtonFromName(const std::string& name);
// The key name of an adapter key code: "(none)" for 0, "unknown (0xNN)" for a code that
// names no key.
std::string KeyCodeText(unsigned code);
