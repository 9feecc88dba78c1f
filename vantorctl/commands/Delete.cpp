#include "ChosenProfile.h"
#include "ConfigurationChange.h"
#include "EachCommand.h"
#include "ImageDump.h"
#include "ProfileListEdits.h"

// Frees the profile's slot as the window's Delete followed by OK does.
int command::Delete(const Invocation& call, Session& session)
{
    return ChangeChosenProfile(session, call.source, [](auto& image, int slot, auto& told) {
        told.push_back("deleted " + SlotText(image, slot));
        DeleteProfile(image, slot);
        told.push_back("active profile: " + ActiveProfileText(image.data(), ListedName));
        return int(kCtlOk);
    });
}
