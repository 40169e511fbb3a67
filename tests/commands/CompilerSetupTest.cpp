// The set-compiler command and its dialog through the dialog's real controls, checked
// against the registry afterwards.
#include "build/CompilerSettings.h"
#include "frame/MainFrame.h"
#include "framework/RegistryKey.h"
#include "framework/Unicode.h"
#include "framework/docview/CWinApp.h"
#include "resource.h"
#include "support/KorvaneSession.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {
void StorePaths(const char* toolchain, const std::string& compiler, const std::string& linker)
{
    CRegistryKey key(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(key.CreateFromRoot(std::string(kSettingsKeyPath) + "\\" + toolchain));
    key.SetString(kCompilerValueName, compiler);
    key.SetString(kLinkerValueName, linker);
}

std::string Stored(const std::string& subKey, const char* value)
{
    CRegistryKey key(HKEY_LOCAL_MACHINE);
    std::string text = "<missing>";
    if (key.Open(subKey.empty() ? std::string(kSettingsKeyPath) : std::string(kSettingsKeyPath) + "\\" + subKey))
        key.GetString(value, text);
    return text;
}

std::string FieldText(HWND dialog, int id)
{
    char text[512] = "";
    ::GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

// A field's text as the program holds texts, whatever the system's code page.
std::string Utf8FieldText(HWND dialog, int id)
{
    wchar_t text[512] = L"";
    ::GetDlgItemTextW(dialog, id, text, 512);
    return Narrow(text);
}

void Click(HWND dialog, int id)
{
    ::SendMessageA(::GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

bool Checked(HWND dialog, int id)
{
    return ::IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}
}

class CompilerSetup : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearCompilerSettings();
        StorePaths("masm", "c:\\masm\\masm.exe", "c:\\masm\\link.exe");
        StorePaths("tasm", "c:\\tasm\\tasm.exe", "c:\\tasm\\tlink.exe");
        StorePaths("mcs", "c:\\mcs\\asm51.exe", "c:\\mcs\\oh.exe");
        CRegistryKey key(HKEY_LOCAL_MACHINE);
        ASSERT_TRUE(key.Open(kSettingsKeyPath));
        key.SetString(kTypeValueName, "masm");
        m_session = std::make_unique<KorvaneSession>();
        ASSERT_TRUE(m_session->Started());
    }
    void TearDown() override
    {
        m_session.reset();
        ClearCompilerSettings();
    }
    // Opens the dialog, lets script work on it, and returns once the dialog has ended.
    void RunDialog(std::function<void(HWND)> script)
    {
        WhenDialogShows(std::move(script));
        m_session->Command(ID_SET_COMPILER);
    }
    CMainFrame& Frame() const { return m_session->Frame(); }

    MessageBoxRecorder m_boxes;
    std::unique_ptr<KorvaneSession> m_session;
};

TEST_F(CompilerSetup, OpensWithTheCurrentPathsAndTheirToolchainChecked)
{
    ASSERT_EQ(Frame().GetCompilerSettings().m_compilerType, CompilerType::Masm);
    std::string checked;
    std::string compiler, linker;
    RunDialog([&](HWND dialog) {
        for (int radio : {IDC_RADIO_MASM, IDC_RADIO_TASM, IDC_RADIO_MCS51})
            checked += Checked(dialog, radio) ? "x" : "-";
        compiler = FieldText(dialog, IDC_COMPILER_PATH);
        linker = FieldText(dialog, IDC_LINKER_PATH);
        Click(dialog, IDCANCEL);
    });
    EXPECT_EQ(checked, "x--");
    EXPECT_EQ(compiler, "c:\\masm\\masm.exe");
    EXPECT_EQ(linker, "c:\\masm\\link.exe");
}

TEST_F(CompilerSetup, EachToolchainShowsItsStoredPathsAndOkStoresThePickedOne)
{
    std::string tasm, mcs;
    RunDialog([&](HWND dialog) {
        Click(dialog, IDC_RADIO_TASM);
        tasm = FieldText(dialog, IDC_COMPILER_PATH) + "|" + FieldText(dialog, IDC_LINKER_PATH);
        Click(dialog, IDC_RADIO_MCS51);
        mcs = FieldText(dialog, IDC_COMPILER_PATH) + "|" + FieldText(dialog, IDC_LINKER_PATH);
        EXPECT_FALSE(Checked(dialog, IDC_RADIO_TASM));
        ::SetDlgItemTextA(dialog, IDC_LINKER_PATH, "c:\\mcs\\oh2.exe");
        Click(dialog, IDOK);
    });
    EXPECT_EQ(tasm, "c:\\tasm\\tasm.exe|c:\\tasm\\tlink.exe");
    EXPECT_EQ(mcs, "c:\\mcs\\asm51.exe|c:\\mcs\\oh.exe");
    EXPECT_TRUE(m_boxes.Texts().empty());
    EXPECT_EQ(Stored("", kTypeValueName), "mcs");
    EXPECT_EQ(Stored("mcs", kLinkerValueName), "c:\\mcs\\oh2.exe");
    EXPECT_EQ(Stored("tasm", kLinkerValueName), "c:\\tasm\\tlink.exe");
    EXPECT_EQ(Frame().GetCompilerSettings().m_compilerType, CompilerType::Mcs51);
    EXPECT_EQ(Frame().GetCompilerSettings().m_strLinkerPath, "c:\\mcs\\oh2.exe");
}

TEST_F(CompilerSetup, AToolchainWithoutStoredPathsKeepsTheFields)
{
    ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, (std::string(kSettingsKeyPath) + "\\tasm").c_str());
    StorePaths("mcs", "", "");
    std::string missing, empty;
    RunDialog([&](HWND dialog) {
        ::SetDlgItemTextA(dialog, IDC_COMPILER_PATH, "typed");
        Click(dialog, IDC_RADIO_TASM);
        missing = FieldText(dialog, IDC_COMPILER_PATH);
        Click(dialog, IDC_RADIO_MCS51);
        empty = Utf8FieldText(dialog, IDC_COMPILER_PATH) + "|" + FieldText(dialog, IDC_LINKER_PATH);
        Click(dialog, IDCANCEL);
    });
    EXPECT_EQ(missing, "typed");
    // MCS51 without an assembler has Korvane's own.
    EXPECT_EQ(empty, "内置 8051 汇编器|");
}

TEST_F(CompilerSetup, OkAfterChangingOnlyAPathKeepsTheToolchain)
{
    RunDialog([](HWND dialog) {
        ::SetDlgItemTextA(dialog, IDC_COMPILER_PATH, "c:\\other\\masm.exe");
        Click(dialog, IDOK);
    });
    EXPECT_TRUE(m_boxes.Texts().empty());
    EXPECT_EQ(Stored("", kTypeValueName), "masm");
    EXPECT_EQ(Stored("masm", kCompilerValueName), "c:\\other\\masm.exe");
    EXPECT_EQ(Frame().GetCompilerSettings().m_compilerType, CompilerType::Masm);
    EXPECT_EQ(Frame().GetCompilerSettings().m_strCompilerPath, "c:\\other\\masm.exe");
}

TEST_F(CompilerSetup, BrowsingFillsOneFieldAndKeepsTheOther)
{
    FileDialogAnswerer files;
    files.QueueAnswer("c:\\picked\\masm.exe");
    files.QueueAnswer("");
    std::string afterPick, afterCancel;
    RunDialog([&](HWND dialog) {
        ::SetDlgItemTextA(dialog, IDC_LINKER_PATH, "c:\\typed\\link.exe");
        Click(dialog, IDC_BROWSE_COMPILER);
        afterPick = FieldText(dialog, IDC_COMPILER_PATH) + "|" + FieldText(dialog, IDC_LINKER_PATH);
        Click(dialog, IDC_BROWSE_LINKER);
        afterCancel = FieldText(dialog, IDC_COMPILER_PATH) + "|" + FieldText(dialog, IDC_LINKER_PATH);
        Click(dialog, IDCANCEL);
    });
    EXPECT_EQ(afterPick, "c:\\picked\\masm.exe|c:\\typed\\link.exe");
    EXPECT_EQ(afterCancel, afterPick);
    EXPECT_EQ(files.Count(), 2);
    EXPECT_EQ(files.LastInitialName(), "*.exe");
    EXPECT_EQ(files.LastFilter(), "exe files (*.exe) | *.exe");
}

TEST_F(CompilerSetup, CancelChangesNothing)
{
    RunDialog([](HWND dialog) {
        Click(dialog, IDC_RADIO_TASM);
        ::SetDlgItemTextA(dialog, IDC_COMPILER_PATH, "c:\\changed.exe");
        Click(dialog, IDCANCEL);
    });
    EXPECT_EQ(Stored("", kTypeValueName), "masm");
    EXPECT_EQ(Stored("tasm", kCompilerValueName), "c:\\tasm\\tasm.exe");
    EXPECT_EQ(Frame().GetCompilerSettings().m_compilerType, CompilerType::Masm);
    EXPECT_EQ(Frame().GetCompilerSettings().m_strCompilerPath, "c:\\masm\\masm.exe");
}

TEST_F(CompilerSetup, TheEmulatorRowShowsBrowsesAndStoresTheEmulator)
{
    {
        CRegistryKey key(HKEY_LOCAL_MACHINE);
        ASSERT_TRUE(key.Open(kSettingsKeyPath));
        key.SetString(kDosEmulatorValueName, "c:\\dos\\msdos.exe");
    }
    FileDialogAnswerer files;
    files.QueueAnswer("c:\\DOSBox-0.74\\DOSBox.exe");
    std::string shown, picked;
    RunDialog([&](HWND dialog) {
        shown = FieldText(dialog, IDC_DOS_EMULATOR_PATH);
        Click(dialog, IDC_BROWSE_DOS_EMULATOR);
        picked = FieldText(dialog, IDC_DOS_EMULATOR_PATH) + "|" + FieldText(dialog, IDC_COMPILER_PATH);
        Click(dialog, IDC_RADIO_TASM);
        Click(dialog, IDOK);
    });
    EXPECT_EQ(shown, "c:\\dos\\msdos.exe");
    EXPECT_EQ(picked, "c:\\DOSBox-0.74\\DOSBox.exe|c:\\masm\\masm.exe");
    EXPECT_EQ(files.LastFilter(), std::string("程序 (*.exe)|*.exe"));
    EXPECT_TRUE(m_boxes.Texts().empty());
    EXPECT_EQ(Stored("", kDosEmulatorValueName), "c:\\DOSBox-0.74\\DOSBox.exe");
    EXPECT_EQ(Stored("", kTypeValueName), "tasm");
    EXPECT_EQ(Frame().GetCompilerSettings().m_strDosEmulatorPath, "c:\\DOSBox-0.74\\DOSBox.exe");
}

// Drive A:'s image is browsed for and kept; the lab box is one of its presets or none.
TEST_F(CompilerSetup, TheFloppyAndLabBoxRowsShowBrowseAndStore)
{
    {
        CRegistryKey key(HKEY_LOCAL_MACHINE);
        ASSERT_TRUE(key.Open(kSettingsKeyPath));
        key.SetString(kFloppyValueName, "c:\\labs\\old.img");
        key.SetString(kLabBoxValueName, "300");
    }
    FileDialogAnswerer files;
    files.QueueAnswer("c:\\labs\\boot.img");
    std::string shown;
    LRESULT box = -1;
    RunDialog([&](HWND dialog) {
        shown = FieldText(dialog, IDC_FLOPPY_IMAGE);
        const HWND combo = ::GetDlgItem(dialog, IDC_LAB_BOX);
        box = ::SendMessageW(combo, CB_GETCURSEL, 0, 0);
        EXPECT_EQ(::SendMessageW(combo, CB_GETCOUNT, 0, 0), 3) << "none and the two presets";
        Click(dialog, IDC_BROWSE_FLOPPY);
        ::SendMessageW(combo, CB_SETCURSEL, 1, 0);
        Click(dialog, IDOK);
    });
    EXPECT_EQ(shown, "c:\\labs\\old.img");
    EXPECT_EQ(box, 2);
    EXPECT_EQ(files.LastFilter(), std::string("软盘映像 (*.img;*.ima)|*.img;*.ima|所有文件 (*.*)|*.*"));
    EXPECT_EQ(Stored("", kFloppyValueName), "c:\\labs\\boot.img");
    EXPECT_EQ(Stored("", kLabBoxValueName), "288");
    EXPECT_EQ(Frame().GetCompilerSettings().m_strLabBox, "288");

    RunDialog([&](HWND dialog) {
        ::SendMessageW(::GetDlgItem(dialog, IDC_LAB_BOX), CB_SETCURSEL, 0, 0);
        ::SetDlgItemTextA(dialog, IDC_FLOPPY_IMAGE, "");
        Click(dialog, IDOK);
    });
    EXPECT_EQ(Stored("", kFloppyValueName), "<missing>");
    EXPECT_EQ(Stored("", kLabBoxValueName), "<missing>") << "none is kept as no value";
}

TEST_F(CompilerSetup, AnEmulatorOfNoKnownKindKeepsTheDialogOpen)
{
    bool open = false, focused = false;
    RunDialog([&](HWND dialog) {
        ::SetDlgItemTextA(dialog, IDC_DOS_EMULATOR_PATH, "c:\\emu\\qemu.exe");
        Click(dialog, IDC_RADIO_MCS51);
        Click(dialog, IDOK);
        open = ::IsWindow(dialog) && ::IsWindowVisible(dialog);
        focused = ::IsChild(::GetDlgItem(dialog, IDC_DOS_EMULATOR_PATH), ::GetFocus());
        // No emulator at all is fine.
        ::SetDlgItemTextA(dialog, IDC_DOS_EMULATOR_PATH, "");
        Click(dialog, IDOK);
    });
    EXPECT_TRUE(open);
    EXPECT_TRUE(focused);
    ASSERT_EQ(m_boxes.Texts().size(), 1u);
    EXPECT_EQ(m_boxes.Texts()[0], std::string("不认识这个 DOS 模拟器：c:\\emu\\qemu.exe。DOS 模拟器的文件名要以 dosbox"
                                              "（DOSBox、DOSBox-X、DOSBox Staging）或 msdos（MS-DOS Player）开头。"));
    EXPECT_EQ(Stored("", kTypeValueName), "mcs");
    EXPECT_EQ(Stored("", kDosEmulatorValueName), "");
}

// Korvane's own DOS machine is the row's first choice, shown where no emulator is set and kept
// as none.
TEST_F(CompilerSetup, TheBuiltInMachineIsTheEmulatorRowsFirstChoiceAndMeansNone)
{
    {
        CRegistryKey key(HKEY_LOCAL_MACHINE);
        ASSERT_TRUE(key.Open(kSettingsKeyPath));
        key.SetString(kDosEmulatorValueName, "c:\\dos\\msdos.exe");
    }
    std::string shown, first, chosen;
    RunDialog([&](HWND dialog) {
        const HWND combo = ::GetDlgItem(dialog, IDC_DOS_EMULATOR_PATH);
        shown = FieldText(dialog, IDC_DOS_EMULATOR_PATH);
        wchar_t item[64] = L"";
        ::SendMessageW(combo, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(item));
        first = Narrow(item);
        ::SendMessageW(combo, CB_SETCURSEL, 0, 0);
        chosen = Utf8FieldText(dialog, IDC_DOS_EMULATOR_PATH);
        Click(dialog, IDC_RADIO_MASM);
        Click(dialog, IDOK);
    });
    EXPECT_EQ(shown, "c:\\dos\\msdos.exe");
    EXPECT_EQ(first, "内置 DOS 机器");
    EXPECT_EQ(chosen, first);
    EXPECT_TRUE(m_boxes.Texts().empty());
    EXPECT_EQ(Stored("", kDosEmulatorValueName), "");

    RunDialog([&](HWND dialog) {
        shown = Utf8FieldText(dialog, IDC_DOS_EMULATOR_PATH);
        Click(dialog, IDCANCEL);
    });
    EXPECT_EQ(shown, "内置 DOS 机器");
}

// MCS51 with no assembler is Korvane's own, shown by its name and first in the compiler row,
// kept as no path; the other toolchains offer no such choice.
TEST_F(CompilerSetup, TheBuiltInAssemblerIsMcs51sFirstChoice)
{
    StorePaths("mcs", "", "");
    std::string mcs, first, masm, chosen;
    LRESULT masmItems = -1;
    RunDialog([&](HWND dialog) {
        const HWND combo = ::GetDlgItem(dialog, IDC_COMPILER_PATH);
        Click(dialog, IDC_RADIO_MASM);
        masm = FieldText(dialog, IDC_COMPILER_PATH);
        masmItems = ::SendMessageW(combo, CB_GETCOUNT, 0, 0);
        Click(dialog, IDC_RADIO_MCS51);
        mcs = Utf8FieldText(dialog, IDC_COMPILER_PATH);
        wchar_t item[64] = L"";
        ::SendMessageW(combo, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(item));
        first = Narrow(item);
        ::SetDlgItemTextA(dialog, IDC_COMPILER_PATH, "c:\\mcs\\asm51.exe");
        ::SendMessageW(combo, CB_SETCURSEL, 0, 0);
        chosen = Utf8FieldText(dialog, IDC_COMPILER_PATH);
        Click(dialog, IDOK);
    });
    EXPECT_EQ(masm, "c:\\masm\\masm.exe");
    EXPECT_EQ(masmItems, 0);
    EXPECT_EQ(mcs, "内置 8051 汇编器");
    EXPECT_EQ(first, mcs);
    EXPECT_EQ(chosen, mcs);
    EXPECT_EQ(Stored("", kTypeValueName), "mcs");
    EXPECT_EQ(Stored("mcs", kCompilerValueName), "");
    EXPECT_EQ(Frame().GetCompilerSettings().m_strCompilerPath, "");
}

// The templates show the compiler's defaults until one is changed, follow a browsed compiler
// while they are the default, come back with one button, and only a changed one is stored,
// with the debugger and the choice of no link step.
TEST_F(CompilerSetup, ArgumentsDebuggerAndTheLinkStepBelongToTheToolchain)
{
    FileDialogAnswerer files;
    files.QueueAnswer("c:\\jwasm\\jwasm.exe");
    RunDialog([&](HWND dialog) {
        EXPECT_EQ(FieldText(dialog, IDC_COMPILER_ARGS), "{file};");
        EXPECT_EQ(FieldText(dialog, IDC_LINKER_ARGS), "{name};");
        Click(dialog, IDC_BROWSE_COMPILER);
        EXPECT_EQ(FieldText(dialog, IDC_COMPILER_ARGS), "{file}");
        ::SetDlgItemTextA(dialog, IDC_COMPILER_ARGS, "-q {file}");
        Click(dialog, IDC_DEFAULT_ARGS);
        EXPECT_EQ(FieldText(dialog, IDC_COMPILER_ARGS), "{file}");
        ::SetDlgItemTextA(dialog, IDC_COMPILER_ARGS, "-mz {file}");
        ::SetDlgItemTextA(dialog, IDC_DEBUGGER_PATH, "c:\\freedos\\debug.com");
        Click(dialog, IDC_NO_LINK);
        Click(dialog, IDC_RADIO_MASM);
        EXPECT_EQ(FieldText(dialog, IDC_COMPILER_ARGS), "{file};") << "picking shows what MASM keeps";
        ::SetDlgItemTextA(dialog, IDC_COMPILER_PATH, "c:\\jwasm\\jwasm.exe");
        ::SetDlgItemTextA(dialog, IDC_COMPILER_ARGS, "-mz {file}");
        ::SetDlgItemTextA(dialog, IDC_DEBUGGER_PATH, "c:\\freedos\\debug.com");
        Click(dialog, IDC_NO_LINK);
        Click(dialog, IDOK);
    });
    EXPECT_EQ(Stored("masm", "cmpargs"), "-mz {file}");
    EXPECT_EQ(Stored("masm", "lnkargs"), "<missing>") << "the default is not stored";
    EXPECT_EQ(Stored("masm", "dbg"), "c:\\freedos\\debug.com");
    EXPECT_EQ(Stored("masm", "nolink"), "1");
    EXPECT_TRUE(Frame().GetCompilerSettings().m_bNoLink);
}

// Where no compiler is set, what this machine has is offered; one click fills the fields and
// picks the toolchain, and nothing is stored before OK.
TEST_F(CompilerSetup, ToolsFoundOnTheSearchPathAreOfferedNeverWrittenUnasked)
{
    ScratchDir dir("found tools");
    const std::string tasm = dir.Folder("TASM") + "\\TASM.EXE";
    WriteFileBytes(tasm, "MZ");
    WriteFileBytes(dir.File("TASM\\TLINK.EXE"), "MZ");
    WriteFileBytes(dir.File("TASM\\TD.EXE"), "MZ");
    wchar_t path[32768] = L"";
    ::GetEnvironmentVariableW(L"PATH", path, 32768);
    ::SetEnvironmentVariableW(L"PATH", (Widen(dir.File("TASM")) + L";" + path).c_str());
    StorePaths("tasm", "", "");
    CRegistryKey key(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(key.Open(kSettingsKeyPath));
    key.SetString(kTypeValueName, "tasm");

    RunDialog([&](HWND dialog) {
        EXPECT_TRUE(Contains(FieldText(dialog, IDC_FOUND_TOOLS), tasm)) << FieldText(dialog, IDC_FOUND_TOOLS);
        EXPECT_EQ(Stored("tasm", "cmp"), "");
        Click(dialog, IDC_USE_FOUND);
        EXPECT_EQ(FieldText(dialog, IDC_COMPILER_PATH), tasm);
        EXPECT_EQ(FieldText(dialog, IDC_LINKER_PATH), dir.File("TASM\\TLINK.EXE"));
        EXPECT_EQ(FieldText(dialog, IDC_DEBUGGER_PATH), dir.File("TASM\\TD.EXE"));
        EXPECT_TRUE(Checked(dialog, IDC_RADIO_TASM));
        Click(dialog, IDCANCEL);
    });
    EXPECT_EQ(Stored("tasm", "cmp"), "");

    // A compile without a compiler asks whether to open the settings with the one found.
    WriteFileBytes(dir.File("hello.asm"), "nop\r\n");
    ASSERT_NE(AfxGetApp()->OpenDocumentFile(dir.File("hello.asm")), nullptr);
    m_boxes.QueueAnswer(IDNO);
    m_session->Command(ID_COMPILE);
    ::SetEnvironmentVariableW(L"PATH", path);
    ASSERT_EQ(m_boxes.Texts().size(), 1u);
    EXPECT_TRUE(Contains(m_boxes.Texts()[0], tasm)) << m_boxes.Texts()[0];
    EXPECT_EQ(m_boxes.Boxes()[0].type & MB_TYPEMASK, static_cast<UINT>(MB_YESNO));
}
