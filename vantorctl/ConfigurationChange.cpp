#include "ConfigurationChange.h"

#include "ChosenProfile.h"
#include "ImageCheck.h"
#include "ProfileFiles.h"
#include "ProfileListEdits.h"

int ChangeConfiguration(Session& session, const std::string& done, const std::string& what, const ImageChange& change)
{
    std::vector<uint8_t> image;
    if (int status = session.Load(image)) return status;
    const std::vector<uint8_t> loaded = image;
    std::vector<std::string> told;
    if (int status = change(image, told)) return status;
    return WriteConfiguration(session, done, what, image, loaded, told);
}

int WriteConfiguration(Session& session, const std::string& done, const std::string& what,
                       const std::vector<uint8_t>& image, const std::vector<uint8_t>& stored,
                       const std::vector<std::string>& told)
{
    std::ostream& out = session.Output().out;
    if (image == stored) {
        out << "nothing to change; nothing written\n";
        return kCtlOk;
    }
    const std::string refusal = RestoreRefusal(image.data());
    if (!refusal.empty()) return session.Refuse({"the adapter's header is not sound (" + refusal + "); check shows it"});
    if (int status = session.Write(image, stored, what)) return status;
    out << done << " " << what << " and verified all " << kBlockCount << " blocks\n";
    for (const std::string& line : told) out << line << "\n";
    return kCtlOk;
}

int ChangeChosenProfile(Session& session, const ProfileChoice& chosen, const ProfileChange& change)
{
    return ChangeConfiguration(session, "wrote", "the changed configuration",
                               [&](std::vector<uint8_t>& image, std::vector<std::string>& told) {
                                   std::string error;
                                   const int slot = ChosenSlot(image, chosen, error);
                                   return slot >= 0 ? change(image, slot, told) : session.Error(error, kCtlUsage);
                               });
}

int CheckNewName(Session& session, const std::string& label, const std::string& newName)
{
    const std::string problem = NewNameProblem(newName);
    return problem.empty() ? kCtlOk : session.Refuse({label + ": name: " + problem});
}

int Place(Session& session, std::vector<uint8_t>& image, const std::vector<IncomingProfile>& incoming, bool replace,
          std::vector<std::string>& told)
{
    std::vector<Placement> placements;
    const std::vector<ProfileProblem> problems = PlaceProfiles(image, incoming, replace, placements);
    if (!problems.empty()) return session.Refuse(EnglishLines(problems));
    // A key used twice is allowed, as in the window; it is told as check tells it.
    for (const std::string& warning : RepeatedKeyWarnings(image, placements)) session.Report("warning: " + warning);
    for (size_t index = 0; index < placements.size(); ++index)
        told.push_back("slot " + std::to_string(placements[index].slot) + ": " + incoming[index].label.english +
                       (placements[index].replaced ? " (replaced)" : " (new)"));
    return kCtlOk;
}
