// The toolbar's drop-down of the toolchains.
#include "frame/ToolchainBox.h"

#include "build/ToolchainChoice.h"
#include "framework/Unicode.h"

#include <iterator>

namespace {
// In the list's order.
constexpr CompilerType kToolchains[] = {CompilerType::Masm, CompilerType::Tasm, CompilerType::Mcs51};
}

bool CToolchainBox::Create(CWnd& toolbar, UINT id)
{
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | CBS_DROPDOWNLIST;
    if (!CreateEx(0, "COMBOBOX", "", style, RECT{0, 0, kWidth, 200}, toolbar.GetSafeHwnd(), id))
        return false;
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), 0);
    for (CompilerType type : kToolchains)
        SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(ToolchainDisplayName(type)).c_str()));
    return true;
}

void CToolchainBox::Show(CompilerType type)
{
    WPARAM index = static_cast<WPARAM>(-1);
    for (size_t i = 0; i < std::size(kToolchains); ++i) {
        if (kToolchains[i] == type)
            index = i;
    }
    SendMessage(CB_SETCURSEL, index, 0);
}

CompilerType CToolchainBox::Shown() const
{
    const LRESULT index = SendMessage(CB_GETCURSEL, 0, 0);
    return index >= 0 && static_cast<size_t>(index) < std::size(kToolchains) ? kToolchains[index] : CompilerType::None;
}

bool CToolchainBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM, LRESULT*)
{
    if (message != WM_COMMAND || HIWORD(wParam) != CBN_SELCHANGE)
        return false;
    if (m_onChoice)
        m_onChoice(Shown());
    return true;
}
