// Files written whole or not at all, and files read with a limit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "SystemPath.h"

// Whether a file operation was done, and when not, the system's reason.
struct FileOutcome {
    bool done = false;
    // ": " and the system's words for why it failed (on Windows in the user's language);
    // empty when done or when the system gives none.
    SystemText reason;

    explicit operator bool() const { return done; }
};

// Writes `bytes` to a temporary file beside `path`, flushes it to the disk and puts it in
// place of `path`: a crash leaves either the old file or the complete new one. A replaced
// file keeps its attributes and permissions. The temporary files have names of their own
// (TemporaryName.h), created exclusively, so no other file beside `path` is touched. When
// any step fails, `path` is untouched and the write's own temporary file removed.
FileOutcome WriteFileAtomically(const SystemPath& path, const std::vector<uint8_t>& bytes);

// At most `limit` bytes from the start of the file; a file longer than `limit` shows as
// exactly `limit` bytes.
FileOutcome ReadFileStart(const SystemPath& path, size_t limit, std::vector<uint8_t>& bytes);

#ifdef _WIN32
// The language of the system's reasons: the user's interface language (0) unless set
// otherwise, as a test does to get reasons outside the ANSI code page.
void SetReasonLanguage(unsigned short language);

// `path` as the file functions take it at any length: when the longest temporary name
// beside it would pass MAX_PATH, absolute and marked \\?\ (\\?\UNC\ for a share), which
// lifts the limit; otherwise as given.
SystemPath LongPathForm(const SystemPath& path);
#endif
