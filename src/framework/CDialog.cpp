// Dialogs from templates.
#include "framework/CDialog.h"

#include "framework/AppContext.h"
#include "framework/CDataExchange.h"

#include <algorithm>

namespace {
// A dialog opens over the window it belongs to, inside the screen's work area.
void CenterOverOwner(HWND dialog)
{
    const HWND owner = ::GetWindow(dialog, GW_OWNER);
    if (!owner || !::IsWindowVisible(owner) || ::IsIconic(owner))
        return;
    RECT own{}, over{};
    ::GetWindowRect(dialog, &own);
    ::GetWindowRect(owner, &over);
    MONITORINFO monitor{sizeof monitor};
    ::GetMonitorInfoW(::MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& work = monitor.rcWork;
    const int width = own.right - own.left, height = own.bottom - own.top;
    int x = (over.left + over.right - width) / 2, y = (over.top + over.bottom - height) / 2;
    x = std::max<int>(work.left, std::min<int>(x, work.right - width));
    y = std::max<int>(work.top, std::min<int>(y, work.bottom - height));
    ::SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
}

INT_PTR CALLBACK CDialog::StaticDlgProc(HWND hWnd, UINT message, WPARAM, LPARAM lParam)
{
    if (message != WM_INITDIALOG)
        return FALSE;
    auto* dialog = reinterpret_cast<CDialog*>(lParam);
    dialog->SubclassWindow(hWnd);
    if (dialog->m_bModal)
        CenterOverOwner(hWnd);
    try {
        return dialog->OnInitDialog() ? TRUE : FALSE;
    } catch (const std::exception&) {
        ReportUnexpectedFailure();
        return TRUE;
    }
}

INT_PTR CDialog::DoModal(CWnd* parent)
{
    m_bModal = true;
    INT_PTR result = ::DialogBoxParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_nIDTemplate),
                                       parent ? parent->GetSafeHwnd() : AfxGetOwnerWindow(), StaticDlgProc,
                                       reinterpret_cast<LPARAM>(this));
    m_bModal = false;
    return result;
}

bool CDialog::Create(CWnd* parent)
{
    HWND hWnd = ::CreateDialogParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_nIDTemplate),
                                     parent ? parent->GetSafeHwnd() : nullptr, StaticDlgProc,
                                     reinterpret_cast<LPARAM>(this));

    return hWnd != nullptr && hWnd == m_hWnd;
}

void CDialog::EndDialog(int result)
{
    if (m_bModal)
        ::EndDialog(m_hWnd, result);
}

bool CDialog::UpdateData(bool saveAndValidate)
{
    CDataExchange dx(this, saveAndValidate);
    ++m_nLockNotify;
    DoDataExchange(&dx);
    --m_nLockNotify;
    return !dx.m_bFailed;
}

void CDialog::DoDataExchange(CDataExchange*) {}

bool CDialog::OnInitDialog()
{
    UpdateData(false);
    return true;
}

void CDialog::OnOK()
{
    if (UpdateData(true))
        EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

bool CDialog::OnCmdMsg(UINT nID, CCmdUI* pCmdUI)
{
    static const CommandEntry<CDialog> kCommands[] = {
        {IDOK, [](CDialog& dialog, UINT) { dialog.OnOK(); }},
        {IDCANCEL, [](CDialog& dialog, UINT) { dialog.OnCancel(); }},
    };
    return RouteCommand(*this, kCommands, nID, pCmdUI) || CWnd::OnCmdMsg(nID, pCmdUI);
}

bool CDialog::OnCommand(UINT id, UINT code, HWND control)
{
    if (m_nLockNotify > 0 && control)
        return true;
    return CWnd::OnCommand(id, code, control);
}

bool CDialog::PreTranslateMessage(MSG* msg)
{
    return !m_bModal && PreTranslateDialogMessage(m_hWnd, msg);
}

bool PreTranslateDialogMessage(HWND dialog, MSG* msg)
{
    if (msg->message < WM_KEYFIRST || msg->message > WM_KEYLAST)
        return false;
    if (msg->hwnd != dialog && !::IsChild(dialog, msg->hwnd))
        return false;
    return ::IsDialogMessageW(dialog, msg) != FALSE;
}
