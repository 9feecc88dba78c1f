#include "ConfigurationChange.h"
#include "EachCommand.h"
#include "ProfileFiles.h"

// The profiles of a JSON file, each into the lowest free slot or, with --replace, over
// the used profile of its name; all checked before anything is written.
int command::Import(const Invocation& call, Session& session)
{
    std::vector<IncomingProfile> incoming;
    std::vector<ProfileProblem> problems;
    const FileOutcome read = ReadProfileFile(SystemPathFromNarrow(call.file), incoming, problems);
    if (!read) return session.FileFailure("cannot read " + call.file, read.reason);
    if (!problems.empty()) return session.Refuse(EnglishLines(problems));
    if (incoming.empty()) {
        session.Output().out << call.file << " holds no profiles; nothing written\n";
        return kCtlOk;
    }
    return ChangeConfiguration(session, "wrote", "the changed configuration", [&](auto& image, auto& told) {
        return Place(session, image, incoming, call.replace, told);
    });
}
