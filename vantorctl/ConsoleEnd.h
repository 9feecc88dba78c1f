// The end of a run in a console window (Windows). A desktop shortcut or Explorer starts
// vantorctl in a console window of its own, which closes as soon as the program ends: a
// failure's message would vanish before anyone read it. There, after a failed command,
// the program says so and waits for a key. Started from a prompt, whose console stays,
// or with its input or output redirected, as a script does, it never waits.
#pragma once

#include <ostream>

struct ConsoleOfRun {
    unsigned processes;  // the programs attached to the console: 1 when it is the program's own
    bool redirected;     // input, output or error is not the console (or there is none)
};

// The console the program runs in, as the system sees it.
ConsoleOfRun ThisProgramsConsole();

// Whether the program ending with `status` waits for a key in `console`.
bool WaitsForKeyAtEnd(int status, const ConsoleOfRun& console);

// Says on `err` that the command failed with `status` and waits until a key is pressed in
// the console.
void WaitForKeyAfterFailure(int status, std::ostream& err);
