// A configuration with a few game profiles, for an emulated adapter's fresh memory.
#pragma once

#include <cstdint>

void WriteSampleImage(uint8_t* image);
