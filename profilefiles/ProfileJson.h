// The one JSON form of a profile, shared by dump --json, export and import: its name,
// speed, axis mode, the key of each of the 20 pad controls, the pad button of each mouse
// button and the combination, keys and pad buttons by name.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "ConfigImage.h"
#include "ProfileProblem.h"

// Members keep the order they were written in, so that a file reads as the window does.
using Json = nlohmann::ordered_json;

// The name's bytes up to its NUL (all 15 when it has none).
std::string NameBytes(const ProfileRecord& record);

// Writes the name `bytes`, which NameBytesProblem finds sound, with zeros after it, as
// the window writes a name.
void StoreName(const std::string& bytes, ProfileRecord& record);

// Whether `bytes` can be a profile's name; when not (a NUL inside, more than 14 bytes),
// `problem` says why.
bool NameBytesFit(const std::string& bytes, FieldProblem& problem);
// The same in vantorctl's words; empty when they can.
std::string NameBytesProblem(const std::string& bytes);

// The form of `record` (the name's text as NameText.h tells). A byte that names nothing
// reads as the text dump shows it ("unknown (0xNN)", "invalid (N)"), which import refuses.
Json ProfileJson(const ProfileRecord& record);
// The forms of the profiles in `slots` of the 4096-byte image, each led by its slot and
// whether it is the active profile.
Json ProfileList(const uint8_t* image, const std::vector<int>& slots);

// Writes the bytes the form carries into `record`: the name with zeros after it, the key
// slots of its axis mode (the other key slots cleared), mouse buttons, speed, axis mode
// and combination; bytes 42 and 47-63 stay as they are. Returns one problem per field
// that is missing or wrong; none when the form is sound.
std::vector<FieldProblem> RecordFromProfileJson(const Json& profile, ProfileRecord& record);

// The profile forms of a document's "profiles" list; false, with `error` saying why,
// when `text` is not JSON or has no such list.
bool ReadProfilesDocument(const std::string& text, std::vector<Json>& profiles, FieldProblem& error);
