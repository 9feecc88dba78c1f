// What is wrong or doubtful in a configuration image, as the adapter stores it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct ImageProblem {
    int slot;  // the profile's slot, or -1 for the header
    std::string text;
};

// Every problem of the 4096-byte image (records 0-62, header last).
std::vector<ImageProblem> FindImageProblems(const uint8_t* image);

// Why an image must not be written to the adapter, or empty when it may: its used flags
// must be 0 or 1 and its active byte a used slot or 0x80 (or 0 with no slot used).
std::string RestoreRefusal(const uint8_t* image);
