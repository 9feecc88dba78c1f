// A configuration with a few game profiles, for an emulated adapter's fresh memory.
#pragma once

#include <cstdint>
#include <string>

class EmulatedAdapter;

void WriteSampleImage(uint8_t* image);

// Keeps the adapter's memory in `path`, first created with the sample profiles when it
// does not exist. False when the file cannot be used (see EmulatedAdapter::UseMemoryFile).
bool UseMemoryFileWithSamples(EmulatedAdapter& adapter, const std::string& path);
