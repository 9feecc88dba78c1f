#include "ConfigurationChange.h"
#include "EachCommand.h"
#include "ProfileFiles.h"

// A backup back into the adapter: only the blocks that differ are written, and every
// block is read back, so the adapter holds the file exactly when this succeeds. A backup
// is what mends an adapter that cannot be read whole: that one gets every block.
int command::Restore(const Invocation& call, Session& session)
{
    std::vector<uint8_t> file;
    std::string refusal;
    const FileOutcome read = ReadImageFile(SystemPathFromNarrow(call.file), file, refusal);
    if (!read) return session.FileFailure("cannot read " + call.file, read.reason);
    if (!refusal.empty()) return session.Error(refusal, kCtlFileError);
    std::vector<uint8_t> stored;
    const int status = session.Load(stored);
    if (status == kCtlTransferFailed) session.Report("writing every block of " + call.file);
    else if (status) return status;
    return WriteConfiguration(session, "restored", call.file, file, stored, {});
}
