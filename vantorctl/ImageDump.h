// A configuration image written out for people (text) or for programs (JSON).
#pragma once

#include <cstdint>
#include <ostream>
#include <vector>

#include "ConfigImage.h"

// The slots whose used flag is 1, in order.
std::vector<int> UsedSlots(const ImageHeader& header);

void DumpImageText(const uint8_t* image, std::ostream& out);
// The active profile, the used slots and every used profile in its JSON form.
void DumpImageJson(const uint8_t* image, std::ostream& out);
