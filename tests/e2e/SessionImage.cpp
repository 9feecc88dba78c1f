// The image that the scripted window session leaves in the adapter's memory, to check a
// memory file against or to write as a file:
//   session_image.exe MEMORY-FILE [use SLOT | delete SLOT]...
//                                           exit 0 when the file holds exactly that image,
//                                           changed as the window's Use or Delete of the
//                                           profile of SLOT, each followed by OK, changes it
//   session_image.exe --write IMAGE-FILE
// The session starts from the sample profiles (Shooter, Racing, Flight in slots 0-2),
// types Q and K into the A and B boxes of Racing, adds "Puzzle" (a copy of Racing),
// renames Shooter to "Arena", deletes Flight, makes Puzzle the active profile and
// presses OK.
#include <cstdio>
#include <cstdlib>
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

// The window's list after a load: the used slots in order.
std::vector<int> ListedSlots(const std::vector<uint8_t>& image)
{
    std::vector<int> slots;
    for (int slot = 0; slot < kSlotCount; ++slot)
        if (HeaderOfImage(image.data()).used[slot] == kSlotUsed) slots.push_back(slot);
    return slots;
}

// OK makes a single profile the active one and writes none (0x80) for an empty list.
void PressOk(std::vector<uint8_t>& image)
{
    const std::vector<int> listed = ListedSlots(image);
    if (listed.size() == 1) HeaderOfImage(image.data()).activeProfile = static_cast<uint8_t>(listed.front());
    if (listed.empty()) HeaderOfImage(image.data()).activeProfile = kNoActiveProfile;
}

// Delete frees the slot and keeps the record; a deleted active profile hands over to the
// first entry left, or to 0 with none left.
void Delete(std::vector<uint8_t>& image, int slot)
{
    ImageHeader& header = HeaderOfImage(image.data());
    header.used[slot] = 0;
    const std::vector<int> listed = ListedSlots(image);
    if (header.activeProfile == slot) header.activeProfile = listed.empty() ? 0 : static_cast<uint8_t>(listed.front());
}

// Applies the list commands of `commands` ("use SLOT", "delete SLOT"), each followed by OK;
// false on a command it does not know.
bool ApplyListCommands(std::vector<uint8_t>& image, char** commands, int count)
{
    for (int index = 0; index + 1 < count; index += 2) {
        const std::string command = commands[index];
        const int slot = std::atoi(commands[index + 1]);
        if (command == "use") HeaderOfImage(image.data()).activeProfile = static_cast<uint8_t>(slot);
        else if (command == "delete") Delete(image, slot);
        else return false;
        PressOk(image);
    }
    return count % 2 == 0;
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
    std::vector<uint8_t> expected = ExpectedImage();
    if (argc < 2) return 2;
    if (std::string(argv[1]) != "--write")
        return ApplyListCommands(expected, argv + 2, argc - 2) ? Compare(argv[1], expected) : 2;
    if (argc != 3) return 2;
    std::ofstream file(argv[2], std::ios::binary);
    file.write(reinterpret_cast<const char*>(expected.data()), static_cast<std::streamsize>(expected.size()));
    return file.flush() ? 0 : 1;
}
