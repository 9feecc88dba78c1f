#include "ChosenProfile.h"

#include <algorithm>

#include "ConfigImage.h"
#include "ImageDump.h"
#include "ProfileImport.h"

namespace {

std::string SlotList(const std::vector<int>& slots)
{
    std::string text;
    for (size_t index = 0; index < slots.size(); ++index)
        text += (index == 0 ? "" : index + 1 == slots.size() ? " and " : ", ") + std::to_string(slots[index]);
    return text;
}

// The one used slot whose profile is named `name`, or -1 with `error` saying why: a name
// that several profiles share would leave to chance which one a command changes.
int SlotNamed(const std::vector<uint8_t>& image, const std::string& name, std::string& error)
{
    const std::vector<int> slots = UsedSlotsNamed(image, name);
    if (slots.empty()) error = "no used profile is named \"" + name + "\"";
    if (slots.size() > 1)
        error = "the name \"" + name + "\" is ambiguous: the profiles of slots " + SlotList(slots) +
                " have it; give a slot number";
    return slots.size() == 1 ? slots.front() : -1;
}

// The slot of a bare number, unless another used profile has that number as its name:
// then -1, with `error` saying how to give each.
int SlotUnlessAlsoAName(const std::vector<uint8_t>& image, const ProfileChoice& choice, std::string& error)
{
    std::vector<int> named = UsedSlotsNamed(image, choice.name);
    named.erase(std::remove(named.begin(), named.end(), choice.slot), named.end());
    if (named.empty()) return choice.slot;
    error = "\"" + choice.name + "\" is ambiguous: it is " + SlotText(image, choice.slot) + " and the name of the " +
            (named.size() == 1 ? "profile of slot " : "profiles of slots ") + SlotList(named) + "; give --slot " +
            std::to_string(choice.slot) + (named.size() == 1 ? " or --name " + choice.name : " or --slot with one of those");
    return -1;
}

}  // namespace

std::string SlotText(const std::vector<uint8_t>& image, int slot)
{
    return "slot " + std::to_string(slot) + " \"" + ListedName(*RecordOfSlot(image.data(), slot)) + "\"";
}

int ChosenSlot(const std::vector<uint8_t>& image, const ProfileChoice& choice, std::string& error)
{
    if (choice.slot < 0) return SlotNamed(image, choice.name, error);
    if (HeaderOfImage(image.data()).used[choice.slot] != kSlotUsed) {
        // A bare number whose slot is free can only mean a profile of that name.
        if (!choice.name.empty() && !UsedSlotsNamed(image, choice.name).empty())
            return SlotNamed(image, choice.name, error);
        error = "slot " + std::to_string(choice.slot) + " is free";
        return -1;
    }
    return choice.name.empty() ? choice.slot : SlotUnlessAlsoAName(image, choice, error);
}
