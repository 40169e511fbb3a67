// The toolbar's drop-down of the three toolchains: it shows the edited file's toolchain, and
// choosing another one in it tells the frame.
#pragma once

#include "build/CompilerType.h"
#include "framework/CWnd.h"

#include <functional>

class CToolchainBox : public CWnd {
public:
    bool Create(CWnd& toolbar, UINT id);
    void Show(CompilerType type);
    CompilerType Shown() const;
    void SetChoiceHandler(std::function<void(CompilerType)> handler) { m_onChoice = std::move(handler); }

    static constexpr int kWidth = 84;

protected:
    bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
    std::function<void(CompilerType)> m_onChoice;
};
