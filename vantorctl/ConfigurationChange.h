// The read-change-write that every writing command of vantorctl shares: read the whole
// configuration, change it in memory, write what changed and read everything back, then
// tell what changed. The command holds the adapter's lock throughout, so that no other
// program writes in between.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "CommandSession.h"
#include "ProfileImport.h"

// A change of the loaded configuration: a status other than kCtlOk after the problem has
// been reported; otherwise `told` holds the lines that tell what changed.
using ImageChange = std::function<int(std::vector<uint8_t>& image, std::vector<std::string>& told)>;

// Reads the configuration, changes it, writes what changed and tells it: "DONE WHAT and
// verified all 64 blocks", then the lines of the change. A header the adapter must not be
// given is refused, and a configuration that did not change is not written.
int ChangeConfiguration(Session& session, const std::string& done, const std::string& what, const ImageChange& change);

// The write and the telling of ChangeConfiguration: `image` over `stored`, the
// configuration as read (empty when it could not be read: every block is written), then
// `told`.
int WriteConfiguration(Session& session, const std::string& done, const std::string& what,
                       const std::vector<uint8_t>& image, const std::vector<uint8_t>& stored,
                       const std::vector<std::string>& told);

// A change of the used profile in `slot` of the loaded configuration.
using ProfileChange = std::function<int(std::vector<uint8_t>& image, int slot, std::vector<std::string>& told)>;

// ChangeConfiguration with the change of the used profile `chosen` names, refused (wrong
// call) when there is no one such profile.
int ChangeChosenProfile(Session& session, const ProfileChoice& chosen, const ProfileChange& change);

// A new name from the command line (copy, rename): kCtlOk, or refused, the problem led by
// `label`, unless NewNameProblem finds it sound.
int CheckNewName(Session& session, const std::string& label, const std::string& newName);

// Places the checked profiles into the loaded image as import does and tells the slots it
// changed; refused when they do not fit.
int Place(Session& session, std::vector<uint8_t>& image, const std::vector<IncomingProfile>& incoming, bool replace,
          std::vector<std::string>& told);
