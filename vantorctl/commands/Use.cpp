#include "ChosenProfile.h"
#include "ConfigurationChange.h"
#include "EachCommand.h"

// Makes the profile the active one: only the header changes.
int command::Use(const Invocation& call, Session& session)
{
    return ChangeChosenProfile(session, call.source, [](auto& image, int slot, auto& told) {
        HeaderOfImage(image.data()).activeProfile = static_cast<uint8_t>(slot);
        told.push_back("active profile: " + SlotText(image, slot));
        return int(kCtlOk);
    });
}
