#include "ImageDump.h"

#include <cstdio>
#include <string>
#include <vector>

#include "ConfigImage.h"
#include "KeyTable.h"
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

std::vector<std::string> Numbers(const std::vector<int>& values)
{
    std::vector<std::string> texts;
    for (int value : values) texts.push_back(std::to_string(value));
    return texts;
}

std::vector<std::string> ComboButtons(const ProfileRecord& record)
{
    std::vector<std::string> buttons;
    for (int button = 0; button < kPadButtonCount; ++button)
        if ((record.comboButtons >> button) & 1) buttons.push_back(PadButtonName(button));
    return buttons;
}

std::string Joined(const std::vector<std::string>& items, const char* separator)
{
    std::string text;
    for (const std::string& item : items) text += (text.empty() ? "" : separator) + item;
    return text;
}

std::string ActiveText(const uint8_t* image)
{
    const uint8_t active = HeaderOfImage(image).activeProfile;
    if (active == kNoActiveProfile) return "none";
    if (active >= kSlotCount) return "byte " + std::to_string(active) + ", which names no slot";
    const std::string slot = "slot " + std::to_string(active);
    if (HeaderOfImage(image).used[active] != kSlotUsed) return slot + " (free)";
    return slot + " \"" + ProfileName(*RecordOfSlot(image, active)) + "\"";
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
    const std::vector<std::string> buttons = ComboButtons(record);
    out << "  combination    " << KeyCodeText(record.comboKey) << " + "
        << (buttons.empty() ? "(no pad button)" : Joined(buttons, " + ")) << "\n";
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

std::string JsonNameOrNull(const char* name) { return name ? JsonString(name) : "null"; }

// A key as programs want it: the code as stored and its name, null when it names none.
std::string JsonKey(uint8_t code)
{
    return "{\"code\": " + std::to_string(code) + ", \"name\": " + JsonNameOrNull(KeyNameFromCode(code)) + "}";
}

std::string JsonPadButton(uint8_t button)
{
    const std::string name = button < kPadButtonCount ? JsonString(PadButtonName(button)) : "null";
    return "{\"button\": " + std::to_string(button) + ", \"name\": " + name + "}";
}

std::string JsonList(const std::vector<std::string>& items) { return "[" + Joined(items, ", ") + "]"; }

void DumpRecordJson(const ProfileRecord& record, int slot, std::ostream& out)
{
    out << "    {\"slot\": " << slot << ", \"name\": " << JsonString(ProfileName(record)) << ", \"speed\": "
        << int(record.speed) << ", \"axisMode\": " << int(record.axisMode) << ",\n     \"keys\": {";
    const uint8_t* map = KeySlotMap(record.axisMode);
    for (int box = 0; box < kKeyBoxCount; ++box)
        out << (box ? ",\n              " : "") << JsonString(KeyBoxName(box)) << ": " << JsonKey(record.keySlots[map[box]]);
    out << "},\n     \"mouse\": {";
    for (int button = 0; button < kMouseButtonCount; ++button)
        out << (button ? ", " : "") << JsonString(kMouseNames[button]) << ": " << JsonPadButton(record.mouseButtons[button]);
    std::vector<std::string> buttons;
    for (const std::string& button : ComboButtons(record)) buttons.push_back(JsonString(button));
    out << "},\n     \"combination\": {\"key\": " << JsonKey(record.comboKey) << ", \"buttons\": " << JsonList(buttons)
        << "}}";
}

}  // namespace

void DumpImageText(const uint8_t* image, std::ostream& out)
{
    const std::vector<int> slots = UsedSlots(HeaderOfImage(image));
    out << "active profile: " << ActiveText(image) << "\n";
    out << "used slots (" << slots.size() << "): " << (slots.empty() ? "none" : Joined(Numbers(slots), " ")) << "\n";
    for (int slot : slots) DumpRecordText(*RecordOfSlot(image, slot), slot, out);
}

void DumpImageJson(const uint8_t* image, std::ostream& out)
{
    const ImageHeader& header = HeaderOfImage(image);
    const std::vector<int> slots = UsedSlots(header);
    out << "{\n  \"activeProfile\": ";
    if (header.activeProfile == kNoActiveProfile) out << "null";
    else out << int(header.activeProfile);
    out << ",\n  \"usedSlots\": " << JsonList(Numbers(slots)) << ",\n  \"profiles\": [\n";
    for (size_t i = 0; i < slots.size(); ++i) {
        DumpRecordJson(*RecordOfSlot(image, slots[i]), slots[i], out);
        out << (i + 1 < slots.size() ? ",\n" : "\n");
    }
    out << "  ]\n}\n";
}
