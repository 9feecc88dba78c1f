#include "Commands.h"

#include <map>

#include "AtomicFile.h"
#include "CommandLine.h"
#include "CommandSession.h"
#include "EmulatedAdapter.h"
#include "SystemTextOutput.h"
#include "commands/EachCommand.h"

namespace {

using Command = int (*)(const Invocation& call, Session& session);

const std::map<std::string, Command> kCommands = {
    {"backup", command::Backup}, {"check", command::Check},   {"copy", command::Copy},
    {"delete", command::Delete}, {"dump", command::Dump},     {"export", command::Export},
    {"import", command::Import}, {"list", command::List},     {"rename", command::Rename},
    {"restore", command::Restore}, {"use", command::Use}};

int RunCommand(const Invocation& call, AdapterPort& port, CtlOutput output, Interruption* interruption)
{
    Session session(port, output, interruption);
    return kCommands.at(call.command)(call, session);
}

// The whole command holds the lock, so that no other program writes between its read and
// its write, nor while it transfers.
int RunLocked(const Invocation& call, const DriverAccess& driver, CtlOutput output)
{
    AdapterLockHold hold(driver.lock);
    if (!hold.Held()) {
        output.err << "vantorctl: the adapter is busy: another program is reading or writing its configuration; "
                      "try again in a moment\n";
        return kCtlBusy;
    }
    return RunCommand(call, driver.port, output, driver.interruption);
}

int FileError(std::ostream& err, const std::string& message, const SystemText& reason = {})
{
    ReportWithSystemReason(err, message, reason);
    return kCtlFileError;
}

// The emulated adapter works on an existing memory file only, so that a mistyped name
// does not show up as an empty adapter. It lives in this process alone and takes no lock:
// it reads the file once at start and writes it through.
int RunEmulated(const Invocation& call, CtlOutput output, Interruption* interruption)
{
    const std::string& path = call.emulatedFile;
    std::vector<uint8_t> probe;
    if (const FileOutcome read = ReadFileStart(SystemPathFromNarrow(path), 1, probe); !read)
        return FileError(output.err, "cannot read " + path, read.reason);
    EmulatedAdapter emulated(EmulatedAdapter::Clock::Real);
    if (!emulated.UseMemoryFile(path))
        return FileError(output.err, "cannot use " + path + " as the adapter's memory: not a 4096-byte image");
    return RunCommand(call, emulated, output, interruption);
}

}  // namespace

int RunVantorctl(const std::vector<std::string>& args, CtlOutput output, const DriverAccess* driver)
{
    Invocation call;
    std::string problem;
    if (!ParseCommandLine(args, call, problem)) {
        output.err << kUsage << "\nvantorctl: " << problem << "\n";
        return kCtlUsage;
    }
    if (call.help) {
        output.out << kUsage << "\n\n" << kHelp;
        return kCtlOk;
    }
    if (!call.emulatedFile.empty()) return RunEmulated(call, output, driver ? driver->interruption : nullptr);
    if (!driver) {
        output.err << "vantorctl: no adapter found (this build has no driver; use --emulated FILE)\n";
        return kCtlNoAdapter;
    }
    return RunLocked(call, *driver, output);
}
