// Readable names of the pad's controls and buttons, in the image's index orders.
#pragma once

#include <string>

// The pad control of key box k (0 to 19), as the window's key boxes 1101 + k.
const char* KeyBoxName(int box);
// Pad button 0 to 7; any other byte reads "invalid (N)".
std::string PadButtonName(int button);
// The key name of an adapter key code: "(none)" for 0, "unknown (0xNN)" for a code that
// names no key.
std::string KeyCodeText(unsigned code);
