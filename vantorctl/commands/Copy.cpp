#include "ConfigurationChange.h"
#include "EachCommand.h"
#include "NameText.h"

// The copy goes through the JSON form, so it carries what an export carries; the name,
// checked first, is text of the code page, which the form brings back byte for byte.
int command::Copy(const Invocation& call, Session& session)
{
    const std::string& newName = call.newName;
    return ChangeChosenProfile(session, call.source, [&](auto& image, int source, auto& told) {
        const ProfileLabel label = {"copy of slot " + std::to_string(source) + " as \"" + newName + "\"", 0, ""};
        if (int status = CheckNewName(session, label.english, newName)) return status;
        Json form = ProfileJson(*RecordOfSlot(image.data(), source));
        form["name"] = TextOfNameBytes(newName).text;
        std::vector<IncomingProfile> incoming(1);
        const std::vector<ProfileProblem> problems = ReadIncomingProfile(form, label, incoming[0]);
        if (!problems.empty()) return session.Refuse(EnglishLines(problems));
        return Place(session, image, incoming, false, told);
    });
}
