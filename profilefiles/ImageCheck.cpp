#include "ImageCheck.h"

#include <cstdio>
#include <cstring>
#include <map>

#include "ConfigImage.h"
#include "KeyTable.h"
#include "PadNames.h"

namespace {

std::string Hex(unsigned value)
{
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", value);
    return text;
}

class RecordChecker {
public:
    RecordChecker(const ProfileRecord& record, int slot, std::vector<ImageProblem>& problems)
        : m_record(record), m_slot(slot), m_problems(problems)
    {
    }

    void CheckAll()
    {
        CheckName();
        CheckKeyCodes();
        CheckRepeatedKeys();
        CheckRanges();
    }

private:
    void Report(const std::string& text) { m_problems.push_back({m_slot, text}); }

    void CheckName()
    {
        if (!std::memchr(m_record.name, 0, kNameBytes)) Report("name has no terminating NUL within its 15 bytes");
    }

    void CheckKeyCodes()
    {
        for (int slot = 0; slot < kKeySlotCount; ++slot) {
            const uint8_t code = m_record.keySlots[slot];
            if (code && !KeyNameFromCode(code))
                Report("key slot " + std::to_string(slot) + " holds " + Hex(code) + ", which names no key");
        }
        if (m_record.comboKey && !KeyNameFromCode(m_record.comboKey))
            Report("combination key " + Hex(m_record.comboKey) + " names no key");
    }

    // The keys the adapter acts on: the 20 pad controls of the record's axis mode and
    // the combination key.
    void CheckRepeatedKeys()
    {
        std::map<uint8_t, std::vector<std::string>> users;
        const uint8_t* map = KeySlotMap(m_record.axisMode);
        for (int box = 0; box < kKeyBoxCount; ++box)
            if (uint8_t code = m_record.keySlots[map[box]]) users[code].push_back(KeyBoxName(box));
        if (m_record.comboKey) users[m_record.comboKey].push_back("combination key");
        for (const auto& [code, controls] : users) {
            if (controls.size() < 2) continue;
            std::string list;
            for (const std::string& control : controls) list += (list.empty() ? "" : ", ") + control;
            Report("key " + KeyCodeText(code) + " is used " + std::to_string(controls.size()) + " times: " + list);
        }
    }

    void CheckRanges()
    {
        if (m_record.speed < kMinSpeed || m_record.speed > kMaxSpeed)
            Report("speed " + std::to_string(m_record.speed) + " is outside 2-120");
        if (m_record.axisMode > 1) Report("axis mode byte " + std::to_string(m_record.axisMode) + " is neither 0 nor 1");
        for (int button = 0; button < kMouseButtonCount; ++button) {
            if (m_record.mouseButtons[button] >= kPadButtonCount)
                Report(std::string(MouseButtonName(button)) + " mouse button byte " +
                       std::to_string(m_record.mouseButtons[button]) + " names no pad button");
        }
    }

    const ProfileRecord& m_record;
    int m_slot;
    std::vector<ImageProblem>& m_problems;
};

bool AnySlotUsed(const ImageHeader& header)
{
    for (uint8_t flag : header.used)
        if (flag == kSlotUsed) return true;
    return false;
}

// Empty when the active byte is sound: a used slot, or the adapter's "none". An adapter
// that never held a profile keeps its all-zero header, so 0 is sound while no slot is used.
std::string ActiveByteProblem(const ImageHeader& header)
{
    const uint8_t active = header.activeProfile;
    if (active == kNoActiveProfile || (active == 0 && !AnySlotUsed(header))) return "";
    if (active >= kSlotCount) return "active profile byte " + Hex(active) + " names no slot";
    if (header.used[active] != kSlotUsed) return "active profile is slot " + std::to_string(active) + ", which is free";
    return "";
}

std::string UsedFlagProblem(const ImageHeader& header, int slot)
{
    const uint8_t flag = header.used[slot];
    if (flag <= 1) return "";
    return "used flag of slot " + std::to_string(slot) + " is " + std::to_string(flag) + ", not 0 or 1";
}

}  // namespace

std::vector<ImageProblem> FindImageProblems(const uint8_t* image)
{
    std::vector<ImageProblem> problems;
    const ImageHeader& header = HeaderOfImage(image);
    if (std::string problem = ActiveByteProblem(header); !problem.empty()) problems.push_back({-1, problem});
    for (int slot = 0; slot < kSlotCount; ++slot)
        if (std::string problem = UsedFlagProblem(header, slot); !problem.empty()) problems.push_back({-1, problem});
    for (int slot = 0; slot < kSlotCount; ++slot)
        if (header.used[slot] == kSlotUsed) RecordChecker(*RecordOfSlot(image, slot), slot, problems).CheckAll();
    return problems;
}

std::string RestoreRefusal(const uint8_t* image)
{
    const ImageHeader& header = HeaderOfImage(image);
    for (int slot = 0; slot < kSlotCount; ++slot)
        if (std::string problem = UsedFlagProblem(header, slot); !problem.empty()) return problem;
    return ActiveByteProblem(header);
}
