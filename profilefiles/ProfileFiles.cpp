#include "ProfileFiles.h"

#include "ImageCheck.h"
#include "NameText.h"

namespace {

// A profiles document is small: 63 profiles take some 60 KiB.
constexpr size_t kProfileFileLimit = 1 << 20;

ProfileLabel LabelOf(const Json& form, size_t index)
{
    const auto name = form.is_object() ? form.find("name") : form.end();
    const std::string named = name != form.end() && name->is_string() ? name->dump() : "";
    return {"profile " + std::to_string(index + 1) + (named.empty() ? "" : " " + named), index + 1, named};
}

}  // namespace

std::string ProfileFileText(const uint8_t* image, const std::vector<int>& slots)
{
    return Json{{"profiles", ProfileList(image, slots)}}.dump(2) + "\n";
}

std::vector<std::string> NameWrittenByteForByteWarnings(const uint8_t* image, const std::vector<int>& slots)
{
    std::vector<std::string> warnings;
    for (int slot : slots)
        if (!TextOfNameBytes(NameBytes(*RecordOfSlot(image, slot))).inCodePage)
            warnings.push_back("slot " + std::to_string(slot) + ": name: not text of " + NameCodePage() +
                               "; written byte for byte, each byte as the character of the same number (ISO 8859-1)");
    return warnings;
}

FileOutcome ReadProfileFile(const SystemPath& file, std::vector<IncomingProfile>& incoming,
                            std::vector<ProfileProblem>& problems)
{
    std::vector<uint8_t> bytes;
    const FileOutcome read = ReadFileStart(file, kProfileFileLimit + 1, bytes);
    if (!read) return read;
    const std::string path = NarrowText(file);
    if (bytes.size() > kProfileFileLimit) {
        problems.push_back({path, {}, {"", ProblemKind::kFileTooLong, {}}});
        return read;
    }
    std::vector<Json> forms;
    FieldProblem error;
    if (!ReadProfilesDocument(std::string(bytes.begin(), bytes.end()), forms, error)) {
        problems.push_back({path, {}, error});
        return read;
    }
    incoming.resize(forms.size());
    for (size_t index = 0; index < forms.size(); ++index)
        for (ProfileProblem& problem : ReadIncomingProfile(forms[index], LabelOf(forms[index], index), incoming[index])) {
            problem.file = path;
            problems.push_back(problem);
        }
    return read;
}

std::vector<std::string> RepeatedKeyWarnings(const std::vector<uint8_t>& image, const std::vector<Placement>& placements)
{
    std::vector<std::string> warnings;
    for (const ImageProblem& problem : FindImageProblems(image.data()))
        for (const Placement& placement : placements)
            if (problem.slot == placement.slot)
                warnings.push_back("slot " + std::to_string(problem.slot) + ": " + problem.text);
    return warnings;
}

FileOutcome ReadImageFile(const SystemPath& file, std::vector<uint8_t>& image, std::string& refusal)
{
    const FileOutcome read = ReadFileStart(file, kImageSize + 1, image);
    if (!read) return read;
    const std::string path = NarrowText(file);
    if (image.size() != kImageSize) {
        refusal = path + " is not a " + std::to_string(kImageSize) + "-byte image (" +
                  (image.size() > kImageSize ? "longer" : std::to_string(image.size()) + " bytes") + ")";
        return read;
    }
    const std::string headerRefusal = RestoreRefusal(image.data());
    refusal = headerRefusal.empty() ? "" : path + " is refused: " + headerRefusal;
    return read;
}
