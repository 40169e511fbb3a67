// The compiler settings dialog: pick a toolchain (which shows its stored paths), type or
// browse for the compiler and the linker.
#pragma once

#include "build/CompilerType.h"
#include "framework/CDialog.h"

#include <string>

class CCompilerSetupDlg : public CDialog {
public:
    CCompilerSetupDlg();

    void DoDataExchange(CDataExchange* pDX) override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;

    void OnRadioMasm();
    void OnRadioTasm();
    void OnRadioMcs51();
    void OnBrowseCompiler();
    void OnBrowseLinker();

    CompilerType m_nCompilerType = CompilerType::None;
    std::string m_strCompiler;
    std::string m_strLinker;

private:
    void PickToolchain(CompilerType type);
    void BrowseFor(std::string& path);
};
