// The files that vantorctl and the window read and write alike: profiles as a JSON
// document (export, import) and a whole configuration as its 4096-byte image (backup,
// restore). Each reader checks the whole file before anything is taken from it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "AtomicFile.h"
#include "ProfileImport.h"
#include "SystemPath.h"

// The document of the profiles in `slots` of the 4096-byte `image`, as export writes it.
std::string ProfileFileText(const uint8_t* image, const std::vector<int>& slots);
// One warning for each profile of `slots` whose name is not text of the code page: the
// document holds it byte for byte, as ISO 8859-1.
std::vector<std::string> NameWrittenByteForByteWarnings(const uint8_t* image, const std::vector<int>& slots);

// The profiles of the document at `file`, every one checked. The outcome of reading the
// file, with the system's reason as it gives it when the file cannot be read; read, the
// file is taken when `problems` stays empty, and otherwise refused (no profiles document,
// or a profile refused) with a line for each, naming the file, the profile and the field.
FileOutcome ReadProfileFile(const SystemPath& file, std::vector<IncomingProfile>& incoming,
                            std::vector<ProfileProblem>& problems);

// The placed profiles' keys used twice: allowed, and told as warnings "slot N: ...".
std::vector<std::string> RepeatedKeyWarnings(const std::vector<uint8_t>& image, const std::vector<Placement>& placements);

// The 4096-byte image at `file`: the outcome of reading it (the system's reason as it
// gives it when it cannot be read); read, it is refused unless it is a whole image with a
// sound header, `refusal` then saying why, and otherwise taken, `refusal` empty. Messages
// name the file as narrow text.
FileOutcome ReadImageFile(const SystemPath& file, std::vector<uint8_t>& image, std::string& refusal);
