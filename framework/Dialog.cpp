#include "Dialog.h"

#include "ResourceLanguage.h"
#include "WinApp.h"

namespace {

// The dialog whose window is being created: its procedure attaches the window to it at
// the first message, before the controls report their sizes and before WM_INITDIALOG.
CDialog* g_pDialogInCreation = nullptr;
int g_nModalDepth = 0;

// Runs one step of a modal loop; a failing handler must not leave the loop and its
// window behind.
template <typename Step>
void Guarded(Step step)
{
    try {
        step();
    } catch (...) {
    }
}

}  // namespace

INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM, LPARAM)
{
    if (CWnd::FromHandlePermanent(hWnd) || !g_pDialogInCreation) return FALSE;
    CDialog* dialog = g_pDialogInCreation;
    g_pDialogInCreation = nullptr;
    dialog->SubclassWindow(hWnd);
    // From here on the window's messages come through the dialog object; this one came
    // the old way and is handled here.
    if (message != WM_INITDIALOG) return FALSE;
    BOOL focusDefault = TRUE;
    Guarded([&] { focusDefault = dialog->HandleInitDialog(); });
    return focusDefault;
}

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, &CDialog::OnOK)
    ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

HWND CDialog::OwnerWindow() const
{
    CWnd* owner = m_pParentWnd ? m_pParentWnd : AfxGetMainWnd();
    return owner && owner != this ? owner->m_hWnd : nullptr;
}

INT_PTR CDialog::DoModal()
{
    const auto* dialogTemplate = static_cast<const DLGTEMPLATE*>(AfxLoadLocalizedResource(m_nIDTemplate, RT_DIALOG));
    if (!dialogTemplate) return -1;
    m_hWndOwner = OwnerWindow();
    m_nModalResult = -1;
    m_bInModalLoop = true;
    g_pDialogInCreation = this;
    HWND hWnd = ::CreateDialogIndirectParamW(AfxGetInstanceHandle(), dialogTemplate, m_hWndOwner, AfxDlgProc, 0);
    g_pDialogInCreation = nullptr;
    if (!hWnd) return -1;

    const bool ownerWasEnabled = m_hWndOwner && !::EnableWindow(m_hWndOwner, FALSE);
    if (m_bInModalLoop && m_hWnd) {
        ::ShowWindow(hWnd, SW_SHOWNORMAL);
        RunModalLoop();
    }
    if (ownerWasEnabled) ::EnableWindow(m_hWndOwner, TRUE);
    if (m_hWndOwner && ::GetActiveWindow() == hWnd) ::SetActiveWindow(m_hWndOwner);
    if (::IsWindow(hWnd)) ::DestroyWindow(hWnd);
    return m_nModalResult;
}

void CDialog::RunModalLoop()
{
    ++g_nModalDepth;
    MSG msg;
    while (m_bInModalLoop && m_hWnd) {
        // Temporary wrappers live until the outermost loop waits again.
        if (g_nModalDepth == 1) CWnd::DeleteTempMaps();
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            // WM_QUIT ends this loop and is passed on to the loop around it.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (got == -1) break;
        Guarded([&] {
            if (!PreTranslateMessage(&msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
        });
    }
    --g_nModalDepth;
}

void CDialog::EndDialog(int nResult)
{
    m_nModalResult = nResult;
    m_bInModalLoop = false;
    // Wakes the loop in case this runs outside one of its messages.
    if (m_hWnd) ::PostMessageA(m_hWnd, WM_NULL, 0, 0);
}

BOOL CDialog::HandleInitDialog()
{
    const BOOL focusDefault = OnInitDialog();
    CenterOverOwner();
    return focusDefault;
}

void CDialog::CenterOverOwner()
{
    RECT dialog, area;
    ::GetWindowRect(m_hWnd, &dialog);
    if (m_hWndOwner && !::IsIconic(m_hWndOwner)) ::GetWindowRect(m_hWndOwner, &area);
    else ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    const int width = dialog.right - dialog.left;
    const int height = dialog.bottom - dialog.top;
    const int x = area.left + (area.right - area.left - width) / 2;
    const int y = area.top + (area.bottom - area.top - height) / 2;
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) return HandleInitDialog();
    return CWnd::WindowProc(message, wParam, lParam);
}

BOOL CDialog::OnCmdMsg(UINT nID, int nCode)
{
    if (CWnd::OnCmdMsg(nID, nCode)) return TRUE;
    CWinApp* app = AfxGetApp();
    return app && app->OnCmdMsg(nID, nCode);
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg) { return ::IsDialogMessageW(m_hWnd, pMsg); }

BOOL CDialog::OnInitDialog()
{
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() { EndDialog(IDOK); }
void CDialog::OnCancel() { EndDialog(IDCANCEL); }
void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange exchange(this, bSaveAndValidate);
    DoDataExchange(&exchange);
    return TRUE;
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    rControl.SubclassWindow(::GetDlgItem(pDX->m_pDlgWnd->m_hWnd, nIDC));
}
