#include "ModalScript.h"

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
    return result;
}

void ModalScript::RunAround(const std::function<void()>& openDialog)
{
    // A script may run inside another one's step (a nested dialog); the outer one goes on
    // once the inner one ends.
    ModalScript* outer = g_running;
    g_running = this;
    const UINT_PTR timer = ::SetTimer(nullptr, 0, kStepIntervalMs, OnTimer);
    openDialog();
    ::KillTimer(nullptr, timer);
    g_running = outer;
    EXPECT_FALSE(m_timedOut) << "the script did not close its dialog";
    EXPECT_EQ(m_next, m_steps.size()) << "the dialog closed before the script ended";
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
