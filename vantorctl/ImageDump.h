// A configuration image written out for people (text) or for programs (JSON).
#pragma once

#include <cstdint>
#include <ostream>
#include <vector>

#include "ConfigImage.h"

// The slots whose used flag is 1, in order.
std::vector<int> UsedSlots(const ImageHeader& header);

void DumpImageText(const uint8_t* image, std::ostream& out);
// The active profile, the used slots and every used profile in its JSON form.
void DumpImageJson(const uint8_t* image, std::ostream& out);

// The name's bytes as the command line takes them (on Windows text of the ANSI code
// page), with only control bytes as \xNN, so that each name keeps to its line.
std::string ListedName(const ProfileRecord& record);
// The active profile as the header names it: "none", "slot N \"NAME\"" (the name as
// `name` writes it), "slot N (free)" or "byte N, which names no slot". Only a slot that
// exists is read.
std::string ActiveProfileText(const uint8_t* image, std::string (*name)(const ProfileRecord&));

// One line per used profile, in slot order: its slot, "*" for the active profile or "-",
// and its name (ListedName), separated by tabs.
void ListProfiles(const uint8_t* image, std::ostream& out);
