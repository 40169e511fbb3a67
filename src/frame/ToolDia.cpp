// The utility panel's data exchange and its four converters.
#include "frame/ToolDia.h"

#include "framework/CDataExchange.h"
#include "framework/Strings.h"
#include "framework/Unicode.h"

#include "resource.h"

#include <cstdint>
#include <cstdio>

namespace {
const int kMaxCharBytes = 1;
const int kMaxHexBytes = 8;
const int kMaxDecBytes = 20;
const int kMinAscii = 0;
const int kMaxAscii = 127;

bool IsSpace(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The leading decimal number of text: blanks, an optional sign, digits. It wraps at 32 bits
// as the registers it stands for do; unsigned arithmetic keeps the wrap well defined.
uint32_t LeadingDecimal(const std::string& text)
{
    size_t i = 0;
    while (i < text.size() && IsSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    uint32_t value = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i)
        value = value * 10u + static_cast<uint32_t>(text[i] - '0');
    return negative ? 0u - value : value;
}

std::string LowerHex(uint32_t value)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%x", static_cast<unsigned>(value));
    return buffer;
}

// Upper-cases the ASCII letters only; the bytes of other characters (never ASCII in UTF-8)
// stay as they are.
void UpperCaseAscii(std::string& text)
{
    for (char& c : text) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
}

// Upper-case hexadecimal digits to a 32-bit value; false when a byte is not a digit.
bool ParseUpperHex(const std::string& text, uint32_t& value)
{
    bool valid = true;
    value = 0;
    for (char ch : text) {
        uint32_t digit = 0;
        if (IsDigit(ch))
            digit = static_cast<uint32_t>(ch - '0');
        else if (ch >= 'A' && ch <= 'F')
            digit = static_cast<uint32_t>(ch - 'A' + 10);
        else
            valid = false;
        value = value * 16u + digit;
    }
    return valid;
}
}

CToolDia::CToolDia() : CDialog(IDD_TOOLDIA) {}

void CToolDia::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_CHAR, m_strChar);
    DDV_MaxChars(pDX, m_strChar, kMaxCharBytes);
    DDX_Text(pDX, IDC_HEX, m_strHex);
    DDV_MaxChars(pDX, m_strHex, kMaxHexBytes);
    DDX_Text(pDX, IDC_DEC, m_strDec);
    DDV_MaxChars(pDX, m_strDec, kMaxDecBytes);
    DDX_Text(pDX, IDC_ASCII, m_nAscii);
    DDV_MinMaxInt(pDX, m_nAscii, kMinAscii, kMaxAscii);
}

// Notifications that arrive while data exchange rewrites the boxes go to the base, which
// drops them; that is what keeps the converters from triggering one another.
bool CToolDia::OnCommand(UINT id, UINT code, HWND control)
{
    if (control && m_nLockNotify == 0 && OnEditNotify(id, code))
        return true;
    return CDialog::OnCommand(id, code, control);
}

bool CToolDia::OnEditNotify(UINT id, UINT code)
{
    if (code == EN_SETFOCUS && id == IDC_CHAR) {
        OnSetfocusChar();
        return true;
    }
    if (code != EN_CHANGE)
        return false;
    switch (id) {
    case IDC_CHAR:
        OnChangeChar();
        return true;
    case IDC_ASCII:
        OnChangeAscii();
        return true;
    case IDC_DEC:
        OnChangeDec();
        return true;
    case IDC_HEX:
        OnChangeHex();
        return true;
    }
    return false;
}

void CToolDia::OnChangeChar()
{
    UpdateData(true);
    if (m_strChar.empty())
        return;
    // The code is the character's first byte in GBK, as the boxes' limits count.
    m_nAscii = static_cast<signed char>(ToGbk(m_strChar)[0]);
    UpdateData(false);
}

void CToolDia::OnChangeAscii()
{
    UpdateData(true);
    // Only the low byte counts; the byte 0 is no character and shows as an empty box.
    char byte = static_cast<char>(static_cast<unsigned>(m_nAscii) & 0xFFu);
    m_strChar = byte == '\0' ? std::string() : FromGbk(std::string(1, byte));
    UpdateData(false);
}

void CToolDia::OnChangeDec()
{
    UpdateData(true);
    m_strHex = LowerHex(LeadingDecimal(m_strDec));
    UpdateData(false);
}

void CToolDia::OnChangeHex()
{
    UpdateData(true);
    UpperCaseAscii(m_strHex);

    uint32_t value = 0;
    if (m_strHex.empty())
        m_strDec = "0";
    else if (ParseUpperHex(m_strHex, value))
        m_strDec = std::to_string(static_cast<int32_t>(value));
    else
        m_strDec = LoadResString(IDS_BAD_HEX);
    UpdateData(false);
}

void CToolDia::OnSetfocusChar()
{
    ::SendMessageW(GetDlgItem(IDC_CHAR), EM_SETSEL, 0, -1);
}
