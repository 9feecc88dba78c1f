// vantorctl's entry: the real adapter's driver on Windows, none elsewhere.
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "Commands.h"

#ifdef _WIN32
#include <io.h>
#include <windows.h>

#include <shellapi.h>

#include "ConsoleEnd.h"
#include "ConsoleText.h"
#include "NameText.h"
#include "Win32AdapterLock.h"
#include "Win32AdapterPort.h"
#else
#include <unistd.h>
#endif

namespace {

bool ErrorStreamIsTerminal()
{
#ifdef _WIN32
    return _isatty(_fileno(stderr)) != 0;
#else
    return isatty(fileno(stderr)) != 0;
#endif
}

#ifdef _WIN32
// The arguments arrive in the ANSI code page, where a character that it lacks turns into
// a look-alike or "?": such a call would name another profile or file than the one
// written. The program's own path does not count: it is never used as a name.
bool ArgumentsAreTextOfNameCodePage()
{
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!arguments) return false;
    bool text = true;
    for (int index = 1; index < count && text; ++index) text = IsTextOfNameCodePage(arguments[index]);
    LocalFree(arguments);
    return text;
}

// The command on the real adapter's driver.
int RunCommand(const std::vector<std::string>& args, const CtlOutput& output)
{
    if (!ArgumentsAreTextOfNameCodePage()) {
        output.err << "vantorctl: the command line holds a character that " << NameCodePage() << " cannot write\n";
        return kCtlUsage;
    }
    Win32AdapterPort port;
    Win32AdapterLock lock;
    static Interruption interruption;  // outlives the run: the console's thread may still use it
    InterruptOnConsoleEnd(interruption);
    const EndSessionWindow endSession(interruption);
    const DriverAccess driver = {port, lock, &interruption};
    const int status = RunVantorctl(args, output, &driver);
    interruption.RunEnded();
    return status;
}

int RunWithDriver(const std::vector<std::string>& args)
{
    // On a console window, text goes out through the console so that names read right.
    const ConsoleTextBuffer::Sink outConsole = ConsoleSink(GetStdHandle(STD_OUTPUT_HANDLE));
    const ConsoleTextBuffer::Sink errConsole = ConsoleSink(GetStdHandle(STD_ERROR_HANDLE));
    ConsoleTextBuffer outText(CP_ACP, outConsole), jsonText(CP_UTF8, outConsole), errText(CP_ACP, errConsole);
    std::ostream consoleOut(&outText), consoleJson(&jsonText), consoleErr(&errText);
    const CtlOutput output = {outConsole ? consoleOut : std::cout, errConsole ? consoleErr : std::cerr,
                              ErrorStreamIsTerminal(), outConsole ? &consoleJson : nullptr};
    const int status = RunCommand(args, output);
    if (WaitsForKeyAtEnd(status, ThisProgramsConsole())) WaitForKeyAfterFailure(status, output.err, ConsoleKeyInput());
    return status;
}
#endif

}  // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
#ifdef _WIN32
    return RunWithDriver(args);
#else
    return RunVantorctl(args, {std::cout, std::cerr, ErrorStreamIsTerminal()}, nullptr);
#endif
}
