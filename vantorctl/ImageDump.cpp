#include "ImageDump.h"

#include <cstdio>
#include <string>
#include <vector>

#include "ConfigImage.h"
#include "KeyTable.h"
#include "PadNames.h"
#include "ProfileJson.h"

namespace {

bool IsPrintableAscii(unsigned char byte) { return byte >= 0x20 && byte < 0x7F; }

bool IsNoControlByte(unsigned char byte) { return byte >= 0x20 && byte != 0x7F; }

// The name up to its NUL, at most 15 bytes, with each byte that `plain` does not accept
// as \xNN.
std::string EscapedName(const ProfileRecord& record, bool (*plain)(unsigned char))
{
    std::string name;
    for (int i = 0; i < kNameBytes && record.name[i]; ++i) {
        const auto byte = static_cast<unsigned char>(record.name[i]);
        if (plain(byte)) {
            name += static_cast<char>(byte);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            name += escaped;
        }
    }
    return name;
}

// Dump shows every name the same on any terminal.
std::string ProfileName(const ProfileRecord& record) { return EscapedName(record, IsPrintableAscii); }

std::vector<std::string> Numbers(const std::vector<int>& values)
{
    std::vector<std::string> texts;
    for (int value : values) texts.push_back(std::to_string(value));
    return texts;
}

std::string Joined(const std::vector<std::string>& items, const char* separator)
{
    std::string text;
    for (const std::string& item : items) text += (text.empty() ? "" : separator) + item;
    return text;
}

void DumpRecordText(const ProfileRecord& record, int slot, std::ostream& out)
{
    out << "\nslot " << slot << ": \"" << ProfileName(record) << "\"\n";
    out << "  speed " << int(record.speed) << ", axis mode " << int(record.axisMode) << "\n";
    const uint8_t* map = KeySlotMap(record.axisMode);
    for (int box = 0; box < kKeyBoxCount; ++box) {
        char line[64];
        std::snprintf(line, sizeof line, "  %-14s %s\n", KeyBoxName(box), KeyCodeText(record.keySlots[map[box]]).c_str());
        out << line;
    }
    for (int button = 0; button < kMouseButtonCount; ++button)
        out << "  mouse " << MouseButtonName(button) << " -> " << PadButtonName(record.mouseButtons[button]) << "\n";
    const std::vector<std::string> buttons = CombinationButtonNames(record.comboButtons);
    out << "  combination    " << KeyCodeText(record.comboKey) << " + "
        << (buttons.empty() ? "(no pad button)" : Joined(buttons, " + ")) << "\n";
}

}  // namespace

std::vector<int> UsedSlots(const ImageHeader& header)
{
    std::vector<int> slots;
    for (int slot = 0; slot < kSlotCount; ++slot)
        if (header.used[slot] == kSlotUsed) slots.push_back(slot);
    return slots;
}

std::string ActiveProfileText(const uint8_t* image, std::string (*name)(const ProfileRecord&))
{
    const uint8_t active = HeaderOfImage(image).activeProfile;
    if (active == kNoActiveProfile) return "none";
    if (active >= kSlotCount) return "byte " + std::to_string(active) + ", which names no slot";
    const std::string slot = "slot " + std::to_string(active);
    if (HeaderOfImage(image).used[active] != kSlotUsed) return slot + " (free)";
    return slot + " \"" + name(*RecordOfSlot(image, active)) + "\"";
}

void DumpImageText(const uint8_t* image, std::ostream& out)
{
    const std::vector<int> slots = UsedSlots(HeaderOfImage(image));
    out << "active profile: " << ActiveProfileText(image, ProfileName) << "\n";
    out << "used slots (" << slots.size() << "): " << (slots.empty() ? "none" : Joined(Numbers(slots), " ")) << "\n";
    for (int slot : slots) DumpRecordText(*RecordOfSlot(image, slot), slot, out);
}

void DumpImageJson(const uint8_t* image, std::ostream& out)
{
    const ImageHeader& header = HeaderOfImage(image);
    const std::vector<int> slots = UsedSlots(header);
    const Json active = header.activeProfile == kNoActiveProfile ? Json(nullptr) : Json(header.activeProfile);
    const Json document = {{"activeProfile", active}, {"usedSlots", slots}, {"profiles", ProfileList(image, slots)}};
    out << document.dump(2) << "\n";
}

std::string ListedName(const ProfileRecord& record) { return EscapedName(record, IsNoControlByte); }

void ListProfiles(const uint8_t* image, std::ostream& out)
{
    const ImageHeader& header = HeaderOfImage(image);
    for (int slot : UsedSlots(header))
        out << slot << '\t' << (header.activeProfile == slot ? '*' : '-') << '\t'
            << ListedName(*RecordOfSlot(image, slot)) << '\n';
}
