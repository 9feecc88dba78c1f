#include "ConfigurationChange.h"
#include "EachCommand.h"
#include "ProfileFiles.h"

// The profiles of a JSON file, each into the lowest free slot or, with --replace, over
// the used profile of its name; all checked before anything is written.
int command::Import(const Invocation& call, Session& session)
{
    std::vector<IncomingProfile> incoming;
    std::vector<std::string> problems;
    if (!ReadProfileFile(SystemPathFromNarrow(call.file), incoming, problems)) return session.Refuse(problems);
    if (incoming.empty()) {
        session.Output().out << call.file << " holds no profiles; nothing written\n";
        return kCtlOk;
    }
    return ChangeConfiguration(session, "wrote", "the changed configuration", [&](auto& image, auto& told) {
        return Place(session, image, incoming, call.replace, told);
    });
}
