// Files written whole or not at all, and files read with a limit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Writes `bytes` to a temporary file beside `path`, flushes it to the disk and renames it
// over `path`: a crash leaves either the old file or the complete new one. False, with
// `path` untouched and errno telling why where the system says, when any step fails.
bool WriteFileAtomically(const std::string& path, const std::vector<uint8_t>& bytes);

// At most `limit` bytes from the start of the file; false (errno telling why) when it
// cannot be read. A file longer than `limit` shows as exactly `limit` bytes.
bool ReadFileStart(const std::string& path, size_t limit, std::vector<uint8_t>& bytes);

// The system's reason for the last failed file operation, as ": reason", or empty.
std::string FileErrorReason();
