// The window's list commands Delete and Modify on a whole configuration image, leaving it
// as the window's OK would save it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Frees the used `slot` of the 4096-byte `image`; the record keeps its bytes, as the
// window's Delete leaves them. When it was the active profile, the lowest used slot (the
// first entry of the window's list) becomes active. As OK settles it, a single profile
// left is the active one, and with none left the header says none (0x80).
void DeleteProfile(std::vector<uint8_t>& image, int slot);

// Why the name `bytes`, given on the command line, cannot be a profile's name, or empty:
// it must be text of the names' code page (NameText.h), of at most 14 bytes.
std::string NewNameProblem(const std::string& bytes);
