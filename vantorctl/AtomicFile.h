// Files written whole or not at all.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Writes `bytes` to a temporary file beside `path`, flushes it to the disk and renames it
// over `path`: a crash leaves either the old file or the complete new one. False, with
// `path` untouched, when any step fails.
bool WriteFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes);

// The whole file; false when it cannot be read.
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes);
