// Dialogs from templates: modal, or modeless as a child window. The dialog window is
// subclassed at WM_INITDIALOG, so dialogs dispatch through WindowProc like every window.
#pragma once

#include "framework/CWnd.h"

class CDataExchange;

class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId) : m_nIDTemplate(templateId) {}

    // Runs the dialog modally, owned by parent (the main window when none is given).
    virtual INT_PTR DoModal(CWnd* parent = nullptr);
    // Creates the dialog as a modeless window (a child when the template says so).
    bool Create(CWnd* parent);
    void EndDialog(int result);

    // Moves all fields to the controls (false) or reads and checks them (true).
    bool UpdateData(bool saveAndValidate = true);
    virtual void DoDataExchange(CDataExchange* pDX);

    virtual bool OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();

    bool OnCmdMsg(UINT nID, CCmdUI* pCmdUI) override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    bool PreTranslateMessage(MSG* msg) override;

    UINT m_nIDTemplate;

protected:
    static INT_PTR CALLBACK StaticDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

    bool m_bModal = false;
    // While data exchange runs, notifications from the dialog's own controls are ignored.
    int m_nLockNotify = 0;
};

// Keyboard messages for a modeless dialog or its controls go to the dialog's own handling
// (Tab, Enter, Esc, mnemonics) instead of the frame's accelerators; true when it took them.
bool PreTranslateDialogMessage(HWND dialog, MSG* msg);
