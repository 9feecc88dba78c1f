#include "ProfileImport.h"

#include <cstring>

namespace {

int LowestFreeSlot(const std::vector<uint8_t>& image)
{
    for (int slot = 0; slot < kSlotCount; ++slot)
        if (HeaderOfImage(image.data()).used[slot] != kSlotUsed) return slot;
    return -1;
}

// The carried bytes of `incoming` over `record`, whose bytes 42 and 47-63 stay.
void StoreCarriedBytes(const ProfileRecord& incoming, ProfileRecord& record)
{
    ProfileRecord merged = incoming;
    merged.keptByte42 = record.keptByte42;
    std::memcpy(merged.keptTail, record.keptTail, sizeof merged.keptTail);
    record = merged;
}

// --replace takes each name once: a second profile of that name would overwrite the first.
std::string RepeatedNameProblem(const std::vector<IncomingProfile>& profiles, size_t index)
{
    for (size_t earlier = 0; earlier < index; ++earlier)
        if (NameBytes(profiles[earlier].record) == NameBytes(profiles[index].record))
            return profiles[index].label + ": name: the same as " + profiles[earlier].label +
                   "'s; with --replace each name may come once";
    return "";
}

}  // namespace

std::vector<int> UsedSlotsNamed(const std::vector<uint8_t>& image, const std::string& name)
{
    std::vector<int> slots;
    for (int slot = 0; slot < kSlotCount; ++slot)
        if (HeaderOfImage(image.data()).used[slot] == kSlotUsed && NameBytes(*RecordOfSlot(image.data(), slot)) == name)
            slots.push_back(slot);
    return slots;
}

int FirstUsedSlotNamed(const std::vector<uint8_t>& image, const std::string& name)
{
    const std::vector<int> slots = UsedSlotsNamed(image, name);
    return slots.empty() ? -1 : slots.front();
}

std::vector<std::string> ReadIncomingProfile(const Json& form, const std::string& label, IncomingProfile& incoming)
{
    incoming.label = label;
    incoming.record = ProfileRecord{};
    std::vector<std::string> problems = RecordFromProfileJson(form, incoming.record);
    for (std::string& problem : problems) problem = label + ": " + problem;
    return problems;
}

std::vector<std::string> PlaceProfiles(std::vector<uint8_t>& image, const std::vector<IncomingProfile>& profiles,
                                       bool replace, std::vector<Placement>& placements)
{
    std::vector<uint8_t> placed = image;
    std::vector<std::string> problems;
    placements.clear();
    for (size_t index = 0; index < profiles.size(); ++index) {
        const IncomingProfile& profile = profiles[index];
        const std::string repeated = replace ? RepeatedNameProblem(profiles, index) : "";
        if (!repeated.empty()) problems.push_back(repeated);
        const int namesake = replace ? FirstUsedSlotNamed(image, NameBytes(profile.record)) : -1;
        const int slot = namesake >= 0 ? namesake : LowestFreeSlot(placed);
        if (slot < 0) {
            problems.push_back(profile.label + ": no free slot is left for it");
            continue;
        }
        ProfileRecord& record = *RecordOfSlot(placed.data(), slot);
        if (namesake >= 0) StoreCarriedBytes(profile.record, record);
        else record = profile.record;
        HeaderOfImage(placed.data()).used[slot] = kSlotUsed;
        placements.push_back({slot, namesake >= 0});
    }
    if (problems.empty()) image = placed;
    return problems;
}
