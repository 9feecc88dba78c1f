#include "ConsoleEnd.h"

#include <windows.h>

#include "Commands.h"

namespace {

bool IsConsole(DWORD standardHandle)
{
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(standardHandle), &mode) != 0;
}

}  // namespace

ConsoleOfRun ThisProgramsConsole()
{
    DWORD processes[2];
    // The number of attached programs, also where it exceeds the list; 0 without a console.
    const DWORD count = GetConsoleProcessList(processes, 2);
    const bool redirected = !IsConsole(STD_INPUT_HANDLE) || !IsConsole(STD_OUTPUT_HANDLE) || !IsConsole(STD_ERROR_HANDLE);
    return {count, redirected};
}

bool WaitsForKeyAtEnd(int status, const ConsoleOfRun& console)
{
    return status != kCtlOk && console.processes == 1 && !console.redirected;
}

// A key pressed before the question does not count.
void WaitForKeyAfterFailure(int status, std::ostream& err)
{
    err << "vantorctl: the command failed (exit status " << status << "); press a key to close this window"
        << std::flush;
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    FlushConsoleInputBuffer(input);
    INPUT_RECORD event;
    DWORD read = 0;
    while (ReadConsoleInputW(input, &event, 1, &read) && read == 1) {
        if (event.EventType == KEY_EVENT && event.Event.KeyEvent.bKeyDown) return;
    }
}
