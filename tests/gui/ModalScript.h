// Runs test steps inside a dialog's real modal loop. A thread timer performs one step each
// time it fires, so input that a step posts goes through the loop (PreTranslateMessage,
// the dialog manager, the controls) before the next step looks at the result. A script
// that does not end its dialog in time has every open dialog ended and counts as failed.
#pragma once

#include <functional>
#include <vector>

#include "Afx.h"

class ModalScript {
public:
    using Step = std::function<void()>;

    ModalScript& Then(Step step);
    // Runs dialog.DoModal() while the steps play; returns what DoModal returned.
    INT_PTR Run(CDialog& dialog);
    // Runs code that opens a modal dialog (InputName, for one) while the steps play.
    void RunAround(const std::function<void()>& openDialog);
    bool TimedOut() const { return m_timedOut; }

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
    void NextStep();

    std::vector<Step> m_steps;
    size_t m_next = 0;
    int m_idleTicks = 0;
    bool m_timedOut = false;
};

// The program's one application object in the tests; its main window owns nested dialogs.
CWinApp& TestApp();

// The enabled, visible dialog of this thread that is not the owner of another: the one
// that a modal loop runs right now (a nested name dialog or About box, or the main window).
HWND FindModalDialog();
// Ends every open dialog of this thread, message boxes included.
void EndAllDialogs(int nResult);
