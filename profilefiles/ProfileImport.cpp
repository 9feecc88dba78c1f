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
bool NameRepeated(const std::vector<IncomingProfile>& profiles, size_t index, ProfileProblem& problem)
{
    for (size_t earlier = 0; earlier < index; ++earlier)
        if (NameBytes(profiles[earlier].record) == NameBytes(profiles[index].record)) {
            problem = {"", profiles[index].label, {"name", ProblemKind::kNameRepeated, {profiles[earlier].label.english}}};
            return true;
        }
    return false;
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

std::vector<ProfileProblem> ReadIncomingProfile(const Json& form, const ProfileLabel& label, IncomingProfile& incoming)
{
    incoming.label = label;
    incoming.record = ProfileRecord{};
    std::vector<ProfileProblem> problems;
    for (FieldProblem& problem : RecordFromProfileJson(form, incoming.record)) problems.push_back({"", label, problem});
    return problems;
}

std::vector<ProfileProblem> PlaceProfiles(std::vector<uint8_t>& image, const std::vector<IncomingProfile>& profiles,
                                          bool replace, std::vector<Placement>& placements)
{
    std::vector<uint8_t> placed = image;
    std::vector<ProfileProblem> problems;
    placements.clear();
    for (size_t index = 0; index < profiles.size(); ++index) {
        const IncomingProfile& profile = profiles[index];
        ProfileProblem repeated;
        if (replace && NameRepeated(profiles, index, repeated)) problems.push_back(repeated);
        const int namesake = replace ? FirstUsedSlotNamed(image, NameBytes(profile.record)) : -1;
        const int slot = namesake >= 0 ? namesake : LowestFreeSlot(placed);
        if (slot < 0) {
            problems.push_back({"", profile.label, {"", ProblemKind::kNoFreeSlot, {}}});
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
