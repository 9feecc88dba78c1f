#include "ProfileJson.h"

#include <cstring>

#include "KeyTable.h"
#include "NameText.h"
#include "PadNames.h"

namespace {

Json KeyJson(uint8_t code) { return code ? Json(KeyCodeText(code)) : Json(nullptr); }

// Reads one profile form into a record, collecting a problem per wrong field.
class ProfileReader {
public:
    ProfileReader(const Json& profile, ProfileRecord& record) : m_profile(profile), m_record(record) {}

    std::vector<FieldProblem> ReadAll()
    {
        if (!m_profile.is_object()) return {{"profile", ProblemKind::kNotAnObject, {}}};
        ReadName();
        ReadNumber(Member(m_profile, "speed", "speed"), "speed", kMinSpeed, kMaxSpeed, m_record.speed);
        ReadNumber(Member(m_profile, "axisMode", "axisMode"), "axisMode", 0, 1, m_record.axisMode);
        ReadKeys();
        ReadMouse();
        ReadCombination();
        return m_problems;
    }

private:
    void Report(const std::string& field, ProblemKind kind, std::vector<std::string> values = {})
    {
        m_problems.push_back({field, kind, std::move(values)});
    }

    // The member `key` of `object`, or null after reporting it missing.
    const Json* Member(const Json& object, const std::string& key, const std::string& field)
    {
        const auto member = object.find(key);
        if (member != object.end()) return &*member;
        Report(field, ProblemKind::kMissing);
        return nullptr;
    }

    const Json* ObjectMember(const Json& object, const std::string& key)
    {
        const Json* member = Member(object, key, key);
        if (member && !member->is_object()) {
            Report(key, ProblemKind::kNotAnObject);
            return nullptr;
        }
        return member;
    }

    void ReadName()
    {
        const Json* name = Member(m_profile, "name", "name");
        if (!name) return;
        std::string bytes;
        std::string lacking;
        if (!name->is_string()) return Report("name", ProblemKind::kNotAText);
        if (!NameBytesFromText(name->get<std::string>(), bytes, lacking))
            return Report("name", ProblemKind::kNotInCodePage, {lacking, NameCodePage()});
        FieldProblem problem;
        if (!NameBytesFit(bytes, problem)) return m_problems.push_back({"name", problem.kind, problem.values});
        StoreName(bytes, m_record);
    }

    void ReadNumber(const Json* value, const std::string& field, unsigned low, unsigned high, uint8_t& byte)
    {
        if (!value) return;
        if (!value->is_number_integer()) return Report(field, ProblemKind::kNotAWholeNumber);
        if (!value->is_number_unsigned() || value->get<uint64_t>() < low || value->get<uint64_t>() > high)
            return Report(field, ProblemKind::kOutsideRange, {value->dump(), std::to_string(low), std::to_string(high)});
        byte = static_cast<uint8_t>(value->get<uint64_t>());
    }

    // A key name, or null for no key.
    void ReadKey(const Json& value, const std::string& field, uint8_t& code)
    {
        code = 0;
        if (value.is_null()) return;
        if (value.is_string()) {
            const std::string& name = value.get_ref<const std::string&>();
            if (name.find('\0') == std::string::npos) code = KeyCodeFromName(name.c_str());
        }
        if (!code) Report(field, ProblemKind::kUnknownKeyName, {value.dump()});
    }

    bool ReadPadButton(const Json& value, const std::string& field, int& button)
    {
        button = value.is_string() ? PadButtonFromName(value.get<std::string>()) : -1;
        if (button < 0) Report(field, ProblemKind::kUnknownPadButtonName, {value.dump()});
        return button >= 0;
    }

    // The axis mode, read before, picks the key slots of the 20 controls.
    void ReadKeys()
    {
        const Json* keys = ObjectMember(m_profile, "keys");
        if (!keys) return;
        std::memset(m_record.keySlots, 0, kKeySlotCount);
        const uint8_t* map = KeySlotMap(m_record.axisMode);
        for (int box = 0; box < kKeyBoxCount; ++box) {
            const std::string field = std::string("keys.") + KeyBoxName(box);
            if (const Json* key = Member(*keys, KeyBoxName(box), field)) ReadKey(*key, field, m_record.keySlots[map[box]]);
        }
    }

    void ReadMouse()
    {
        const Json* mouse = ObjectMember(m_profile, "mouse");
        if (!mouse) return;
        for (int button = 0; button < kMouseButtonCount; ++button) {
            const std::string field = std::string("mouse.") + MouseButtonName(button);
            int padButton = 0;
            const Json* value = Member(*mouse, MouseButtonName(button), field);
            if (value && ReadPadButton(*value, field, padButton)) m_record.mouseButtons[button] = static_cast<uint8_t>(padButton);
        }
    }

    void ReadCombination()
    {
        const Json* combination = ObjectMember(m_profile, "combination");
        if (!combination) return;
        if (const Json* key = Member(*combination, "key", "combination.key"))
            ReadKey(*key, "combination.key", m_record.comboKey);
        const Json* buttons = Member(*combination, "buttons", "combination.buttons");
        if (!buttons) return;
        if (!buttons->is_array()) return Report("combination.buttons", ProblemKind::kNotAList);
        m_record.comboButtons = 0;
        for (const Json& value : *buttons) {
            int button = 0;
            if (ReadPadButton(value, "combination.buttons", button)) m_record.comboButtons |= 1u << button;
        }
    }

    const Json& m_profile;
    ProfileRecord& m_record;
    std::vector<FieldProblem> m_problems;
};

}  // namespace

std::string NameBytes(const ProfileRecord& record)
{
    const void* end = std::memchr(record.name, 0, kNameBytes);
    return std::string(record.name, end ? static_cast<const char*>(end) : record.name + kNameBytes);
}

void StoreName(const std::string& bytes, ProfileRecord& record)
{
    std::memset(record.name, 0, kNameBytes);
    std::memcpy(record.name, bytes.data(), bytes.size());
}

bool NameBytesFit(const std::string& bytes, FieldProblem& problem)
{
    if (bytes.find('\0') != std::string::npos) problem = {"", ProblemKind::kHoldsNul, {}};
    else if (bytes.size() >= kNameBytes)
        problem = {"", ProblemKind::kNameTooLong, {std::to_string(bytes.size()), std::to_string(kNameBytes - 1)}};
    else return true;
    return false;
}

std::string NameBytesProblem(const std::string& bytes)
{
    FieldProblem problem;
    return NameBytesFit(bytes, problem) ? "" : EnglishText(problem);
}

Json ProfileJson(const ProfileRecord& record)
{
    Json keys = Json::object();
    const uint8_t* map = KeySlotMap(record.axisMode);
    for (int box = 0; box < kKeyBoxCount; ++box) keys[KeyBoxName(box)] = KeyJson(record.keySlots[map[box]]);
    Json mouse = Json::object();
    for (int button = 0; button < kMouseButtonCount; ++button)
        mouse[MouseButtonName(button)] = PadButtonName(record.mouseButtons[button]);
    const Json combination = {{"key", KeyJson(record.comboKey)}, {"buttons", CombinationButtonNames(record.comboButtons)}};
    return {{"name", TextOfNameBytes(NameBytes(record)).text},
            {"speed", record.speed},
            {"axisMode", record.axisMode},
            {"keys", keys},
            {"mouse", mouse},
            {"combination", combination}};
}

Json ProfileList(const uint8_t* image, const std::vector<int>& slots)
{
    Json list = Json::array();
    for (int slot : slots) {
        Json profile = {{"slot", slot}, {"active", HeaderOfImage(image).activeProfile == slot}};
        profile.update(ProfileJson(*RecordOfSlot(image, slot)));
        list.push_back(profile);
    }
    return list;
}

std::vector<FieldProblem> RecordFromProfileJson(const Json& profile, ProfileRecord& record)
{
    return ProfileReader(profile, record).ReadAll();
}

bool ReadProfilesDocument(const std::string& text, std::vector<Json>& profiles, FieldProblem& error)
{
    Json document;
    try {
        document = Json::parse(text);
    } catch (const Json::exception& parseError) {
        // "[json.exception.parse_error.101] parse error at line 2, column 3: ..."
        const std::string what = parseError.what();
        error = {"", ProblemKind::kNotJson, {what.substr(what.find(']') + 2)}};
        return false;
    }
    const auto list = document.find("profiles");
    if (list == document.end() || !list->is_array()) {
        error = {"", ProblemKind::kNoProfilesList, {}};
        return false;
    }
    profiles.assign(list->begin(), list->end());
    return true;
}
