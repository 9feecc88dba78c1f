#include "EachCommand.h"
#include "ImageDump.h"

// One line per used profile, for scripts.
int command::List(const Invocation&, Session& session)
{
    std::vector<uint8_t> image;
    if (int status = session.Load(image)) return status;
    ListProfiles(image.data(), session.Output().out);
    return kCtlOk;
}
