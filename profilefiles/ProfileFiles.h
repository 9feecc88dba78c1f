// The files that vantorctl and the window read and write alike: profiles as a JSON
// document (export, import) and a whole configuration as its 4096-byte image (backup,
// restore). Each reader checks the whole file before anything is taken from it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ProfileImport.h"
#include "SystemPath.h"

// The document of the profiles in `slots` of the 4096-byte `image`, as export writes it.
std::string ProfileFileText(const uint8_t* image, const std::vector<int>& slots);
// One warning for each profile of `slots` whose name is not text of the code page: the
// document holds it byte for byte, as ISO 8859-1.
std::vector<std::string> NameWrittenByteForByteWarnings(const uint8_t* image, const std::vector<int>& slots);

// The profiles of the document at `path`, every one checked. False when the file cannot
// be read, is no profiles document, or any profile is refused; `problems` then holds a
// line for each, naming the file, the profile and the field.
bool ReadProfileFile(const SystemPath& file, std::vector<IncomingProfile>& incoming, std::vector<std::string>& problems);

// The placed profiles' keys used twice: allowed, and told as warnings "slot N: ...".
std::vector<std::string> RepeatedKeyWarnings(const std::vector<uint8_t>& image, const std::vector<Placement>& placements);

// The 4096-byte image at `path`, refused (with the reason) unless it is a whole image
// with a sound header; empty when it is taken. Messages name the file as narrow text.
std::string ReadImageFile(const SystemPath& file, std::vector<uint8_t>& image);
