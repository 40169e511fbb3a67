// Data exchange between a dialog's controls and its fields, with the framework's validation
// messages. The first failure stops the exchange; later calls do nothing.
#pragma once

#include <windows.h>

#include <string>

class CDialog;

class CDataExchange {
public:
    CDataExchange(CDialog* dialog, bool saveAndValidate) : m_pDlgWnd(dialog), m_bSaveAndValidate(saveAndValidate) {}

    // The edit control of the row being exchanged; a failure reports against it.
    HWND PrepareEditCtrl(UINT id);
    // Moves the focus to the last prepared control, selects its text and ends the exchange.
    void Fail();

    CDialog* m_pDlgWnd;
    bool m_bSaveAndValidate;
    bool m_bFailed = false;
    HWND m_hWndLastControl = nullptr;
};

void DDX_Text(CDataExchange* pDX, UINT id, std::string& value);
void DDX_Text(CDataExchange* pDX, UINT id, int& value);
// A check box: checked or not.
void DDX_Check(CDataExchange* pDX, UINT id, bool& value);
// Limits a text field to maxChars GBK bytes: checked when reading, given to the control as its limit.

void DDV_MaxChars(CDataExchange* pDX, const std::string& value, int maxChars);
void DDV_MinMaxInt(CDataExchange* pDX, int value, int minValue, int maxValue);

// Parses a decimal integer the way the integer exchange does: blanks and tabs around, an
// optional sign, digits; a zero must start with the digit 0. Values saturate at 32 bits.
bool ParseDialogInteger(const std::string& text, int& value);
