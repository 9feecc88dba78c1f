#include "ModalScript.h"

#include <cstdio>
#include <deque>
#include <memory>

#include <gtest/gtest.h>

namespace {

constexpr UINT kStepIntervalMs = 20;
constexpr int kIdleTicksAllowed = 250;  // 5 s after the last step

ModalScript* g_running = nullptr;

// Every dialog needs the common controls, as the program's entry point prepares them.
class CommonControlsEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
        ::InitCommonControlsEx(&controls);
    }
};
const auto* const g_environment = ::testing::AddGlobalTestEnvironment(new CommonControlsEnvironment);

BOOL CALLBACK CollectDialog(HWND hWnd, LPARAM lParam)
{
    char className[16] = {};
    ::GetClassNameA(hWnd, className, sizeof className);
    if (std::string(className) == "#32770" && ::IsWindowVisible(hWnd))
        reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hWnd);
    return TRUE;
}

// The last messages that this thread's windows received, sent or posted, so that a dialog
// that ends before its script can say what ended it. The many messages of drawing, the
// mouse and the script's own timer say nothing of that and are left out.
class MessageLog {
public:
    // scriptTimer: the script's own timer procedure, whose ticks say nothing.
    explicit MessageLog(TIMERPROC scriptTimer)
        : m_sent(::SetWindowsHookExA(WH_CALLWNDPROC, OnSent, nullptr, ::GetCurrentThreadId())),
          m_posted(::SetWindowsHookExA(WH_GETMESSAGE, OnPosted, nullptr, ::GetCurrentThreadId()))
    {
        s_lines.clear();
        s_scriptTimer = scriptTimer;
    }
    ~MessageLog()
    {
        ::UnhookWindowsHookEx(m_sent);
        ::UnhookWindowsHookEx(m_posted);
    }
    static std::string Lines()
    {
        std::string lines;
        for (const std::string& line : s_lines) lines += "  " + line + "\n";
        return lines;
    }

private:
    static constexpr size_t kLinesKept = 24;

    static bool Telling(UINT message, LPARAM lParam)
    {
        switch (message) {
        case WM_TIMER: return lParam != reinterpret_cast<LPARAM>(s_scriptTimer);
        case WM_PAINT: case WM_NCPAINT: case WM_ERASEBKGND: case WM_SETCURSOR: case WM_NCHITTEST:
        case WM_MOUSEMOVE: case WM_NCMOUSEMOVE: case WM_GETTEXT: case WM_GETTEXTLENGTH:
        case WM_CTLCOLORSTATIC: case WM_CTLCOLOREDIT: case WM_CTLCOLORBTN: case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORDLG: case WM_DRAWITEM: case WM_MEASUREITEM: case WM_GETOBJECT:
        case WM_GETDLGCODE: case WM_NOTIFY: case WM_DESTROY: case WM_NCDESTROY:
        case WM_IME_SETCONTEXT: case WM_IME_NOTIFY:
            return false;
        }
        return message < WM_USER || message >= WM_APP;
    }
    static void Add(const char* how, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (!Telling(message, lParam)) return;
        char className[32] = {};
        ::GetClassNameA(hWnd, className, sizeof className);
        char line[160];
        std::snprintf(line, sizeof line, "%s 0x%04X wParam 0x%llX lParam 0x%llX to %p (%s)", how, message,
                      static_cast<unsigned long long>(wParam), static_cast<unsigned long long>(lParam),
                      static_cast<void*>(hWnd), className);
        s_lines.emplace_back(line);
        if (s_lines.size() > kLinesKept) s_lines.pop_front();
    }
    static LRESULT CALLBACK OnSent(int code, WPARAM wParam, LPARAM lParam)
    {
        if (code == HC_ACTION) {
            const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
            Add("sent  ", sent->hwnd, sent->message, sent->wParam, sent->lParam);
        }
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static LRESULT CALLBACK OnPosted(int code, WPARAM wParam, LPARAM lParam)
    {
        if (code == HC_ACTION && wParam == PM_REMOVE) {
            const auto* posted = reinterpret_cast<const MSG*>(lParam);
            Add("posted", posted->hwnd, posted->message, posted->wParam, posted->lParam);
        }
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static std::deque<std::string> s_lines;
    static TIMERPROC s_scriptTimer;
    HHOOK m_sent;
    HHOOK m_posted;
};
std::deque<std::string> MessageLog::s_lines;
TIMERPROC MessageLog::s_scriptTimer = nullptr;

std::vector<HWND> ThreadDialogs()
{
    std::vector<HWND> dialogs;
    ::EnumThreadWindows(::GetCurrentThreadId(), CollectDialog, reinterpret_cast<LPARAM>(&dialogs));
    return dialogs;
}

}  // namespace

CWinApp& TestApp()
{
    static CWinApp app;
    return app;
}

HWND FindModalDialog()
{
    for (HWND dialog : ThreadDialogs())
        if (::IsWindowEnabled(dialog)) return dialog;
    return nullptr;
}

void EndAllDialogs(int nResult)
{
    for (HWND dialog : ThreadDialogs()) {
        if (auto* object = dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(dialog))) object->EndDialog(nResult);
        else ::EndDialog(dialog, nResult);  // a message box, which the system runs
    }
}

ModalScript& ModalScript::Then(Step step)
{
    m_steps.push_back(std::move(step));
    return *this;
}

INT_PTR ModalScript::Run(CDialog& dialog)
{
    INT_PTR result = 0;
    RunAround([&] { result = dialog.DoModal(); });
    if (result == -1) ADD_FAILURE() << "the dialog could not be created";
    return result;
}

void ModalScript::RunAround(const std::function<void()>& openDialog)
{
    // A script may run inside another one's step (a nested dialog); the outer one goes on
    // once the inner one ends.
    ModalScript* outer = g_running;
    g_running = this;
    std::unique_ptr<MessageLog> log;
    if (!outer) log = std::make_unique<MessageLog>(OnTimer);
    const UINT_PTR timer = ::SetTimer(nullptr, 0, kStepIntervalMs, OnTimer);
    ::SetLastError(0);
    openDialog();
    const DWORD error = ::GetLastError();
    ::KillTimer(nullptr, timer);
    g_running = outer;
    EXPECT_FALSE(m_timedOut) << "the script did not close its dialog";
    EXPECT_EQ(m_next, m_steps.size()) << "the dialog closed before the script ended; last error " << error
                                      << ", the last messages its thread received:\n"
                                      << MessageLog::Lines();
}

void CALLBACK ModalScript::OnTimer(HWND, UINT, UINT_PTR, DWORD)
{
    if (g_running) g_running->NextStep();
}

void ModalScript::NextStep()
{
    if (m_next < m_steps.size()) {
        // The step may open a nested modal loop in which this timer fires again.
        Step step = m_steps[m_next++];
        step();
        return;
    }
    if (++m_idleTicks > kIdleTicksAllowed && !m_timedOut) {
        m_timedOut = true;
        EndAllDialogs(IDABORT);
    }
}
