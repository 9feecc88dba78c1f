#include "EachCommand.h"
#include "ImageDump.h"

// The active profile, the used slots and every used profile, as text or JSON.
int command::Dump(const Invocation& call, Session& session)
{
    std::vector<uint8_t> image;
    if (int status = session.Load(image)) return status;
    const CtlOutput& output = session.Output();
    call.json ? DumpImageJson(image.data(), output.Utf8Out()) : DumpImageText(image.data(), output.out);
    return kCtlOk;
}
