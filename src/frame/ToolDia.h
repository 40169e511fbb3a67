// The utility panel: a character / ASCII-code viewer and a decimal / hexadecimal converter
// that convert on every change of a box's text.
#pragma once

#include "framework/CDialog.h"

#include <string>

class CToolDia : public CDialog {
public:
    CToolDia();

    void DoDataExchange(CDataExchange* pDX) override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    // Enter and Esc must neither close nor hide the panel.
    void OnOK() override {}
    void OnCancel() override {}

    std::string m_strChar;
    std::string m_strHex;
    std::string m_strDec;
    int m_nAscii = 0;

protected:
    void OnChangeChar();
    void OnChangeAscii();
    void OnChangeDec();
    void OnChangeHex();
    void OnSetfocusChar();

private:
    bool OnEditNotify(UINT id, UINT code);
};
