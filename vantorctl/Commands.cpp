#include "Commands.h"

#include <algorithm>
#include <memory>

#include "AdapterLink.h"
#include "AtomicFile.h"
#include "EmulatedAdapter.h"
#include "ImageCheck.h"
#include "ImageDump.h"
#include "ProgressPort.h"

namespace {

const char kUsage[] = "usage: vantorctl [--emulated FILE] (dump [--json] | backup FILE | restore FILE | check)";

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
    "  --emulated FILE use an emulated adapter whose memory is FILE (a 4096-byte image)\n"
    "  --help          show this text\n"
    "\n"
    "Only restore writes to the adapter.\n"
    "\n"
    "exit status:\n"
    "  0 success, nothing found   1 check found problems   2 wrong call\n"
    "  3 no adapter found   4 a file cannot be read or written, or is refused\n"
    "  5 a transfer with the adapter failed   6 the adapter does not hold the restored file\n";

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
        if (!WriteFileAtomically(path, image)) return Error("cannot write " + path, kCtlFileError);
        m_output.out << "backed up " << image.size() << " bytes to " << path << "\n";
        return kCtlOk;
    }

    // Writes the image in the order of a save and compares what the adapter then holds.
    int Restore(const std::vector<uint8_t>& image, const ProgressPort& progress)
    {
        m_link.ReplaceImage(image.data());
        const bool saved = m_link.SaveConfig();
        if (m_output.showProgress) m_output.err << "\n";
        if (!saved && m_link.Handle() == kInvalidAdapterHandle) return Error("no adapter found", kCtlNoAdapter);
        if (!saved)
            m_output.err << "vantorctl: writing block " << progress.Pauses() / 2 << " failed; reading back what the adapter holds\n";
        const int differing = CompareWithAdapter(image);
        if (saved && differing == 0) {
            m_output.out << "restored and verified " << kBlockCount << " blocks\n";
            return kCtlOk;
        }
        return Error("the adapter does not hold the file" +
                         (differing ? " (" + std::to_string(differing) + " blocks failed or differ)" : std::string()),
                     kCtlNotRestored);
    }

private:
    // Reads every block back and names each one that fails or differs; their number.
    int CompareWithAdapter(const std::vector<uint8_t>& image)
    {
        int differing = 0;
        for (int block = 0; block < kBlockCount; ++block) {
            uint8_t stored[kBlockSize];
            const uint8_t* expected = image.data() + kBlockSize * block;
            const char* problem = nullptr;
            if (!m_link.ReadBlock(block, stored)) problem = "cannot be read back";
            else if (!std::equal(stored, stored + kBlockSize, expected)) problem = "differs from the file";
            if (!problem) continue;
            ++differing;
            m_output.err << "vantorctl: block " << block << (block == kHeaderBlock ? " (header)" : "") << " "
                         << problem << "\n";
        }
        return differing;
    }

    int LinkFailure(const std::string& what)
    {
        if (m_link.Handle() == kInvalidAdapterHandle) return Error("no adapter found", kCtlNoAdapter);
        return Error(what + " failed: a transfer with the adapter failed", kCtlTransferFailed);
    }

    int Error(const std::string& message, int status)
    {
        m_output.err << "vantorctl: " << message << "\n";
        return status;
    }

    CAdapterLink m_link;
    CtlOutput m_output;
};

// The restore file, refused unless it is a whole image with a sound header.
int ReadRestoreFile(const std::string& path, std::vector<uint8_t>& image, std::ostream& err)
{
    if (!ReadWholeFile(path, image)) {
        err << "vantorctl: cannot read " << path << "\n";
        return kCtlFileError;
    }
    if (image.size() != kImageSize) {
        err << "vantorctl: " << path << " holds " << image.size() << " bytes, not a " << kImageSize << "-byte image\n";
        return kCtlFileError;
    }
    const std::string refusal = RestoreRefusal(image.data());
    if (!refusal.empty()) {
        err << "vantorctl: " << path << " is refused: " << refusal << "\n";
        return kCtlFileError;
    }
    return kCtlOk;
}

int RunCommand(const Invocation& call, AdapterPort& port, CtlOutput output)
{
    if (call.command == "restore") {
        std::vector<uint8_t> image;
        if (int status = ReadRestoreFile(call.operands[0], image, output.err)) return status;
        ProgressPort progress(port, [&output](unsigned pauses) {
            if (output.showProgress && pauses % 2 == 0)
                output.err << "\rwriting block " << pauses / 2 << " of " << kBlockCount << std::flush;
        });
        Session session(progress, output);
        return session.Restore(image, progress);
    }
    Session session(port, output);
    if (call.command == "dump") return session.Dump(call.json);
    if (call.command == "backup") return session.Backup(call.operands[0]);
    return session.Check();
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
    if (call.emulatedFile.empty()) {
        if (!defaultPort) {
            output.err << "vantorctl: no adapter found (this platform has no driver; use --emulated FILE)\n";
            return kCtlNoAdapter;
        }
        return RunCommand(call, *defaultPort, output);
    }
    // The emulated adapter works on an existing memory file only, so that a mistyped name
    // does not silently show an empty adapter.
    std::vector<uint8_t> memory;
    auto emulated = std::make_unique<EmulatedAdapter>(EmulatedAdapter::Clock::Real);
    if (!ReadWholeFile(call.emulatedFile, memory) || !emulated->UseMemoryFile(call.emulatedFile)) {
        output.err << "vantorctl: cannot use " << call.emulatedFile << " as the adapter's memory (a 4096-byte image)\n";
        return kCtlFileError;
    }
    return RunCommand(call, *emulated, output);
}
