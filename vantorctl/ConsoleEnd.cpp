#include "ConsoleEnd.h"

#include <windows.h>

#include "Commands.h"

namespace {

// Windows ends the program 5 seconds after a request to close, sign out or shut down.
constexpr std::chrono::milliseconds kEndAllowance(4500);

Interruption* g_interruption = nullptr;

bool IsConsole(DWORD standardHandle)
{
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(standardHandle), &mode) != 0;
}

// Signing out or shutting down: the answer to the question waits for the write in
// progress, and the session's end for the run to tell its outcome, as for the console.
LRESULT CALLBACK EndSessionProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE)
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          LONG_PTR(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams));
    auto* interruption = reinterpret_cast<Interruption*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
    case WM_QUERYENDSESSION:
        interruption->Request(kEndAllowance, false);
        return TRUE;
    case WM_ENDSESSION:
        if (wParam) interruption->Request(kEndAllowance, true);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

struct EndSessionStart {
    HWND* window;
    Interruption* interruption;
    HANDLE created;  // set once the window is made (or could not be)
};

// The hidden window's thread: a top-level window (a message-only one gets no broadcasts),
// never shown, and its messages until it is closed.
DWORD WINAPI RunEndSessionWindow(void* parameter)
{
    const EndSessionStart& start = *static_cast<EndSessionStart*>(parameter);
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = EndSessionProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"VantorctlEndSession";
    RegisterClassW(&windowClass);
    const HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"vantorctl", WS_OVERLAPPED, 0, 0, 0, 0, nullptr,
                                        nullptr, windowClass.hInstance, start.interruption);
    *start.window = window;
    SetEvent(start.created);  // `start` ends with the constructor that waits for this
    if (!window) return 0;
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    return 0;
}

// Windows Terminal hosts a console in a window of its own and keeps the console's window
// hidden, owned by its own.
bool ConsoleWindowShows()
{
    const HWND console = GetConsoleWindow();
    return console && (IsWindowVisible(console) || IsWindowVisible(GetWindow(console, GW_OWNER)));
}

}  // namespace

ConsoleOfRun ThisProgramsConsole()
{
    DWORD processes[2];
    // The number of attached programs, also where it exceeds the list; 0 without a console.
    const DWORD count = GetConsoleProcessList(processes, 2);
    const bool redirected = !IsConsole(STD_INPUT_HANDLE) || !IsConsole(STD_OUTPUT_HANDLE) || !IsConsole(STD_ERROR_HANDLE);
    return {count, redirected, ConsoleWindowShows()};
}

bool WaitsForKeyAtEnd(int status, const ConsoleOfRun& console)
{
    return status != kCtlOk && status != kCtlInterrupted && console.processes == 1 && !console.redirected &&
           console.visible;
}

KeyWaitInput ConsoleKeyInput()
{
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    return {[input] { FlushConsoleInputBuffer(input); },
            [input](unsigned ms) { return WaitForSingleObject(input, ms) == WAIT_OBJECT_0; },
            [input] {
                INPUT_RECORD event;
                DWORD read = 0;
                if (!ReadConsoleInputW(input, &event, 1, &read) || read != 1) return KeyWaitInput::Event::kFailed;
                const bool pressed = event.EventType == KEY_EVENT && event.Event.KeyEvent.bKeyDown;
                return pressed ? KeyWaitInput::Event::kKeyPressed : KeyWaitInput::Event::kOther;
            },
            [] { return GetTickCount64(); }};
}

// A key pressed before the question does not count; other input (the mouse, focus) does
// not end the wait, nor make it longer.
void WaitForKeyAfterFailure(int status, std::ostream& err, const KeyWaitInput& input)
{
    err << "vantorctl: the command failed (exit status " << status
        << "); press a key to close this window (it closes by itself after a minute)" << std::flush;
    input.discardPending();
    const unsigned long long end = input.nowMs() + kKeyWaitMs;
    for (unsigned long long now = input.nowMs(); now < end; now = input.nowMs()) {
        if (!input.waitForEvent(unsigned(end - now))) continue;
        const KeyWaitInput::Event event = input.readEvent();
        if (event != KeyWaitInput::Event::kOther) return;
    }
}

void InterruptOnConsoleEnd(Interruption& interruption)
{
    g_interruption = &interruption;
    SetConsoleCtrlHandler(ConsoleEndRequested, TRUE);
}

// Ctrl+C and Ctrl+Break are answered as handled while the run goes on, which then ends
// itself; after it (during the wait for a key) they end the program as usual.
BOOL WINAPI ConsoleEndRequested(DWORD event)
{
    const bool programEnds = event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT;
    if (!g_interruption) return FALSE;
    g_interruption->Request(kEndAllowance, programEnds);
    return programEnds || !g_interruption->HasRunEnded();
}

EndSessionWindow::EndSessionWindow(Interruption& interruption)
{
    EndSessionStart start = {&m_window, &interruption, CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    m_thread = CreateThread(nullptr, 0, RunEndSessionWindow, &start, 0, nullptr);
    if (m_thread) WaitForSingleObject(start.created, INFINITE);
    CloseHandle(start.created);
}

EndSessionWindow::~EndSessionWindow()
{
    if (!m_thread) return;
    if (m_window) PostMessageW(m_window, WM_CLOSE, 0, 0);
    WaitForSingleObject(m_thread, INFINITE);
    CloseHandle(m_thread);
}
