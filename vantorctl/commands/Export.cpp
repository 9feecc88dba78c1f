#include "AtomicFile.h"
#include "ChosenProfile.h"
#include "EachCommand.h"
#include "ImageDump.h"
#include "ProfileFiles.h"

// Every used profile, or the chosen one, in its JSON form with its slot and the active
// mark.
int command::Export(const Invocation& call, Session& session)
{
    std::vector<uint8_t> image;
    if (int status = session.Load(image)) return status;
    std::vector<int> slots = UsedSlots(HeaderOfImage(image.data()));
    std::string error;
    if (call.exported) slots = {ChosenSlot(image, *call.exported, error)};
    if (!error.empty()) return session.Error(error, kCtlUsage);
    for (const std::string& warning : NameWrittenByteForByteWarnings(image.data(), slots))
        session.Report("warning: " + warning);
    const std::string text = ProfileFileText(image.data(), slots);
    if (const FileOutcome written = WriteFileAtomically(SystemPathFromNarrow(call.file), {text.begin(), text.end()}); !written)
        return session.FileFailure("cannot write " + call.file, written.reason);
    session.Output().out << "exported " << slots.size() << (slots.size() == 1 ? " profile" : " profiles") << " to "
                         << call.file << "\n";
    return kCtlOk;
}
