// The image that the scripted window session leaves in the adapter's memory, to check a
// memory file against or to write as a file:
//   session_image.exe MEMORY-FILE           exit 0 when the file holds exactly that image
//   session_image.exe --write IMAGE-FILE
// The session starts from the sample profiles (Shooter, Racing, Flight in slots 0-2),
// types Q and K into the A and B boxes of Racing, adds "Puzzle" (a copy of Racing),
// renames Shooter to "Arena", deletes Flight, makes Puzzle the active profile and
// presses OK.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "ConfigImage.h"
#include "KeyTable.h"
#include "SampleProfiles.h"

namespace {

void Rename(ProfileRecord* record, const char* name)
{
    std::memset(record->name, 0, kNameBytes);
    std::strcpy(record->name, name);
}

std::vector<uint8_t> ExpectedImage()
{
    std::vector<uint8_t> image(kImageSize);
    WriteSampleImage(image.data());
    ProfileRecord* racing = RecordOfSlot(image.data(), 1);
    racing->keySlots[PlainMap[3]] = KeyCodeFromName("Q");
    racing->keySlots[PlainMap[4]] = KeyCodeFromName("K");
    ProfileRecord* puzzle = RecordOfSlot(image.data(), 3);
    *puzzle = *racing;
    Rename(puzzle, "Puzzle");
    Rename(RecordOfSlot(image.data(), 0), "Arena");
    // Deleting frees the slot; its record stays as it was.
    ImageHeader& header = HeaderOfImage(image.data());
    header.used[2] = 0;
    header.used[3] = kSlotUsed;
    header.activeProfile = 3;
    return image;
}

int Compare(const char* path, const std::vector<uint8_t>& expected)
{
    std::ifstream file(path, std::ios::binary);
    const std::vector<uint8_t> actual((std::istreambuf_iterator<char>(file)), {});
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

}  // namespace

int main(int argc, char** argv)
{
    const std::vector<uint8_t> expected = ExpectedImage();
    if (argc == 2) return Compare(argv[1], expected);
    if (argc != 3 || std::string(argv[1]) != "--write") return 2;
    std::ofstream file(argv[2], std::ios::binary);
    file.write(reinterpret_cast<const char*>(expected.data()), static_cast<std::streamsize>(expected.size()));
    return file.flush() ? 0 : 1;
}
