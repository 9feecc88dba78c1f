#include "CommandLine.h"

#include <CLI/CLI.hpp>

#include "ConfigImage.h"

const char kUsage[] =
    "usage: vantorctl [--emulated FILE] (dump [--json] | backup FILE | restore FILE | check |\n"
    "                 export FILE [--slot N | --name NAME] | import FILE [--replace] |\n"
    "                 copy SLOT-OR-NAME NEWNAME | list | use SLOT-OR-NAME |\n"
    "                 rename SLOT-OR-NAME NEWNAME | delete SLOT-OR-NAME | --help)";

const char kHelp[] =
    "Backs up, restores, shows and checks the configuration stored in the adapter, and\n"
    "moves profiles between the adapter and readable JSON files.\n"
    "\n"
    "commands:\n"
    "  dump [--json]   show the active profile, the used slots and every used profile\n"
    "  backup FILE     read the whole configuration and write it to FILE (4096 bytes)\n"
    "  restore FILE    write FILE to the adapter, then read it back and compare; an\n"
    "                  adapter that cannot be read gets every block of FILE\n"
    "  check           report what is wrong or doubtful in the stored configuration\n"
    "  export FILE     write every used profile (or the one of --slot N or --name NAME)\n"
    "                  to FILE as JSON, the active one marked\n"
    "  import FILE     add the profiles of a JSON FILE, each into the lowest free slot;\n"
    "                  with --replace, a profile goes over the first used profile of\n"
    "                  its name where there is one. Nothing is written unless all fit\n"
    "  copy SLOT-OR-NAME NEWNAME\n"
    "                  copy a profile (a number names a slot) into the lowest free slot\n"
    "                  under a new name\n"
    "  list            one line per used profile, in slot order: the slot, \"*\" for the\n"
    "                  active profile or \"-\", and the name, separated by tabs\n"
    "  use SLOT-OR-NAME\n"
    "                  make the profile the active one\n"
    "  rename SLOT-OR-NAME NEWNAME\n"
    "                  give the profile a new name (at most 14 bytes)\n"
    "  delete SLOT-OR-NAME\n"
    "                  free the profile's slot; when it was the active profile, the\n"
    "                  profile of the lowest used slot becomes active\n"
    "\n"
    "A number from 0 to 62 names a slot (a free one: the profile of that name), anything\n"
    "else a name; --slot N or --name NAME in\n"
    "place of SLOT-OR-NAME names one of the two only. A name that several used profiles\n"
    "have is refused, with their slots, and so is a number that is the slot of a used\n"
    "profile and the name of another.\n"
    "\n"
    "options:\n"
    "  --emulated FILE use an emulated adapter whose memory is FILE, an existing\n"
    "                  4096-byte image (blocks in order, header last)\n"
    "  --help          show this text\n"
    "\n"
    "Only restore, import, copy, use, rename and delete write to the adapter: the blocks\n"
    "that change (profiles by slot, then the header), then they read every block back and\n"
    "compare; when the adapter does not hold what was written, they write the whole\n"
    "configuration in the order of a save and compare again.\n"
    "A command waits while another program (the window, another vantorctl) talks to the\n"
    "adapter, 5 seconds at most, and holds it from the first read to the last, so that\n"
    "none writes in between.\n"
    "\n"
    "exit status:\n"
    "  0  success (check: nothing found; a command that writes: written and verified,\n"
    "     or nothing to change)\n"
    "  1  check found problems\n"
    "  2  wrong call, or no used profile has the slot or name given, or it names more\n"
    "     than one\n"
    "  3  no adapter found\n"
    "  4  a file cannot be read or written, or a command that writes refuses it (a file,\n"
    "     a name, a header the adapter must not be given)\n"
    "  5  a transfer with the adapter failed while reading the configuration\n"
    "  6  a command that writes: the adapter does not hold what was written exactly\n"
    "     (a block failed or differs)\n"
    "  7  the adapter stayed busy: another program was reading or writing it for more\n"
    "     than 5 seconds; nothing was read or written\n"
    "  8  interrupted (Ctrl+C, Ctrl+Break, the console closed, signing out, shutting\n"
    "     down): a write in progress was finished first, and none began after it\n";

namespace {

// A slot number 0 to 62 written in decimal digits (the library's number reading would
// also take hexadecimal and octal).
bool ParseSlot(const std::string& text, int& slot)
{
    if (text.empty() || text.size() > 2 || text.find_first_not_of("0123456789") != std::string::npos) return false;
    slot = std::stoi(text);
    return slot < kSlotCount;
}

std::string SlotProblem(const std::string& text)
{
    int slot = 0;
    return ParseSlot(text, slot) ? "" : "a slot is a number from 0 to " + std::to_string(kSlotCount - 1);
}

// A bare operand: a number from 0 to 62 names a slot, and may also be a profile's name.
ProfileChoice ChoiceOf(const std::string& slotOrName)
{
    ProfileChoice choice;
    if (!ParseSlot(slotOrName, choice.slot)) choice.slot = -1;
    choice.name = slotOrName;
    return choice;
}

// What the parsed command line holds that is read only after parsing.
struct ParsedTexts {
    std::string slot;
    std::string name;
    std::vector<std::string> operands;
};

// --slot N or --name NAME, which name a used profile unmistakably.
void AddProfileOptions(CLI::App& command, ParsedTexts& texts)
{
    CLI::Option* slot = command.add_option("--slot", texts.slot)->check(SlotProblem);
    command.add_option("--name", texts.name)->excludes(slot);
}

bool Given(const CLI::App& command, const char* option)
{
    const CLI::Option* given = command.get_option_no_throw(option);
    return given && given->count() > 0;
}

// The profile that --slot or --name of `command` names, if one of them was given.
std::optional<ProfileChoice> OptionChoice(const CLI::App& command, const ParsedTexts& texts)
{
    int slot = -1;
    if (Given(command, "--slot") && ParseSlot(texts.slot, slot)) return ProfileChoice{slot, ""};
    if (Given(command, "--name")) return ProfileChoice{-1, texts.name};
    return std::nullopt;
}

// Each command with its operands and options, the values landing in `call` and `texts`.
void DescribeCommands(CLI::App& cli, Invocation& call, ParsedTexts& texts)
{
    cli.allow_windows_style_options(false);  // "/x" is a path, also on Windows
    cli.add_option("--emulated", call.emulatedFile);
    cli.require_subcommand(1);
    cli.fallthrough();  // --emulated may also follow the command
    cli.add_subcommand("dump")->add_flag("--json", call.json);
    cli.add_subcommand("check");
    cli.add_subcommand("list");
    for (const char* command : {"backup", "restore", "export", "import"})
        cli.add_subcommand(command)->add_option("FILE", call.file)->required();
    AddProfileOptions(*cli.get_subcommand("export"), texts);
    cli.get_subcommand("import")->add_flag("--replace", call.replace);
    for (const char* command : {"copy", "use", "rename", "delete"}) {
        CLI::App& listCommand = *cli.add_subcommand(command);
        listCommand.add_option("OPERANDS", texts.operands);
        AddProfileOptions(listCommand, texts);
    }
}

bool IsListCommand(const std::string& command)
{
    return command == "copy" || command == "use" || command == "rename" || command == "delete";
}

// The profile and the new name of copy, use, rename and delete: SLOT-OR-NAME, unless
// --slot or --name gave the profile, then NEWNAME for copy and rename.
bool ReadListOperands(Invocation& call, const std::optional<ProfileChoice>& optionChoice,
                      const std::vector<std::string>& operands, std::string& problem)
{
    const bool takesNewName = call.command == "copy" || call.command == "rename";
    const size_t expected = (optionChoice ? 0 : 1) + (takesNewName ? 1 : 0);
    if (operands.size() != expected) {
        const char* wanted = optionChoice ? (takesNewName ? "NEWNAME after --slot or --name" : "nothing after --slot or --name")
                                          : (takesNewName ? "SLOT-OR-NAME and NEWNAME" : "one SLOT-OR-NAME");
        problem = call.command + " takes " + wanted;
        return false;
    }
    call.source = optionChoice ? *optionChoice : ChoiceOf(operands.front());
    if (takesNewName) call.newName = operands.back();
    return true;
}

}  // namespace

bool ParseCommandLine(const std::vector<std::string>& args, Invocation& call, std::string& problem)
{
    CLI::App cli("", "vantorctl");
    ParsedTexts texts;
    DescribeCommands(cli, call, texts);
    try {
        cli.parse(std::vector<std::string>(args.rbegin(), args.rend()));  // it takes them last first
    } catch (const CLI::CallForHelp&) {
        call.help = true;
        return true;
    } catch (const CLI::ParseError& error) {
        problem = error.what();
        return false;
    }
    const CLI::App& command = *cli.get_subcommands().front();
    call.command = command.get_name();
    const std::optional<ProfileChoice> optionChoice = OptionChoice(command, texts);
    if (IsListCommand(call.command)) return ReadListOperands(call, optionChoice, texts.operands, problem);
    call.exported = optionChoice;
    return true;
}
