#include "ChosenProfile.h"
#include "ConfigurationChange.h"
#include "EachCommand.h"
#include "ProfileJson.h"

// A new name, checked as the window checks it, with zeros after it.
int command::Rename(const Invocation& call, Session& session)
{
    const std::string& newName = call.newName;
    return ChangeChosenProfile(session, call.source, [&](auto& image, int slot, auto& told) {
        const std::string label = "rename of slot " + std::to_string(slot) + " as \"" + newName + "\"";
        if (int status = CheckNewName(session, label, newName)) return status;
        told.push_back(SlotText(image, slot) + " renamed \"" + newName + "\"");
        StoreName(newName, *RecordOfSlot(image.data(), slot));
        return int(kCtlOk);
    });
}
