// The end of a run in a console window (Windows). A desktop shortcut or Explorer starts
// vantorctl in a console window of its own, which closes as soon as the program ends: a
// failure's message would vanish before anyone read it. There, after a failed command,
// the program says so and waits for a key, a minute at most. Started from a prompt, whose
// console stays, with its input or output redirected, as a script does, or in a console
// that nobody sees, as a scheduled task or a launcher may start it, it never waits.
#pragma once

#include <functional>
#include <ostream>

#include <windows.h>

#include "Interruption.h"

struct ConsoleOfRun {
    unsigned processes;  // the programs attached to the console: 1 when it is the program's own
    bool redirected;     // input, output or error is not the console (or there is none)
    bool visible;        // its window shows on the screen
};

// The console the program runs in, as the system sees it.
ConsoleOfRun ThisProgramsConsole();

// Whether the program ending with `status` waits for a key in `console`.
bool WaitsForKeyAtEnd(int status, const ConsoleOfRun& console);

// The console's input as the wait for a key uses it.
struct KeyWaitInput {
    enum class Event { kKeyPressed, kOther, kFailed };
    std::function<void()> discardPending;           // what came before the question
    std::function<bool(unsigned ms)> waitForEvent;  // false when none came within `ms`
    std::function<Event()> readEvent;               // takes the event that came
    std::function<unsigned long long()> nowMs;      // a clock in milliseconds
};

// The input of the program's console.
KeyWaitInput ConsoleKeyInput();

// The longest wait for a key.
constexpr unsigned kKeyWaitMs = 60000;

// Says on `err` that the command failed with `status` and waits until a key is pressed in
// the console, or kKeyWaitMs have passed.
void WaitForKeyAfterFailure(int status, std::ostream& err, const KeyWaitInput& input);

// The console's requests to end the program (Ctrl+C, Ctrl+Break, its window closed, the
// user signing out, the system shutting down) go to `interruption` from now on.
void InterruptOnConsoleEnd(Interruption& interruption);

// What the system calls on such a request, on a thread of its own: it returns once the
// write in progress has ended; for the requests after which Windows ends the program
// (all but Ctrl+C and Ctrl+Break), once the run has told its outcome too. FALSE lets the
// system end the program at once: Ctrl+C or Ctrl+Break after the run has ended.
BOOL WINAPI ConsoleEndRequested(DWORD event);

// Windows tells a console program that has loaded the window libraries (as vantorctl
// has) of signing out and shutting down only through messages to its top-level windows,
// never through the console. This hidden window, on a thread of its own, takes them to
// `interruption` as the console's requests go: the answer to WM_QUERYENDSESSION waits for
// the write in progress, and WM_ENDSESSION for the run to tell its outcome.
class EndSessionWindow {
public:
    explicit EndSessionWindow(Interruption& interruption);
    ~EndSessionWindow();
    EndSessionWindow(const EndSessionWindow&) = delete;
    EndSessionWindow& operator=(const EndSessionWindow&) = delete;

    HWND Handle() const { return m_window; }

private:
    HWND m_window = nullptr;
    HANDLE m_thread = nullptr;
};
