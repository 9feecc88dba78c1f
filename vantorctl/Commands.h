// vantorctl: back up, restore, show and check the adapter's configuration.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "AdapterLock.h"
#include "AdapterPort.h"
#include "Interruption.h"

// Exit statuses, as --help lists them.
enum CtlStatus {
    kCtlOk = 0,
    kCtlProblemsFound = 1,   // check found problems
    kCtlUsage = 2,           // wrong call
    kCtlNoAdapter = 3,       // no adapter found
    kCtlFileError = 4,       // a file cannot be read or written, or a writing command refuses it
    kCtlTransferFailed = 5,  // a transfer failed while reading the configuration
    kCtlNotRestored = 6,     // a writing command: a block failed or differs from what was written
    kCtlBusy = 7,            // another program kept the adapter busy
    kCtlInterrupted = 8,     // asked to end (Ctrl+C, the console closed): a write begun was finished
};

struct CtlOutput {
    std::ostream& out;
    std::ostream& err;
    bool showProgress;  // progress lines on err during a restore (a terminal)
    std::ostream* utf8Out = nullptr;  // for UTF-8 text (dump --json) when not `out`

    std::ostream& Utf8Out() const { return utf8Out ? *utf8Out : out; }
};

// The adapter that a command talks to unless --emulated names a memory file, and the lock
// that every program holds while it talks to that adapter.
struct DriverAccess {
    AdapterPort& port;
    AdapterLock& lock;
    Interruption* interruption = nullptr;  // the program's ending asked for, where it can be
};

// Runs one command line (without the program name); `driver` is null when the platform
// has no driver port.
int RunVantorctl(const std::vector<std::string>& args, CtlOutput output, const DriverAccess* driver);
