#include "ConfigurationChange.h"
#include "EachCommand.h"
#include "ProfileFiles.h"

// A backup back into the adapter: only the blocks that differ are written, and every
// block is read back, so the adapter holds the file exactly when this succeeds.
int command::Restore(const Invocation& call, Session& session)
{
    std::vector<uint8_t> file;
    const std::string refusal = ReadImageFile(call.file, file);
    if (!refusal.empty()) return session.Error(refusal, kCtlFileError);
    return ChangeConfiguration(session, "restored", call.file, [&file](std::vector<uint8_t>& image, auto&) {
        image = file;
        return int(kCtlOk);
    });
}
