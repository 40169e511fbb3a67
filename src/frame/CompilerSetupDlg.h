// The compiler settings dialog: pick a toolchain (which shows its stored paths), type or
// browse for the compiler and the linker, and for the DOS emulator.
#pragma once

#include "build/CompilerType.h"
#include "framework/CDialog.h"

#include <string>

class CCompilerSetupDlg : public CDialog {
public:
    // The dialog opens with these paths and no toolchain picked.
    CCompilerSetupDlg(const std::string& compiler, const std::string& linker, const std::string& dosEmulator);

    void DoDataExchange(CDataExchange* pDX) override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;
    // An emulator whose kind its name does not tell is reported, and the dialog stays.
    void OnOK() override;

    void OnRadioMasm();
    void OnRadioTasm();
    void OnRadioMcs51();
    void OnBrowseCompiler();
    void OnBrowseLinker();
    void OnBrowseDosEmulator();

    // What the dialog ended with: the picked toolchain (None when none was) and the paths.
    CompilerType GetCompilerType() const { return m_nCompilerType; }
    const std::string& GetCompiler() const { return m_strCompiler; }
    const std::string& GetLinker() const { return m_strLinker; }
    const std::string& GetDosEmulator() const { return m_strDosEmulator; }

private:
    void PickToolchain(CompilerType type);
    void BrowseFor(std::string& path, const std::string& filter);

    CompilerType m_nCompilerType = CompilerType::None;
    std::string m_strCompiler;
    std::string m_strLinker;
    std::string m_strDosEmulator;
};
