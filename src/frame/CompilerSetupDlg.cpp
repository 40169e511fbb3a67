// The compiler settings dialog.
#include "frame/CompilerSetupDlg.h"

#include "build/CompilerSettings.h"
#include "framework/CDataExchange.h"
#include "framework/CFileDialog.h"
#include "resource.h"

CCompilerSetupDlg::CCompilerSetupDlg(const std::string& compiler, const std::string& linker)
    : CDialog(IDD_COMPILER_SETUP), m_strCompiler(compiler), m_strLinker(linker)
{
}

void CCompilerSetupDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_COMPILER_PATH, m_strCompiler);
    DDX_Text(pDX, IDC_LINKER_PATH, m_strLinker);
}

bool CCompilerSetupDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (HIWORD(wParam) == BN_CLICKED && lParam) {
        switch (LOWORD(wParam)) {
        case IDC_RADIO_MASM:
            OnRadioMasm();
            return true;
        case IDC_RADIO_TASM:
            OnRadioTasm();
            return true;
        case IDC_RADIO_MCS51:
            OnRadioMcs51();
            return true;
        case IDC_BROWSE_COMPILER:
            OnBrowseCompiler();
            return true;
        case IDC_BROWSE_LINKER:
            OnBrowseLinker();
            return true;
        }
    }
    return CDialog::OnCommand(wParam, lParam);
}

void CCompilerSetupDlg::PickToolchain(CompilerType type)
{
    m_nCompilerType = type;
    // The fields show the toolchain's stored paths; where it has none (or a path is
    // missing in the store) they keep what they show.
    UpdateData(true);
    if (ReadToolchainPaths(type, m_strCompiler, m_strLinker))
        UpdateData(false);
}

void CCompilerSetupDlg::OnRadioMasm()
{
    PickToolchain(CompilerType::Masm);
}

void CCompilerSetupDlg::OnRadioTasm()
{
    PickToolchain(CompilerType::Tasm);
}

void CCompilerSetupDlg::OnRadioMcs51()
{
    PickToolchain(CompilerType::Mcs51);
}

void CCompilerSetupDlg::BrowseFor(std::string& path)
{
    CFileDialog dialog(true, "", "*.exe", 0, "exe files (*.exe) | *.exe");
    if (dialog.DoModal() != IDOK)
        return;
    UpdateData(true);
    path = dialog.GetPathName();
    UpdateData(false);
}

void CCompilerSetupDlg::OnBrowseCompiler()
{
    BrowseFor(m_strCompiler);
}

void CCompilerSetupDlg::OnBrowseLinker()
{
    BrowseFor(m_strLinker);
}
