// Compares the emulated adapter's memory file after the scripted demo session with the
// image that session must leave: demo_session_check.exe MEMORY-FILE
// The session starts from the sample profiles (Shooter, Racing, Flight in slots 0-2),
// types Q and K into the A and B boxes of Racing, adds "Puzzle" (a copy of Racing),
// renames Shooter to "Arena" and presses OK.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "ConfigImage.h"
#include "KeyTable.h"
#include "SampleProfiles.h"

namespace {

std::vector<uint8_t> ExpectedImage()
{
    std::vector<uint8_t> image(kImageSize);
    WriteSampleImage(image.data());
    ProfileRecord* racing = RecordOfSlot(image.data(), 1);
    racing->keySlots[PlainMap[3]] = KeyCodeFromName("Q");
    racing->keySlots[PlainMap[4]] = KeyCodeFromName("K");
    ProfileRecord* puzzle = RecordOfSlot(image.data(), 3);
    *puzzle = *racing;
    std::memset(puzzle->name, 0, kNameBytes);
    std::strcpy(puzzle->name, "Puzzle");
    ProfileRecord* arena = RecordOfSlot(image.data(), 0);
    std::memset(arena->name, 0, kNameBytes);
    std::strcpy(arena->name, "Arena");
    reinterpret_cast<ImageHeader*>(image.data() + kRecordBufferSize)->used[3] = kSlotUsed;
    return image;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) return 2;
    std::ifstream file(argv[1], std::ios::binary);
    const std::vector<uint8_t> actual((std::istreambuf_iterator<char>(file)), {});
    const std::vector<uint8_t> expected = ExpectedImage();
    if (actual.size() != expected.size()) {
        std::printf("memory file holds %zu bytes, not %zu\n", actual.size(), expected.size());
        return 1;
    }
    int differences = 0;
    for (size_t i = 0; i < expected.size(); ++i) {
        if (actual[i] == expected[i]) continue;
        if (++differences <= 20)
            std::printf("block %zu byte %zu: 0x%02X, expected 0x%02X\n", i / kBlockSize, i % kBlockSize, actual[i],
                        expected[i]);
    }
    std::printf("%d byte(s) differ\n", differences);
    return differences == 0 ? 0 : 1;
}
