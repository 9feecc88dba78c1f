#include "SampleProfiles.h"

#include <cstring>
#include <fstream>

#include "ConfigImage.h"
#include "EmulatedAdapter.h"
#include "KeyTable.h"

namespace {

struct SampleProfile {
    const char* name;
    uint8_t axisMode;
    uint8_t speed;
    const char* keys[kKeyBoxCount];  // names for key boxes 1101 to 1120
};

// Key box order: L1, left triangle, right triangle, A, B, X, Y, Black, White, R1,
// stick left, right, up, down, round, D-pad left, right, up, down, ringed round.
const SampleProfile kSamples[] = {
    {"Shooter", 1, 60, {"Q", "Tab", "Esc", "Space", "C", "R", "F", "G", "V", "E",
                        "A", "D", "W", "S", "Shift", "1", "3", "2", "4", "Ctrl"}},
    {"Racing", 0, 30, {"Z", "Esc", "Enter", "Up", "Down", "Space", "C", "", "", "X",
                       "Left", "Right", "", "", "", "Num 4", "Num 6", "Num 8", "Num 2", ""}},
    {"Flight", 1, 90, {"Page Down", "Esc", "Enter", "Space", "B", "G", "F", "", "", "Page Up",
                       "Num 4", "Num 6", "Num 8", "Num 2", "", "Left", "Right", "Up", "Down", ""}},
};

void WriteSample(ProfileRecord& record, const SampleProfile& sample)
{
    std::strncpy(record.name, sample.name, kNameBytes - 1);
    record.axisMode = sample.axisMode;
    record.speed = sample.speed;
    const uint8_t* map = KeySlotMap(sample.axisMode);
    for (int box = 0; box < kKeyBoxCount; ++box) record.keySlots[map[box]] = KeyCodeFromName(sample.keys[box]);
    record.mouseButtons[kMouseRight] = kPadL1;
    record.mouseButtons[kMouseLeft] = kPadR1;
    record.mouseButtons[kMouseMiddle] = kPadB;
    record.comboKey = KeyCodeFromName("Alt");
    record.comboButtons = 1u << kPadBlack | 1u << kPadWhite;
}

}  // namespace

void WriteSampleImage(uint8_t* image)
{
    std::memset(image, 0, kImageSize);
    ImageHeader& header = HeaderOfImage(image);
    int slot = 0;
    for (const SampleProfile& sample : kSamples) {
        WriteSample(*RecordOfSlot(image, slot), sample);
        header.used[slot++] = kSlotUsed;
    }
    header.activeProfile = 0;
}

bool UseMemoryFileWithSamples(EmulatedAdapter& adapter, const std::string& path)
{
    if (!std::ifstream(path).good()) WriteSampleImage(adapter.Memory());
    return adapter.UseMemoryFile(path);
}
