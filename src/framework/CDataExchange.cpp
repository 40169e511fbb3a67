// Dialog data exchange and validation.
#include "framework/CDataExchange.h"

#include "framework/AfxRes.h"
#include "framework/CDialog.h"
#include "framework/EditByteLimit.h"
#include "framework/MessageBox.h"
#include "framework/Strings.h"
#include "framework/Unicode.h"

#include <climits>

namespace {
// Replaces a control's text only when it differs, and keeps the caret and selection where they
// were: a box that rewrites itself while the user types in it (upper-casing hexadecimal
// letters, putting back a refused code) must not send the next keystroke to its start.
void SetWindowTextIfChanged(HWND control, const std::string& text)
{
    if (WindowTextOf(control) == text)
        return;
    const auto [start, end] = EditSelectionOf(control);
    SetWindowTextOf(control, text);
    // The control clamps positions past its new end.
    ::SendMessageW(control, EM_SETSEL, start, static_cast<LPARAM>(end));
}

void ReportValidation(CDataExchange* pDX, const std::string& message)
{
    AfxMessageBox(message, MB_OK | MB_ICONEXCLAMATION);
    pDX->Fail();
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}
}

HWND CDataExchange::PrepareEditCtrl(UINT id)
{
    m_hWndLastControl = m_pDlgWnd->GetDlgItem(id);
    return m_hWndLastControl;
}

void CDataExchange::Fail()
{
    m_bFailed = true;
    if (m_hWndLastControl) {
        ::SetFocus(m_hWndLastControl);
        ::SendMessageW(m_hWndLastControl, EM_SETSEL, 0, -1);
    }
}

void DDX_Text(CDataExchange* pDX, UINT id, std::string& value)
{
    if (pDX->m_bFailed)
        return;
    HWND control = pDX->PrepareEditCtrl(id);
    if (pDX->m_bSaveAndValidate) {
        value = WindowTextOf(control);
    } else {
        SetWindowTextIfChanged(control, value);
    }
}

bool ParseDialogInteger(const std::string& text, int& value)
{
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    size_t first = i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    size_t digitsStart = i;
    long long magnitude = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        if (magnitude <= static_cast<long long>(INT_MAX) + 1)
            magnitude = magnitude * 10 + (text[i] - '0');
        ++i;
    }
    if (i == digitsStart)
        return false;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    if (i != text.size())
        return false;
    long long signedValue = negative ? -magnitude : magnitude;
    if (signedValue > INT_MAX)
        signedValue = INT_MAX;
    if (signedValue < INT_MIN)
        signedValue = INT_MIN;
    if (signedValue == 0 && text[first] != '0')
        return false;
    value = static_cast<int>(signedValue);
    return true;
}

void DDX_Text(CDataExchange* pDX, UINT id, int& value)
{
    if (pDX->m_bFailed)
        return;
    HWND control = pDX->PrepareEditCtrl(id);
    if (pDX->m_bSaveAndValidate) {
        // Only the first 31 characters are read: an integer never needs more.
        wchar_t buffer[32];
        int n = ::GetWindowTextW(control, buffer, static_cast<int>(std::size(buffer)));
        if (!ParseDialogInteger(Narrow(std::wstring_view(buffer, static_cast<size_t>(n > 0 ? n : 0))), value))
            ReportValidation(pDX, LoadResString(AFX_IDP_PARSE_INT));
    } else {
        SetWindowTextIfChanged(control, std::to_string(value));
    }
}

void DDV_MaxChars(CDataExchange* pDX, const std::string& value, int maxChars)
{
    if (pDX->m_bFailed)
        return;
    if (pDX->m_bSaveAndValidate && GbkLength(value) > static_cast<size_t>(maxChars)) {

        ReportValidation(pDX, FormatResString(AFX_IDP_PARSE_STRING_SIZE, {std::to_string(maxChars)}));
        return;
    }
    LimitEditBytes(pDX->m_hWndLastControl, maxChars);
}

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minValue, int maxValue)
{
    if (pDX->m_bFailed || !pDX->m_bSaveAndValidate)
        return;
    if (value < minValue || value > maxValue)
        ReportValidation(pDX, FormatResString(AFX_IDP_PARSE_INT_RANGE,
                                              {std::to_string(minValue), std::to_string(maxValue)}));
}

void DDX_Check(CDataExchange* pDX, UINT id, bool& value)
{
    if (pDX->m_bFailed)
        return;
    HWND control = pDX->m_pDlgWnd->GetDlgItem(id);
    if (pDX->m_bSaveAndValidate)
        value = ::SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
    else
        ::SendMessageW(control, BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
}
