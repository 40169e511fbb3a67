// The wiring table's dialog.
#include "frame/LabWiringDlg.h"

#include "framework/CDataExchange.h"
#include "framework/MessageBox.h"
#include "framework/Strings.h"
#include "framework/Unicode.h"
#include "labbox/LabPreset.h"
#include "labbox/LabWiring.h"
#include "resource.h"

namespace {
// The table in the edit box's lines.
std::string WithCrLf(const std::string& text)
{
    std::string lines;
    for (const char c : text) {
        if (c == '\n' && (lines.empty() || lines.back() != '\r'))
            lines += '\r';
        lines += c;
    }
    return lines;
}

std::string LineOf(const std::string& text, int number)
{
    size_t start = 0;
    for (int line = 1; line < number && start != std::string::npos; ++line)
        start = text.find('\n', start) == std::string::npos ? std::string::npos : text.find('\n', start) + 1;
    if (start == std::string::npos)
        return {};
    const std::string line = text.substr(start, text.find('\n', start) - start);
    return line.empty() || line.back() != '\r' ? line : line.substr(0, line.size() - 1);
}
}

CLabWiringDlg::CLabWiringDlg(const std::string& preset, const std::string& text)
    : CDialog(IDD_LAB_WIRING), m_strPreset(preset), m_strText(WithCrLf(text.empty() ? PresetWiring() : text))
{
}

std::string CLabWiringDlg::PresetWiring() const
{
    const std::optional<labbox::LabPreset> preset = labbox::LabPreset::Find(m_strPreset);
    return preset ? preset->wiring : std::string();
}

bool CLabWiringDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetWindowTextOf(m_hWnd, FormatResString(IDS_LAB_WIRING_TITLE, {m_strPreset}));
    return true;
}

void CLabWiringDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_WIRING_TEXT, m_strText);
    if (!pDX->m_bSaveAndValidate || pDX->m_bFailed)
        return;
    int badLine = 0;
    if (!labbox::CLabWiring::Parse(m_strText, badLine)) {
        AfxMessageBox(FormatResString(IDS_LAB_WIRING_BAD, {std::to_string(badLine), LineOf(m_strText, badLine)}), MB_ICONEXCLAMATION);
        pDX->PrepareEditCtrl(IDC_WIRING_TEXT);
        pDX->Fail();
    }
}

bool CLabWiringDlg::OnCommand(UINT id, UINT code, HWND control)
{
    if (id == IDC_WIRING_DEFAULT && code == BN_CLICKED && control) {
        m_strText = WithCrLf(PresetWiring());
        UpdateData(false);
        return true;
    }
    return CDialog::OnCommand(id, code, control);
}

std::string CLabWiringDlg::GetText() const
{
    return m_strText == WithCrLf(PresetWiring()) ? std::string() : m_strText;
}
