// Names for the temporary files that an atomic write puts beside its target.
#pragma once

#include "SystemPath.h"

// How many fresh names a write tries before it gives up: a name is taken only when a file
// of it exists already, which 32 random bits make all but impossible.
constexpr int kTemporaryNameAttempts = 16;

// "TARGET.TAG.ENDING" beside `target`, TAG eight random hex digits: a name that no file of
// the user's is likely to have, made anew on each call. The file must still be created
// exclusively, so that an existing one is never taken over.
SystemPath TemporaryNameBeside(const SystemPath& target, const char* ending);

// The length that the longest such name adds to its target's.
constexpr size_t kLongestTemporarySuffix = sizeof ".12345678.replaced" - 1;
