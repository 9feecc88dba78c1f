#include "Commands.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <set>

#include "AdapterLink.h"
#include "AtomicFile.h"
#include "CommandLine.h"
#include "EmulatedAdapter.h"
#include "ImageCheck.h"
#include "ImageDump.h"
#include "NameText.h"
#include "ProfileFiles.h"
#include "ProfileListEdits.h"
#include "ProgressPort.h"

namespace {

std::string SlotList(const std::vector<int>& slots)
{
    std::string text;
    for (size_t index = 0; index < slots.size(); ++index)
        text += (index == 0 ? "" : index + 1 == slots.size() ? " and " : ", ") + std::to_string(slots[index]);
    return text;
}

// A used slot as told: its number and its profile's name.
std::string SlotText(const std::vector<uint8_t>& image, int slot)
{
    return "slot " + std::to_string(slot) + " \"" + ListedName(*RecordOfSlot(image.data(), slot)) + "\"";
}

// The one used slot whose profile is named `name`, or -1 with `error` saying why: a name
// that several profiles share would leave to chance which one a command changes.
int SlotNamed(const std::vector<uint8_t>& image, const std::string& name, std::string& error)
{
    const std::vector<int> slots = UsedSlotsNamed(image, name);
    if (slots.empty()) error = "no used profile is named \"" + name + "\"";
    if (slots.size() > 1)
        error = "the name \"" + name + "\" is ambiguous: the profiles of slots " + SlotList(slots) +
                " have it; give a slot number";
    return slots.size() == 1 ? slots.front() : -1;
}

// The slot of a bare number, unless another used profile has that number as its name:
// then -1, with `error` saying how to give each.
int SlotUnlessAlsoAName(const std::vector<uint8_t>& image, const ProfileChoice& choice, std::string& error)
{
    std::vector<int> named = UsedSlotsNamed(image, choice.name);
    named.erase(std::remove(named.begin(), named.end(), choice.slot), named.end());
    if (named.empty()) return choice.slot;
    error = "\"" + choice.name + "\" is ambiguous: it is " + SlotText(image, choice.slot) + " and the name of the " +
            (named.size() == 1 ? "profile of slot " : "profiles of slots ") + SlotList(named) + "; give --slot " +
            std::to_string(choice.slot) + (named.size() == 1 ? " or --name " + choice.name : " or --slot with one of those");
    return -1;
}

// The used slot `choice` names, or -1 with `error` saying why.
int ChosenSlot(const std::vector<uint8_t>& image, const ProfileChoice& choice, std::string& error)
{
    if (choice.slot < 0) return SlotNamed(image, choice.name, error);
    if (HeaderOfImage(image.data()).used[choice.slot] != kSlotUsed) {
        error = "slot " + std::to_string(choice.slot) + " is free";
        return -1;
    }
    return choice.name.empty() ? choice.slot : SlotUnlessAlsoAName(image, choice, error);
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
        image = m_link.Image();
        return kCtlOk;
    }

    int Dump(bool json)
    {
        std::vector<uint8_t> image;
        if (int status = Load(image)) return status;
        json ? DumpImageJson(image.data(), m_output.Utf8Out()) : DumpImageText(image.data(), m_output.out);
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

    int List()
    {
        std::vector<uint8_t> image;
        if (int status = Load(image)) return status;
        ListProfiles(image.data(), m_output.out);
        return kCtlOk;
    }

    int Backup(const std::string& path)
    {
        std::vector<uint8_t> image;
        if (int status = Load(image)) return status;
        if (!WriteFileAtomically(path, image)) return Error("cannot write " + path + FileErrorReason(), kCtlFileError);
        m_output.out << "backed up " << image.size() << " bytes to " << path << "\n";
        return kCtlOk;
    }

    // Every used profile, or the chosen one, in its JSON form with its slot and the active
    // mark.
    int Export(const std::string& path, const std::optional<ProfileChoice>& chosen)
    {
        std::vector<uint8_t> image;
        if (int status = Load(image)) return status;
        std::vector<int> slots = UsedSlots(HeaderOfImage(image.data()));
        std::string error;
        if (chosen) slots = {ChosenSlot(image, *chosen, error)};
        if (!error.empty()) return Error(error, kCtlUsage);
        for (const std::string& warning : NameWrittenByteForByteWarnings(image.data(), slots))
            Report("warning: " + warning);
        const std::string text = ProfileFileText(image.data(), slots);
        if (!WriteFileAtomically(path, {text.begin(), text.end()}))
            return Error("cannot write " + path + FileErrorReason(), kCtlFileError);
        m_output.out << "exported " << slots.size() << (slots.size() == 1 ? " profile" : " profiles") << " to " << path
                     << "\n";
        return kCtlOk;
    }

    // Writes the image in the order of a save, then reads every block back: the adapter
    // holds the file only when the save went through and no block failed or differs.
    // `done` leads the line that tells of success ("restored").
    int Restore(const std::string& path, const std::vector<uint8_t>& image, const std::string& done)
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
            m_output.out << done << " " << path << " and verified all " << kBlockCount << " blocks\n";
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

// On a terminal, the block being written; a save spends its time in the two pauses of
// each block, so the first pause of a block marks its start.
void ShowWriteProgress(std::ostream& err, unsigned pauses)
{
    if (pauses % 2 == 1) err << "\rwriting block " << (pauses + 1) / 2 << " of " << kBlockCount << std::flush;
}

// Writes `image` as restore does, showing on a terminal how far the write has come;
// `done` leads the line that tells of success.
int WriteImage(const std::string& done, const std::string& what, const std::vector<uint8_t>& image, AdapterPort& port,
               CtlOutput output)
{
    ProgressPort progress(port, [&output](unsigned pauses) {
        if (output.showProgress) ShowWriteProgress(output.err, pauses);
    });
    return Session(progress, output).Restore(what, image, done);
}

int Restore(const std::string& path, AdapterPort& port, CtlOutput output)
{
    std::vector<uint8_t> image;
    const std::string refusal = ReadImageFile(path, image);
    if (!refusal.empty()) return FileError(output.err, refusal);
    return WriteImage("restored", path, image, port, output);
}

int Refuse(const std::vector<std::string>& problems, std::ostream& err)
{
    for (const std::string& problem : problems) err << "vantorctl: " << problem << "\n";
    err << "vantorctl: nothing written\n";
    return kCtlFileError;
}

// A change of the loaded configuration: a status other than kCtlOk after the problem has
// been reported; otherwise `told` holds the lines that tell what changed.
using ImageChange = std::function<int(std::vector<uint8_t>& image, std::vector<std::string>& told)>;

// Reads the configuration, changes it and writes it as restore does, then tells what
// changed. A header the adapter must not be given is refused, and a configuration that
// did not change is not written.
int ChangeConfiguration(AdapterPort& port, CtlOutput output, const ImageChange& change)
{
    std::vector<uint8_t> image;
    if (int status = Session(port, output).Load(image)) return status;
    const std::vector<uint8_t> loaded = image;
    std::vector<std::string> told;
    if (int status = change(image, told)) return status;
    if (image == loaded) {
        output.out << "nothing to change; nothing written\n";
        return kCtlOk;
    }
    const std::string refusal = RestoreRefusal(image.data());
    if (!refusal.empty())
        return Refuse({"the adapter's header is not sound (" + refusal + "); check shows it"}, output.err);
    if (int status = WriteImage("wrote", "the changed configuration", image, port, output)) return status;
    for (const std::string& line : told) output.out << line << "\n";
    return kCtlOk;
}

// Places the checked profiles into the loaded image and tells the slots it changed.
int Place(std::vector<uint8_t>& image, const std::vector<IncomingProfile>& incoming, bool replace,
          std::vector<std::string>& told, std::ostream& err)
{
    std::vector<Placement> placements;
    const std::vector<std::string> problems = PlaceProfiles(image, incoming, replace, placements);
    if (!problems.empty()) return Refuse(problems, err);
    // A key used twice is allowed, as in the window; it is told as check tells it.
    for (const std::string& warning : RepeatedKeyWarnings(image, placements)) err << "vantorctl: warning: " << warning << "\n";
    for (size_t index = 0; index < placements.size(); ++index)
        told.push_back("slot " + std::to_string(placements[index].slot) + ": " + incoming[index].label +
                       (placements[index].replaced ? " (replaced)" : " (new)"));
    return kCtlOk;
}

int Import(const std::string& path, bool replace, AdapterPort& port, CtlOutput output)
{
    std::vector<IncomingProfile> incoming;
    std::vector<std::string> problems;
    if (!ReadProfileFile(path, incoming, problems)) return Refuse(problems, output.err);
    if (incoming.empty()) {
        output.out << path << " holds no profiles; nothing written\n";
        return kCtlOk;
    }
    return ChangeConfiguration(port, output, [&](std::vector<uint8_t>& image, std::vector<std::string>& told) {
        return Place(image, incoming, replace, told, output.err);
    });
}

// A change of the used profile a command names, in the loaded configuration, as an
// ImageChange.
using ProfileChange = std::function<int(std::vector<uint8_t>& image, int slot, std::vector<std::string>& told)>;

// ChangeConfiguration with the change of the used profile `chosen` names, refused (wrong
// call) when there is no one such profile.
int ChangeChosenProfile(const ProfileChoice& chosen, AdapterPort& port, CtlOutput output, const ProfileChange& change)
{
    return ChangeConfiguration(port, output, [&](std::vector<uint8_t>& image, std::vector<std::string>& told) {
        std::string error;
        const int slot = ChosenSlot(image, chosen, error);
        if (slot >= 0) return change(image, slot, told);
        output.err << "vantorctl: " << error << "\n";
        return int(kCtlUsage);
    });
}

// A name from the command line, refused unless NewNameProblem finds it sound.
int CheckNewName(const std::string& label, const std::string& newName, std::ostream& err)
{
    const std::string problem = NewNameProblem(newName);
    return problem.empty() ? kCtlOk : Refuse({label + ": name: " + problem}, err);
}

// The copy goes through the JSON form, so it carries what an export carries; the name,
// checked first, is text of the code page, which the form brings back byte for byte.
int Copy(const ProfileChoice& chosen, const std::string& newName, AdapterPort& port, CtlOutput output)
{
    return ChangeChosenProfile(chosen, port, output, [&](auto& image, int source, auto& told) {
        const std::string label = "copy of slot " + std::to_string(source) + " as \"" + newName + "\"";
        if (int status = CheckNewName(label, newName, output.err)) return status;
        Json form = ProfileJson(*RecordOfSlot(image.data(), source));
        form["name"] = TextOfNameBytes(newName).text;
        std::vector<IncomingProfile> incoming(1);
        const std::vector<std::string> problems = ReadIncomingProfile(form, label, incoming[0]);
        if (!problems.empty()) return Refuse(problems, output.err);
        return Place(image, incoming, false, told, output.err);
    });
}

int Use(const ProfileChoice& chosen, AdapterPort& port, CtlOutput output)
{
    return ChangeChosenProfile(chosen, port, output, [](auto& image, int slot, auto& told) {
        HeaderOfImage(image.data()).activeProfile = static_cast<uint8_t>(slot);
        told.push_back("active profile: " + SlotText(image, slot));
        return int(kCtlOk);
    });
}

int Rename(const ProfileChoice& chosen, const std::string& newName, AdapterPort& port, CtlOutput output)
{
    return ChangeChosenProfile(chosen, port, output, [&](auto& image, int slot, auto& told) {
        const std::string label = "rename of slot " + std::to_string(slot) + " as \"" + newName + "\"";
        if (int status = CheckNewName(label, newName, output.err)) return status;
        told.push_back(SlotText(image, slot) + " renamed \"" + newName + "\"");
        StoreName(newName, *RecordOfSlot(image.data(), slot));
        return int(kCtlOk);
    });
}

int Delete(const ProfileChoice& chosen, AdapterPort& port, CtlOutput output)
{
    return ChangeChosenProfile(chosen, port, output, [](auto& image, int slot, auto& told) {
        told.push_back("deleted " + SlotText(image, slot));
        DeleteProfile(image, slot);
        told.push_back("active profile: " + ActiveProfileText(image.data(), ListedName));
        return int(kCtlOk);
    });
}

int RunCommand(const Invocation& call, AdapterPort& port, CtlOutput output)
{
    if (call.command == "restore") return Restore(call.file, port, output);
    if (call.command == "import") return Import(call.file, call.replace, port, output);
    if (call.command == "copy") return Copy(call.source, call.newName, port, output);
    if (call.command == "use") return Use(call.source, port, output);
    if (call.command == "rename") return Rename(call.source, call.newName, port, output);
    if (call.command == "delete") return Delete(call.source, port, output);
    Session session(port, output);
    if (call.command == "list") return session.List();
    if (call.command == "dump") return session.Dump(call.json);
    if (call.command == "backup") return session.Backup(call.file);
    if (call.command == "export") return session.Export(call.file, call.exported);
    return session.Check();
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
    return RunCommand(call, driver.port, output);
}

// The emulated adapter works on an existing memory file only, so that a mistyped name
// does not show up as an empty adapter. It lives in this process alone and takes no lock:
// it reads the file once at start and writes it through.
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
    if (!call.emulatedFile.empty()) return RunEmulated(call, output);
    if (!driver) {
        output.err << "vantorctl: no adapter found (this build has no driver; use --emulated FILE)\n";
        return kCtlNoAdapter;
    }
    return RunLocked(call, *driver, output);
}
