// The used profile that a command line names, found in a configuration image.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "CommandLine.h"

// A used slot as told: its number and its profile's name, "slot 4 \"Halo\"".
std::string SlotText(const std::vector<uint8_t>& image, int slot);

// The used slot `choice` names, or -1 with `error` saying why: a free slot, no profile
// or several of the name, or a bare number that is a slot and another profile's name.
int ChosenSlot(const std::vector<uint8_t>& image, const ProfileChoice& choice, std::string& error);
