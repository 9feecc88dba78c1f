#include "AtomicFile.h"
#include "EachCommand.h"

// The whole configuration into a file, written atomically.
int command::Backup(const Invocation& call, Session& session)
{
    std::vector<uint8_t> image;
    if (int status = session.Load(image)) return status;
    if (const FileOutcome written = WriteFileAtomically(SystemPathFromNarrow(call.file), image); !written)
        return session.FileFailure("cannot write " + call.file, written.reason);
    session.Output().out << "backed up " << image.size() << " bytes to " << call.file << "\n";
    return kCtlOk;
}
