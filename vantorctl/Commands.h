// vantorctl: back up, restore, show and check the adapter's configuration.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "AdapterPort.h"

// Exit statuses, as --help lists them.
enum CtlStatus {
    kCtlOk = 0,
    kCtlProblemsFound = 1,   // check found problems
    kCtlUsage = 2,           // wrong call
    kCtlNoAdapter = 3,       // no adapter found
    kCtlFileError = 4,       // a file cannot be read or written, or a writing command refuses it
    kCtlTransferFailed = 5,  // a transfer failed while reading the configuration
    kCtlNotRestored = 6,     // a writing command: a block failed or differs from what was written
};

struct CtlOutput {
    std::ostream& out;
    std::ostream& err;
    bool showProgress;  // progress lines on err during a restore (a terminal)
};

// Runs one command line (without the program name). `defaultPort` is the adapter used
// unless --emulated names a memory file; null when the platform has no driver port.
int RunVantorctl(const std::vector<std::string>& args, CtlOutput output, AdapterPort* defaultPort);
