// The compiler settings dialog: pick a toolchain (which shows what it keeps), type or browse
// for the compiler, the linker and the debugger and set the arguments of the two steps, and
// choose what runs DOS programs (Korvane's own machine, or an emulator); where no compiler is
// set, what was found on this machine is offered with one button. MCS51 without an assembler
// assembles with Korvane's own, which the compiler row offers first.
#pragma once

#include "build/CompilerSettings.h"
#include "build/ToolFinder.h"
#include "framework/CDialog.h"

#include <string>

class CCompilerSetupDlg : public CDialog {
public:
    // The dialog opens with these settings' paths and templates, their toolchain checked.
    explicit CCompilerSetupDlg(const CompilerSettings& current);

    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    bool OnCommand(UINT id, UINT code, HWND control) override;
    // An emulator whose kind its name does not tell is reported, and the dialog stays.
    void OnOK() override;

    void OnRadioMasm();
    void OnRadioTasm();
    void OnRadioMcs51();
    void OnBrowseCompiler();
    void OnBrowseLinker();
    void OnBrowseDebugger();
    void OnBrowseDosEmulator();
    void OnBrowseFloppy();
    // Both argument fields back to the defaults of the compiler shown.
    void OnDefaultArguments();
    // Fills the fields with the tools found, and picks their toolchain.
    void OnUseFoundTools();

    // What the dialog ended with: the checked toolchain (None when none was) and the values
    // shown, a template that is its compiler's default kept as none.
    CompilerSettings GetSettings() const;
    CompilerType GetCompilerType() const { return m_nCompilerType; }

private:
    void PickToolchain(CompilerType type);
    void BrowseFor(std::string& path, const std::string& filter, const char* pattern = "*.exe");
    // Shows the templates' defaults where none is set.
    void ShowDefaultsWhereUnset();
    // The compiler's template, while it shows the default of the compiler before, shows the
    // default of the one now.
    void FollowCompilerDefault(const std::string& previousCompiler);
    // Looks for the toolchain's tools (any toolchain's for None) and offers what it finds.
    void OfferFoundTools(CompilerType type);
    // The emulator row's choices: the built-in machine, and an emulator found here.
    void ListEmulators();
    // The compiler row's choices: the built-in 8051 assembler for MCS51, none for the others.
    void ListCompilers();
    // The built-in assembler shows by its name for MCS51 and is kept as no compiler.
    void ExchangeCompiler(CDataExchange* pDX);
    // The toolchain the fields belong to: the one picked, else the one the dialog opened with.
    CompilerType ShownToolchain() const;
    // The built-in machine shows by its name and is kept as no emulator.
    void ExchangeEmulator(CDataExchange* pDX);
    // The lab box row: its choices, and the one shown as the preset's name (none first).
    void ListLabBoxes();
    void ExchangeLabBox(CDataExchange* pDX);

    CompilerType m_nCompilerType = CompilerType::None;
    // The toolchain of the settings the dialog opened with, whose tools it looks for first.
    CompilerType m_currentType;
    CompilerSettings m_settings;
    FoundTools m_found;
};
