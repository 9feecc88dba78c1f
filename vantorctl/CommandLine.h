// vantorctl's command line: its usage and help texts and what a call asks for.
#pragma once

#include <optional>
#include <string>
#include <vector>

extern const char kUsage[];
extern const char kHelp[];

// A used profile named on the command line: by slot when `slot` is not negative, by name
// when it is. A bare number has both: it may be the slot or the name.
struct ProfileChoice {
    int slot = -1;
    std::string name;
};

struct Invocation {
    std::string command;
    std::string file;                        // backup, restore, export, import
    ProfileChoice source;                    // copy, use, rename, delete SLOT-OR-NAME | --slot N | --name NAME
    std::string newName;                     // copy, rename NEWNAME
    std::string emulatedFile;                // --emulated FILE
    std::optional<ProfileChoice> exported;   // export --slot N | --name NAME
    bool json = false;
    bool replace = false;
    bool help = false;
};

// The call `args` (without the program name) asks for; false on a wrong call, with
// `problem` saying what is wrong.
bool ParseCommandLine(const std::vector<std::string>& args, Invocation& call, std::string& problem);
