// The compiler settings dialog.
#include "frame/CompilerSetupDlg.h"

#include "build/ArgumentTemplates.h"
#include "build/DosRoute.h"
#include "frame/ProblemMessage.h"
#include "framework/AppContext.h"
#include "framework/CDataExchange.h"
#include "framework/CFileDialog.h"
#include "framework/Strings.h"
#include "framework/Unicode.h"
#include "resource.h"

#include <algorithm>
#include <iterator>

namespace {
const char kToolFilter[] = "exe files (*.exe) | *.exe";

std::string DefaultTemplate(BuildAction action, const std::string& compiler)
{
    return Narrow(DefaultArgumentTemplate(action, SplitToolSetting(Widen(compiler)).program));
}

// The text of the offer: the tools found.
std::string OfferText(const FoundTools& found)
{
    std::string paths;
    for (const FilePath* tool : {&found.compiler, &found.linker, &found.debugger}) {
        if (!tool->empty())
            paths += (paths.empty() ? "" : "; ") + tool->Utf8();
    }
    return paths.empty() ? std::string() : FormatResString(IDS_FOUND_TOOLS, {paths});
}
}

namespace {
int RadioOf(CompilerType type)
{
    switch (type) {
    case CompilerType::Masm:
        return IDC_RADIO_MASM;
    case CompilerType::Tasm:
        return IDC_RADIO_TASM;
    case CompilerType::Mcs51:
        return IDC_RADIO_MCS51;
    default:
        return 0;
    }
}
}

CCompilerSetupDlg::CCompilerSetupDlg(const CompilerSettings& current)
    : CDialog(IDD_COMPILER_SETUP), m_nCompilerType(current.m_compilerType), m_currentType(current.m_compilerType),
      m_settings(current)
{
    ShowDefaultsWhereUnset();
}

bool CCompilerSetupDlg::OnInitDialog()
{
    if (m_settings.m_strCompilerPath.empty())
        OfferFoundTools(m_currentType);
    else
        ::EnableWindow(GetDlgItem(IDC_USE_FOUND), FALSE);
    ListEmulators();
    ListCompilers();
    ListLabBoxes();
    CDialog::OnInitDialog();
    // The toolchain the settings are of shows checked; picking another reads its own values.
    if (const int radio = RadioOf(m_nCompilerType))
        ::CheckRadioButton(m_hWnd, IDC_RADIO_MASM, IDC_RADIO_MCS51, radio);
    return true;
}

void CCompilerSetupDlg::DoDataExchange(CDataExchange* pDX)
{
    ExchangeCompiler(pDX);
    DDX_Text(pDX, IDC_COMPILER_ARGS, m_settings.m_strCompilerArgs);
    DDX_Text(pDX, IDC_LINKER_PATH, m_settings.m_strLinkerPath);
    DDX_Text(pDX, IDC_LINKER_ARGS, m_settings.m_strLinkerArgs);
    DDX_Check(pDX, IDC_NO_LINK, m_settings.m_bNoLink);
    DDX_Text(pDX, IDC_DEBUGGER_PATH, m_settings.m_strDebuggerPath);
    ExchangeEmulator(pDX);
    DDX_Text(pDX, IDC_WRITABLE_FOLDERS, m_settings.m_strWritableFolders);
    DDX_Text(pDX, IDC_FLOPPY_IMAGE, m_settings.m_strFloppyImage);
    ExchangeLabBox(pDX);
}

void CCompilerSetupDlg::ListLabBoxes()
{
    const HWND combo = GetDlgItem(IDC_LAB_BOX);
    const std::string choices = LoadResString(IDS_LAB_BOXES);
    for (size_t start = 0; start <= choices.size();) {
        const size_t end = std::min(choices.find('\n', start), choices.size());
        ::SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(choices.substr(start, end - start)).c_str()));
        start = end + 1;
    }
}

void CCompilerSetupDlg::ExchangeLabBox(CDataExchange* pDX)
{
    // The choices in the order the row lists them.
    static const char* const kPresets[] = {"", "288", "300"};
    const HWND combo = GetDlgItem(IDC_LAB_BOX);
    if (pDX->m_bSaveAndValidate) {
        const LRESULT chosen = ::SendMessageW(combo, CB_GETCURSEL, 0, 0);
        m_settings.m_strLabBox = chosen > 0 && chosen < static_cast<LRESULT>(std::size(kPresets)) ? kPresets[chosen] : "";
        return;
    }
    const auto shown = std::find(std::begin(kPresets), std::end(kPresets), m_settings.m_strLabBox);
    ::SendMessageW(combo, CB_SETCURSEL, shown == std::end(kPresets) ? 0 : static_cast<WPARAM>(shown - std::begin(kPresets)), 0);
}

void CCompilerSetupDlg::ListEmulators()
{
    const HWND combo = GetDlgItem(IDC_DOS_EMULATOR_PATH);
    // Emptying the list empties the field too; what it shows stays.
    const std::string shown = WindowTextOf(combo);
    ::SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    std::vector<std::wstring> choices{Widen(LoadResString(IDS_BUILTIN_DOS_MACHINE))};
    if (!m_found.emulator.empty())
        choices.push_back(m_found.emulator.Wide());
    for (const std::wstring& choice : choices)
        ::SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(choice.c_str()));
    SetWindowTextOf(combo, shown);
}

CompilerType CCompilerSetupDlg::ShownToolchain() const
{
    return m_nCompilerType == CompilerType::None ? m_currentType : m_nCompilerType;
}

void CCompilerSetupDlg::ListCompilers()
{
    const HWND combo = GetDlgItem(IDC_COMPILER_PATH);
    const std::string shown = WindowTextOf(combo);
    ::SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    if (ShownToolchain() == CompilerType::Mcs51) {
        const std::wstring builtIn = Widen(LoadResString(IDS_BUILTIN_ASSEMBLER_51));
        ::SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(builtIn.c_str()));
    }
    SetWindowTextOf(combo, shown);
}

void CCompilerSetupDlg::ExchangeCompiler(CDataExchange* pDX)
{
    const std::string builtIn = LoadResString(IDS_BUILTIN_ASSEMBLER_51);
    const bool showBuiltIn = ShownToolchain() == CompilerType::Mcs51 && m_settings.m_strCompilerPath.empty();
    std::string shown = showBuiltIn ? builtIn : m_settings.m_strCompilerPath;
    DDX_Text(pDX, IDC_COMPILER_PATH, shown);
    // Whatever the toolchain, the built-in assembler's name is no path.
    if (pDX->m_bSaveAndValidate)
        m_settings.m_strCompilerPath = shown == builtIn ? std::string() : shown;
}

void CCompilerSetupDlg::ExchangeEmulator(CDataExchange* pDX)
{
    const std::string builtIn = LoadResString(IDS_BUILTIN_DOS_MACHINE);
    std::string shown = m_settings.m_strDosEmulatorPath.empty() ? builtIn : m_settings.m_strDosEmulatorPath;
    DDX_Text(pDX, IDC_DOS_EMULATOR_PATH, shown);
    if (pDX->m_bSaveAndValidate)
        m_settings.m_strDosEmulatorPath = shown == builtIn ? std::string() : shown;
}

bool CCompilerSetupDlg::OnCommand(UINT id, UINT code, HWND control)
{
    using Handler = void (CCompilerSetupDlg::*)();
    static const struct {
        UINT id;
        Handler handler;
    } kButtons[] = {
        {IDC_RADIO_MASM, &CCompilerSetupDlg::OnRadioMasm},
        {IDC_RADIO_TASM, &CCompilerSetupDlg::OnRadioTasm},
        {IDC_RADIO_MCS51, &CCompilerSetupDlg::OnRadioMcs51},
        {IDC_BROWSE_COMPILER, &CCompilerSetupDlg::OnBrowseCompiler},
        {IDC_BROWSE_LINKER, &CCompilerSetupDlg::OnBrowseLinker},
        {IDC_BROWSE_DEBUGGER, &CCompilerSetupDlg::OnBrowseDebugger},
        {IDC_BROWSE_DOS_EMULATOR, &CCompilerSetupDlg::OnBrowseDosEmulator},
        {IDC_BROWSE_FLOPPY, &CCompilerSetupDlg::OnBrowseFloppy},
        {IDC_DEFAULT_ARGS, &CCompilerSetupDlg::OnDefaultArguments},
        {IDC_USE_FOUND, &CCompilerSetupDlg::OnUseFoundTools},
    };
    if (code == BN_CLICKED && control) {
        for (const auto& button : kButtons) {
            if (button.id == id) {
                (this->*button.handler)();
                return true;
            }
        }
    }
    return CDialog::OnCommand(id, code, control);
}

void CCompilerSetupDlg::ShowDefaultsWhereUnset()
{
    if (m_settings.m_strCompilerArgs.empty())
        m_settings.m_strCompilerArgs = DefaultTemplate(BuildAction::Compile, m_settings.m_strCompilerPath);
    if (m_settings.m_strLinkerArgs.empty())
        m_settings.m_strLinkerArgs = DefaultTemplate(BuildAction::Link, m_settings.m_strCompilerPath);
}

void CCompilerSetupDlg::FollowCompilerDefault(const std::string& previousCompiler)
{
    if (m_settings.m_strCompilerArgs == DefaultTemplate(BuildAction::Compile, previousCompiler))
        m_settings.m_strCompilerArgs = DefaultTemplate(BuildAction::Compile, m_settings.m_strCompilerPath);
}

void CCompilerSetupDlg::PickToolchain(CompilerType type)
{
    // The fields show the toolchain's stored values; where it has none (or a path is
    // missing in the store) the paths keep what they show.
    UpdateData(true);
    m_nCompilerType = type;
    if (ReadToolchain(type, m_settings, AfxGetServices()))
        ShowDefaultsWhereUnset();
    ListCompilers();
    UpdateData(false);
    if (m_settings.m_strCompilerPath.empty())
        OfferFoundTools(type);
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

void CCompilerSetupDlg::OfferFoundTools(CompilerType type)
{
    const std::vector<FilePath> folders = ToolFolders();
    m_found = type == CompilerType::None ? FindAnyTools(folders) : FindTools(type, folders);
    const std::string offer = m_found.HasCompiler() ? OfferText(m_found) : std::string();
    SetWindowTextOf(GetDlgItem(IDC_FOUND_TOOLS), offer);
    ::EnableWindow(GetDlgItem(IDC_USE_FOUND), !offer.empty());
    ListEmulators();
}

void CCompilerSetupDlg::OnUseFoundTools()
{
    if (!m_found.HasCompiler())
        return;
    UpdateData(true);
    const std::string previous = m_settings.m_strCompilerPath;
    m_settings.m_strCompilerPath = m_found.compiler.Utf8();
    FollowCompilerDefault(previous);
    for (auto [found, field] : {std::pair{&m_found.linker, &m_settings.m_strLinkerPath},
                                std::pair{&m_found.debugger, &m_settings.m_strDebuggerPath}}) {
        if (!found->empty())
            *field = found->Utf8();
    }
    m_nCompilerType = m_found.type;
    ListCompilers();
    UpdateData(false);
    const UINT radios[] = {IDC_RADIO_MASM, IDC_RADIO_TASM, IDC_RADIO_MCS51};
    ::CheckRadioButton(m_hWnd, IDC_RADIO_MASM, IDC_RADIO_MCS51, radios[static_cast<int>(m_found.type)]);
}

void CCompilerSetupDlg::OnDefaultArguments()
{
    UpdateData(true);
    m_settings.m_strCompilerArgs = DefaultTemplate(BuildAction::Compile, m_settings.m_strCompilerPath);
    m_settings.m_strLinkerArgs = DefaultTemplate(BuildAction::Link, m_settings.m_strCompilerPath);
    UpdateData(false);
}

void CCompilerSetupDlg::OnOK()
{
    if (!UpdateData(true))
        return;
    if (EmulatorKindOf(FilePath::FromUtf8(m_settings.m_strDosEmulatorPath)) == EmulatorKind::Unknown) {
        ShowProblem(Problem{Problem::Kind::UnknownEmulator, Widen(m_settings.m_strDosEmulatorPath)});
        ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(IDC_DOS_EMULATOR_PATH)), TRUE);
        return;
    }
    EndDialog(IDOK);
}

CompilerSettings CCompilerSetupDlg::GetSettings() const
{
    CompilerSettings settings = m_settings;
    settings.m_compilerType = m_nCompilerType;
    // A default follows its compiler: kept as none, it changes when the compiler does.
    if (settings.m_strCompilerArgs == DefaultTemplate(BuildAction::Compile, settings.m_strCompilerPath))
        settings.m_strCompilerArgs.clear();
    if (settings.m_strLinkerArgs == DefaultTemplate(BuildAction::Link, settings.m_strCompilerPath))
        settings.m_strLinkerArgs.clear();
    return settings;
}

void CCompilerSetupDlg::BrowseFor(std::string& path, const std::string& filter, const char* pattern)
{
    CFileDialog dialog(true, "", pattern, 0, filter);
    if (dialog.DoModal() != IDOK)
        return;
    UpdateData(true);
    path = dialog.GetPathName();
    UpdateData(false);
}

void CCompilerSetupDlg::OnBrowseCompiler()
{
    UpdateData(true);
    const std::string previous = m_settings.m_strCompilerPath;
    BrowseFor(m_settings.m_strCompilerPath, kToolFilter);
    FollowCompilerDefault(previous);
    UpdateData(false);
}

void CCompilerSetupDlg::OnBrowseLinker()
{
    BrowseFor(m_settings.m_strLinkerPath, kToolFilter);
}

void CCompilerSetupDlg::OnBrowseDebugger()
{
    BrowseFor(m_settings.m_strDebuggerPath, LoadResString(IDS_DEBUGGER_FILTER));
}

void CCompilerSetupDlg::OnBrowseDosEmulator()
{
    BrowseFor(m_settings.m_strDosEmulatorPath, LoadResString(IDS_EMULATOR_FILTER));
}

void CCompilerSetupDlg::OnBrowseFloppy()
{
    BrowseFor(m_settings.m_strFloppyImage, LoadResString(IDS_FLOPPY_FILTER), "*.img");
}
