// Puts profiles into a configuration image as import and copy do, checking first that
// all of them fit.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ProfileJson.h"

struct IncomingProfile {
    ProfileLabel label;    // how messages name it
    ProfileRecord record;  // the bytes the form carries; bytes 42 and 47-63 are 0
};

// The record of one profile form; its problems, each of the profile `label` names.
std::vector<ProfileProblem> ReadIncomingProfile(const Json& form, const ProfileLabel& label, IncomingProfile& incoming);

// The used slots whose profile has the name `name` (its bytes), in order.
std::vector<int> UsedSlotsNamed(const std::vector<uint8_t>& image, const std::string& name);
// The first of them, or -1.
int FirstUsedSlotNamed(const std::vector<uint8_t>& image, const std::string& name);

struct Placement {
    int slot;
    bool replaced;  // over a used profile of the same name
};

// Places `profiles` into the 4096-byte `image` in their order: with `replace`, over the
// first used profile of the same name (keeping that record's bytes 42 and 47-63), and
// otherwise, or when no profile has that name, into the lowest free slot, whose record
// gets zeros in those bytes. The active profile stays. Returns the problems, and leaves
// `image` as it was when there are any.
std::vector<ProfileProblem> PlaceProfiles(std::vector<uint8_t>& image, const std::vector<IncomingProfile>& profiles,
                                       bool replace, std::vector<Placement>& placements);
