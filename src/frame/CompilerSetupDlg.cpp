// The compiler settings dialog.
#include "frame/CompilerSetupDlg.h"

#include "build/CompilerSettings.h"
#include "build/DosRoute.h"
#include "frame/ProblemMessage.h"
#include "framework/CDataExchange.h"
#include "framework/CFileDialog.h"
#include "framework/CWinApp.h"
#include "framework/Strings.h"
#include "framework/Unicode.h"
#include "resource.h"

namespace {
const char kToolFilter[] = "exe files (*.exe) | *.exe";
}

CCompilerSetupDlg::CCompilerSetupDlg(const std::string& compiler, const std::string& linker,
                                     const std::string& dosEmulator)
    : CDialog(IDD_COMPILER_SETUP), m_strCompiler(compiler), m_strLinker(linker), m_strDosEmulator(dosEmulator)
{
}

void CCompilerSetupDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_COMPILER_PATH, m_strCompiler);
    DDX_Text(pDX, IDC_LINKER_PATH, m_strLinker);
    DDX_Text(pDX, IDC_DOS_EMULATOR_PATH, m_strDosEmulator);
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
        case IDC_BROWSE_DOS_EMULATOR:
            OnBrowseDosEmulator();
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
    if (ReadToolchainPaths(type, m_strCompiler, m_strLinker, AfxGetServices()))
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

void CCompilerSetupDlg::OnOK()
{
    if (!UpdateData(true))
        return;
    if (EmulatorKindOf(FilePath::FromUtf8(m_strDosEmulator)) == EmulatorKind::Unknown) {
        ShowProblem(Problem{Problem::Kind::UnknownEmulator, Widen(m_strDosEmulator)});
        ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(IDC_DOS_EMULATOR_PATH)), TRUE);
        return;
    }
    EndDialog(IDOK);
}

void CCompilerSetupDlg::BrowseFor(std::string& path, const std::string& filter)
{
    CFileDialog dialog(true, "", "*.exe", 0, filter);
    if (dialog.DoModal() != IDOK)
        return;
    UpdateData(true);
    path = dialog.GetPathName();
    UpdateData(false);
}

void CCompilerSetupDlg::OnBrowseCompiler()
{
    BrowseFor(m_strCompiler, kToolFilter);
}

void CCompilerSetupDlg::OnBrowseLinker()
{
    BrowseFor(m_strLinker, kToolFilter);
}

void CCompilerSetupDlg::OnBrowseDosEmulator()
{
    BrowseFor(m_strDosEmulator, LoadResString(IDS_EMULATOR_FILTER));
}
