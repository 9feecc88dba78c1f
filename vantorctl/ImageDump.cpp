#include "ImageDump.h"

#include <cstdio>
#include <string>
#include <vector>

#include "ConfigImage.h"
#include "PadNames.h"

namespace {

const char* const kMouseNames[kMouseButtonCount] = {"right", "left", "middle"};

// The name up to its NUL, at most 15 bytes, with bytes outside printable ASCII as \xNN.
std::string ProfileName(const ProfileRecord& record)
{
    std::string name;
    for (int i = 0; i < kNameBytes && record.name[i]; ++i) {
        const auto byte = static_cast<unsigned char>(record.name[i]);
        if (byte >= 0x20 && byte < 0x7F) {
            name += static_cast<char>(byte);
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            name += escaped;
        }
    }
    return name;
}

std::vector<int> UsedSlots(const ImageHeader& header)
{
    std::vector<int> slots;
    for (int slot = 0; slot < kSlotCount; ++slot)
        if (header.used[slot] == kSlotUsed) slots.push_back(slot);
    return slots;
}

std::vector<std::string> ComboButtons(const ProfileRecord& record)
{
    std::vector<std::string> buttons;
    for (int button = 0; button < kPadButtonCount; ++button)
        if ((record.comboButtons >> button) & 1) buttons.push_back(PadButtonName(button));
    return buttons;
}

std::string ActiveText(uint8_t active)
{
    if (active == kNoActiveProfile) return "none";
    return "slot " + std::to_string(active);
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
        out << "  mouse " << kMouseNames[button] << " -> " << PadButtonName(record.mouseButtons[button]) << "\n";
    out << "  combination    " << KeyCodeText(record.comboKey) << " + " << Joined(ComboButtons(record), " + ") << "\n";
}

std::string JsonString(const std::string& text)
{
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') quoted += '\\';
        quoted += c;
    }
    return quoted + "\"";
}

std::string JsonList(const std::vector<std::string>& items)
{
    std::vector<std::string> quoted;
    for (const std::string& item : items) quoted.push_back(JsonString(item));
    return "[" + Joined(quoted, ", ") + "]";
}

void DumpRecordJson(const ProfileRecord& record, int slot, std::ostream& out)
{
    out << "    {\"slot\": " << slot << ", \"name\": " << JsonString(ProfileName(record)) << ", \"speed\": "
        << int(record.speed) << ", \"axisMode\": " << int(record.axisMode) << ",\n     \"keys\": {";
    const uint8_t* map = KeySlotMap(record.axisMode);
    for (int box = 0; box < kKeyBoxCount; ++box)
        out << (box ? ", " : "") << JsonString(KeyBoxName(box)) << ": " << JsonString(KeyCodeText(record.keySlots[map[box]]));
    out << "},\n     \"mouse\": {";
    for (int button = 0; button < kMouseButtonCount; ++button)
        out << (button ? ", " : "") << JsonString(kMouseNames[button]) << ": "
            << JsonString(PadButtonName(record.mouseButtons[button]));
    out << "},\n     \"combination\": {\"key\": " << JsonString(KeyCodeText(record.comboKey))
        << ", \"buttons\": " << JsonList(ComboButtons(record)) << "}}";
}

}  // namespace

void DumpImageText(const uint8_t* image, std::ostream& out)
{
    const ImageHeader& header = HeaderOfImage(image);
    const std::vector<int> slots = UsedSlots(header);
    std::vector<std::string> slotTexts;
    for (int slot : slots) slotTexts.push_back(std::to_string(slot));
    out << "active profile: " << ActiveText(header.activeProfile) << "\n";
    out << "used slots (" << slots.size() << "): " << (slots.empty() ? "none" : Joined(slotTexts, " ")) << "\n";
    for (int slot : slots) DumpRecordText(*RecordOfSlot(image, slot), slot, out);
}

void DumpImageJson(const uint8_t* image, std::ostream& out)
{
    const ImageHeader& header = HeaderOfImage(image);
    const std::vector<int> slots = UsedSlots(header);
    out << "{\n  \"activeProfile\": ";
    if (header.activeProfile == kNoActiveProfile) out << "null";
    else out << int(header.activeProfile);
    out << ",\n  \"profiles\": [\n";
    for (size_t i = 0; i < slots.size(); ++i) {
        DumpRecordJson(*RecordOfSlot(image, slots[i]), slots[i], out);
        out << (i + 1 < slots.size() ? ",\n" : "\n");
    }
    out << "  ]\n}\n";
}
