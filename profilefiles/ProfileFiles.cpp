#include "ProfileFiles.h"

#include "AtomicFile.h"
#include "ImageCheck.h"
#include "NameText.h"

namespace {

// A profiles document is small: 63 profiles take some 60 KiB.
constexpr size_t kProfileFileLimit = 1 << 20;

std::string ProfileLabel(const Json& form, size_t index)
{
    const auto name = form.is_object() ? form.find("name") : form.end();
    const bool named = name != form.end() && name->is_string();
    return "profile " + std::to_string(index + 1) + (named ? " " + name->dump() : "");
}

bool Refused(std::vector<std::string>& problems, const std::string& problem)
{
    problems.push_back(problem);
    return false;
}

std::string CannotRead(const std::string& path, const FileOutcome& read)
{
    return "cannot read " + path + NarrowText(read.reason);
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

bool ReadProfileFile(const SystemPath& file, std::vector<IncomingProfile>& incoming, std::vector<std::string>& problems)
{
    std::vector<uint8_t> bytes;
    const std::string path = NarrowText(file);
    if (const FileOutcome read = ReadFileStart(file, kProfileFileLimit + 1, bytes); !read)
        return Refused(problems, CannotRead(path, read));
    if (bytes.size() > kProfileFileLimit) return Refused(problems, path + " is refused: longer than 1 MiB");
    std::vector<Json> forms;
    std::string error;
    if (!ReadProfilesDocument(std::string(bytes.begin(), bytes.end()), forms, error))
        return Refused(problems, path + " is refused: " + error);
    const size_t known = problems.size();
    incoming.resize(forms.size());
    for (size_t index = 0; index < forms.size(); ++index)
        for (const std::string& problem : ReadIncomingProfile(forms[index], ProfileLabel(forms[index], index), incoming[index]))
            problems.push_back(path + ": " + problem);
    return problems.size() == known;
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

std::string ReadImageFile(const SystemPath& file, std::vector<uint8_t>& image)
{
    const std::string path = NarrowText(file);
    if (const FileOutcome read = ReadFileStart(file, kImageSize + 1, image); !read) return CannotRead(path, read);
    if (image.size() != kImageSize)
        return path + " is not a " + std::to_string(kImageSize) + "-byte image (" +
               (image.size() > kImageSize ? "longer" : std::to_string(image.size()) + " bytes") + ")";
    const std::string refusal = RestoreRefusal(image.data());
    return refusal.empty() ? "" : path + " is refused: " + refusal;
}
