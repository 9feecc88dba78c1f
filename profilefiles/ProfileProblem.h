// What is wrong with a profiles file or one of its profiles, in parts, so that each
// program puts it into its own words: vantorctl in English, the window in its language.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

enum class ProblemKind {
    kFileTooLong,           // the file is longer than a profiles document may be
    kNotJson,               // %1: where and what the JSON reader found (its own English)
    kNoProfilesList,        // the document has no "profiles" list
    kMissing,
    kNotAnObject,
    kNotAText,
    kNotAList,
    kNotAWholeNumber,
    kOutsideRange,          // %1 the value, %2 the lowest, %3 the highest
    kUnknownKeyName,        // %1 the name as it is written in the file
    kUnknownPadButtonName,  // %1 the same
    kNotInCodePage,         // %1 the character, %2 the code page ("code page 936")
    kHoldsNul,
    kNameTooLong,           // %1 its bytes, %2 the most a name has
    kNoFreeSlot,
    kNameRepeated,          // %1 the earlier profile of that name, as vantorctl names it
};

// One field's problem, or the profile's or the file's own when `field` is empty.
struct FieldProblem {
    std::string field;  // "speed", "keys.A", "profile"
    ProblemKind kind;
    std::vector<std::string> values;  // UTF-8 text
};

// How messages name a profile.
struct ProfileLabel {
    std::string english;  // as vantorctl names it: profile 2 "Racing", copy of slot 4 as "Wet"
    size_t number = 0;    // its place in its file, from 1
    std::string name;     // its name as the file writes it (a quoted JSON text), or empty
};

struct ProfileProblem {
    std::string file;      // the file as narrow text; empty where no file is meant
    ProfileLabel profile;  // none (its English empty) for a problem of the whole file
    FieldProblem problem;
};

// vantorctl's words: "FIELD: WHAT" and the whole line, "FILE: PROFILE: FIELD: WHAT" or
// "FILE is refused: WHAT".
std::string EnglishText(const FieldProblem& problem);
std::string EnglishText(const ProfileProblem& problem);
std::vector<std::string> EnglishLines(const std::vector<ProfileProblem>& problems);
