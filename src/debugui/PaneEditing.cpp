// Edits from the panes.
#include "debugui/PaneEditing.h"

#include "debug/DebugPanes.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace {
// A value typed in hexadecimal, as DEBUG takes it: at most the digits the field has.
std::optional<uint16_t> ParseHex(const std::string& typed, size_t digits)
{
    std::string text;
    for (const char c : typed)
        if (!std::isspace(static_cast<unsigned char>(c)))
            text += c;
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (text.empty() || text.size() > digits || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return static_cast<uint16_t>(value);
}

// The blank-free word of the line around a column, and where it starts.
std::string WordAt(std::wstring_view line, int column, int& start)
{
    if (column < 0 || static_cast<size_t>(column) >= line.size() || line[static_cast<size_t>(column)] == L' ')
        return {};
    size_t first = static_cast<size_t>(column);
    while (first > 0 && line[first - 1] != L' ')
        --first;
    size_t last = static_cast<size_t>(column);
    while (last < line.size() && line[last] != L' ')
        ++last;
    start = static_cast<int>(first);
    std::string word;
    for (size_t i = first; i < last; ++i)
        word += static_cast<char>(line[i] < 0x80 ? line[i] : '?');
    return word;
}
}

CPaneEditing::CPaneEditing(CDebugSession& session, CDebugPanels& panels, std::function<bool()> canEdit,
                           std::function<void()> changed)
    : m_session(session), m_panels(panels), m_canEdit(std::move(canEdit)), m_changed(std::move(changed))
{
}

void CPaneEditing::Attach()
{
    m_panels.Registers().SetDoubleClickHandler([this](size_t line, int column) { OnRegisterDoubleClick(line, column); });
    m_panels.Memory().View().SetDoubleClickHandler([this](size_t line, int column) { OnMemoryDoubleClick(line, column); });
    CPaneView& disassembly = m_panels.Disassembly();
    disassembly.SetMargin(
        [this, &disassembly](size_t line) {
            const std::optional<uint32_t> address = disassembly.AddressOf(line);
            return address && m_session.HasUserBreakpoint(*address);
        },
        [this](size_t line) { ToggleAddressBreakpoint(line); });
}

// "AX=0000": the value edited in place; "NC", "CY=1": the flag toggled.
void CPaneEditing::OnRegisterDoubleClick(size_t line, int column)
{
    if (!m_canEdit())
        return;
    int start = 0;
    const std::string word = WordAt(m_panels.Registers().Line(line), column, start);
    const size_t equals = word.find('=');
    const CDebugPanes panes(m_session);
    if (equals == std::string::npos || word.size() - equals - 1 == 1) {
        if (panes.ToggleFlag(word.substr(0, equals)))
            m_changed();
        return;
    }
    const std::string name = word.substr(0, equals);
    const std::string value = word.substr(equals + 1);
    m_panels.Registers().BeginEdit(line, start + static_cast<int>(equals) + 1, static_cast<int>(value.size()), value,
                                   [this, name, digits = value.size()](const std::string& typed) {
                                       const std::optional<uint16_t> parsed = ParseHex(typed, digits);
                                       if (parsed && CDebugPanes(m_session).EditRegister(name, *parsed))
                                           m_changed();
                                       else
                                           ::MessageBeep(MB_ICONEXCLAMATION);
                                   });
}

// A byte's two digits, in DEBUG's d layout: the address, two blanks, three columns a byte.
void CPaneEditing::OnMemoryDoubleClick(size_t line, int column)
{
    CPaneView& view = m_panels.Memory().View();
    const std::wstring_view text = view.Line(line);
    const std::optional<uint32_t> lineAddress = view.AddressOf(line);
    const size_t addressWidth = text.find(L' ');
    if (!m_canEdit() || !lineAddress || addressWidth == std::wstring_view::npos)
        return;
    const int first = static_cast<int>(addressWidth) + 2;
    const int index = (column - first + 1) / 3;
    if (column < first - 1 || index < 0 || index > 15)
        return;
    const int digits = first + 3 * index;
    if (static_cast<size_t>(digits + 2) > text.size() || text[static_cast<size_t>(digits)] == L' ')
        return;
    const std::string value{static_cast<char>(text[static_cast<size_t>(digits)]),
                            static_cast<char>(text[static_cast<size_t>(digits) + 1])};
    const uint32_t address = *lineAddress + static_cast<uint32_t>(index);
    view.BeginEdit(line, digits, 2, value, [this, address](const std::string& typed) { EditByte(address, typed); });
}

void CPaneEditing::EditByte(uint32_t address, const std::string& typed)
{
    const std::optional<uint16_t> parsed = ParseHex(typed, 2);
    if (!parsed) {
        ::MessageBeep(MB_ICONEXCLAMATION);
        return;
    }
    CDebugPanes(m_session).EditMemory(address, static_cast<uint8_t>(*parsed));
    m_changed();
}

void CPaneEditing::ToggleAddressBreakpoint(size_t line)
{
    const std::optional<uint32_t> address = m_panels.Disassembly().AddressOf(line);
    if (!address || !m_canEdit())
        return;
    const bool set = !m_session.HasUserBreakpoint(*address);
    m_session.SetAddressBreakpoint(*address, set);
    if (set)
        m_addresses.push_back(*address);
    else
        m_addresses.erase(std::remove(m_addresses.begin(), m_addresses.end(), *address), m_addresses.end());
    m_panels.Disassembly().Invalidate(false);
}
