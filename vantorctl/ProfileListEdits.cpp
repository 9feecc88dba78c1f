#include "ProfileListEdits.h"

#include "ImageDump.h"
#include "NameText.h"
#include "ProfileJson.h"

void DeleteProfile(std::vector<uint8_t>& image, int slot)
{
    ImageHeader& header = HeaderOfImage(image.data());
    header.used[slot] = 0;
    const std::vector<int> left = UsedSlots(header);
    if (header.activeProfile == slot && !left.empty()) header.activeProfile = static_cast<uint8_t>(left.front());
    if (left.size() == 1) header.activeProfile = static_cast<uint8_t>(left.front());
    if (left.empty()) header.activeProfile = kNoActiveProfile;
}

std::string NewNameProblem(const std::string& bytes)
{
    if (!TextOfNameBytes(bytes).inCodePage) return "not text of " + NameCodePage();
    return NameBytesProblem(bytes);
}
