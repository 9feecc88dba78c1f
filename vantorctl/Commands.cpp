#include "Commands.h"

#include <algorithm>
#include <set>

#include "AdapterLink.h"
#include "AtomicFile.h"
#include "EmulatedAdapter.h"
#include "ImageCheck.h"
#include "ImageDump.h"
#include "ProgressPort.h"

namespace {

const char kUsage[] = "usage: vantorctl [--emulated FILE] (dump [--json] | backup FILE | restore FILE | check | --help)";

const char kHelp[] =
    "Backs up, restores, shows and checks the configuration stored in the adapter.\n"
    "\n"
    "commands:\n"
    "  dump [--json]   show the active profile, the used slots and every used profile\n"
    "  backup FILE     read the whole configuration and write it to FILE (4096 bytes)\n"
    "  restore FILE    write FILE to the adapter, then read it back and compare\n"
    "  check           report what is wrong or doubtful in the stored configuration\n"
    "\n"
    "options:\n"
    "  --emulated FILE use an emulated adapter whose memory is FILE, an existing\n"
    "                  4096-byte image (blocks in order, header last)\n"
    "  --help          show this text\n"
    "\n"
    "Only restore writes to the adapter.\n"
    "\n"
    "exit status:\n"
    "  0  success (check: nothing found; restore: the adapter holds FILE, verified)\n"
    "  1  check found problems\n"
    "  2  wrong call\n"
    "  3  no adapter found\n"
    "  4  a file cannot be read or written, or restore refuses it\n"
    "  5  a transfer with the adapter failed while reading the configuration\n"
    "  6  restore: the adapter does not hold FILE exactly (a block failed or differs)\n";

struct Invocation {
    std::string command;
    std::vector<std::string> operands;
    std::string emulatedFile;
    bool json = false;
    bool help = false;
};

// False on a wrong call.
bool Parse(const std::vector<std::string>& args, Invocation& call)
{
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") call.help = true;
        else if (arg == "--json") call.json = true;
        else if (arg == "--emulated" && i + 1 < args.size()) call.emulatedFile = args[++i];
        else if (!arg.empty() && arg[0] == '-') return false;
        else if (call.command.empty()) call.command = arg;
        else call.operands.push_back(arg);
    }
    if (call.help) return true;
    const size_t wanted = (call.command == "backup" || call.command == "restore") ? 1 : 0;
    const bool known = call.command == "dump" || call.command == "check" || wanted == 1;
    return known && call.operands.size() == wanted && (!call.json || call.command == "dump");
}

class Session {
public:
    Session(AdapterPort& port, CtlOutput output) : m_link(port), m_output(output) {}

    // The whole configuration into `image`; a status other than kCtlOk after the error
    // has been reported.
    int Load(std::vector<uint8_t>& image)
    {
        uint8_t* records = nullptr;
        if (!m_link.LoadConfig(&records)) return LinkFailure("reading the configuration");
        image.assign(records, records + kRecordBufferSize);
        image.insert(image.end(), m_link.Header(), m_link.Header() + kBlockSize);
        return kCtlOk;
    }

    int Dump(bool json)
    {
        std::vector<uint8_t> image;
        if (int status = Load(image)) return status;
        json ? DumpImageJson(image.data(), m_output.out) : DumpImageText(image.data(), m_output.out);
        return kCtlOk;
    }

    int Check()
    {
        std::vector<uint8_t> image;
        if (int status = Load(image)) return status;
        const std::vector<ImageProblem> problems = FindImageProblems(image.data());
        for (const ImageProblem& problem : problems) {
            if (problem.slot < 0) m_output.out << "header: " << problem.text << "\n";
            else m_output.out << "slot " << problem.slot << ": " << problem.text << "\n";
        }
        if (problems.empty()) m_output.out << "no problems found\n";
        return problems.empty() ? kCtlOk : kCtlProblemsFound;
    }

    int Backup(const std::string& path)
    {
        std::vector<uint8_t> image;
        if (int status = Load(image)) return status;
        if (!WriteFileAtomically(path, image)) return Error("cannot write " + path + FileErrorReason(), kCtlFileError);
        m_output.out << "backed up " << image.size() << " bytes to " << path << "\n";
        return kCtlOk;
    }

    // Writes the image in the order of a save, then reads every block back: the adapter
    // holds the file only when the save went through and no block failed or differs.
    int Restore(const std::string& path, const std::vector<uint8_t>& image)
    {
        m_link.ReplaceImage(image.data());
        const bool saved = m_link.SaveConfig();
        if (m_output.showProgress) m_output.err << "\n";
        if (!saved && m_link.Handle() == kInvalidAdapterHandle) return Error("no adapter found", kCtlNoAdapter);
        std::set<int> faulty;
        if (!saved) {
            faulty.insert(m_link.SavedBlockCount());
            Report("writing " + BlockText(m_link.SavedBlockCount()) + " failed; the blocks after it were not written");
        }
        CompareWithAdapter(faulty);
        if (faulty.empty()) {
            m_output.out << "restored " << path << " and verified all " << kBlockCount << " blocks\n";
            return kCtlOk;
        }
        return Error("the adapter does not hold " + path + " exactly: " + std::to_string(faulty.size()) + " of " +
                         std::to_string(kBlockCount) + " blocks failed or differ",
                     kCtlNotRestored);
    }

private:
    // Names each block that cannot be read back or differs from the image, and adds it
    // to `faulty`.
    void CompareWithAdapter(std::set<int>& faulty)
    {
        for (const BlockFault& fault : m_link.VerifyConfig()) {
            faulty.insert(fault.block);
            Report(BlockText(fault.block) + (fault.unreadable ? " cannot be read back" : " differs from the file"));
        }
    }

    static std::string BlockText(int block)
    {
        return "block " + std::to_string(block) + (block == kHeaderBlock ? " (header)" : "");
    }

    int LinkFailure(const std::string& what)
    {
        if (m_link.Handle() == kInvalidAdapterHandle) return Error("no adapter found", kCtlNoAdapter);
        return Error(what + " failed: a transfer with the adapter failed", kCtlTransferFailed);
    }

    void Report(const std::string& message) { m_output.err << "vantorctl: " << message << "\n"; }

    int Error(const std::string& message, int status)
    {
        Report(message);
        return status;
    }

    CAdapterLink m_link;
    CtlOutput m_output;
};

int FileError(std::ostream& err, const std::string& message)
{
    err << "vantorctl: " << message << "\n";
    return kCtlFileError;
}

// The restore file, refused unless it is a whole image with a sound header.
int ReadRestoreFile(const std::string& path, std::vector<uint8_t>& image, std::ostream& err)
{
    if (!ReadFileStart(path, kImageSize + 1, image)) return FileError(err, "cannot read " + path + FileErrorReason());
    if (image.size() != kImageSize)
        return FileError(err, path + " is not a " + std::to_string(kImageSize) + "-byte image (" +
                                  (image.size() > kImageSize ? "longer" : std::to_string(image.size()) + " bytes") + ")");
    const std::string refusal = RestoreRefusal(image.data());
    if (!refusal.empty()) return FileError(err, path + " is refused: " + refusal);
    return kCtlOk;
}

// On a terminal, the block being written; a save spends its time in the two pauses of
// each block, so the first pause of a block marks its start.
void ShowWriteProgress(std::ostream& err, unsigned pauses)
{
    if (pauses % 2 == 1) err << "\rwriting block " << (pauses + 1) / 2 << " of " << kBlockCount << std::flush;
}

int Restore(const std::string& path, AdapterPort& port, CtlOutput output)
{
    std::vector<uint8_t> image;
    if (int status = ReadRestoreFile(path, image, output.err)) return status;
    ProgressPort progress(port, [&output](unsigned pauses) {
        if (output.showProgress) ShowWriteProgress(output.err, pauses);
    });
    return Session(progress, output).Restore(path, image);
}

int RunCommand(const Invocation& call, AdapterPort& port, CtlOutput output)
{
    if (call.command == "restore") return Restore(call.operands[0], port, output);
    Session session(port, output);
    if (call.command == "dump") return session.Dump(call.json);
    if (call.command == "backup") return session.Backup(call.operands[0]);
    return session.Check();
}

// The emulated adapter works on an existing memory file only, so that a mistyped name
// does not show up as an empty adapter.
int RunEmulated(const Invocation& call, CtlOutput output)
{
    const std::string& path = call.emulatedFile;
    std::vector<uint8_t> probe;
    if (!ReadFileStart(path, 1, probe)) return FileError(output.err, "cannot read " + path + FileErrorReason());
    EmulatedAdapter emulated(EmulatedAdapter::Clock::Real);
    if (!emulated.UseMemoryFile(path))
        return FileError(output.err, "cannot use " + path + " as the adapter's memory: not a 4096-byte image");
    return RunCommand(call, emulated, output);
}

}  // namespace

int RunVantorctl(const std::vector<std::string>& args, CtlOutput output, AdapterPort* defaultPort)
{
    Invocation call;
    if (!Parse(args, call)) {
        output.err << kUsage << "\n";
        return kCtlUsage;
    }
    if (call.help) {
        output.out << kUsage << "\n\n" << kHelp;
        return kCtlOk;
    }
    if (!call.emulatedFile.empty()) return RunEmulated(call, output);
    if (!defaultPort) {
        output.err << "vantorctl: no adapter found (this build has no driver; use --emulated FILE)\n";
        return kCtlNoAdapter;
    }
    return RunCommand(call, *defaultPort, output);
}
