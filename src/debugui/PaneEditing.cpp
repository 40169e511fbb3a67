// Edits from the panes.
#include "debugui/PaneEditing.h"


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

CPaneEditing::CPaneEditing(CDebugSession& session, std::function<bool()> canEdit, std::function<void()> changed)
    : m_session(session), m_canEdit(std::move(canEdit)), m_changed(std::move(changed))
{
}

void CPaneEditing::Attach(CPaneHost& host)
{
    if (host.Info().editsValues && host.Text())
        host.Text()->SetDoubleClickHandler([this, &host](size_t line, int column) { OnValueDoubleClick(host, line, column); });
    if (host.Memory())
        host.Memory()->View().SetDoubleClickHandler(
            [this, &host](size_t line, int column) { OnMemoryDoubleClick(host, line, column); });
    if (host.Info().breakpoints && host.Text()) {
        CPaneView& view = *host.Text();
        view.SetMargin(
            [this, &view](size_t line) {
                const std::optional<uint32_t> address = view.AddressOf(line);
                return address && m_session.HasUserBreakpoint(*address);
            },
            [this, &host](size_t line) { ToggleAddressBreakpoint(host, line); });
    }
}

// "AX=0000": the value edited in place; "NC", "CY=1": the flag toggled.
void CPaneEditing::OnValueDoubleClick(CPaneHost& host, size_t line, int column)
{
    CDebugPane* pane = m_session.Pane(host.Info().id);
    if (!m_canEdit() || !pane)
        return;
    int start = 0;
    const std::string word = WordAt(host.Text()->Line(line), column, start);
    const size_t equals = word.find('=');
    if (equals == std::string::npos || word.size() - equals - 1 == 1) {
        if (pane->ToggleFlag(word.substr(0, equals)))
            m_changed();
        return;
    }
    const std::string name = word.substr(0, equals);
    const std::string value = word.substr(equals + 1);
    const uint16_t id = host.Info().id;
    host.Text()->BeginEdit(line, start + static_cast<int>(equals) + 1, static_cast<int>(value.size()), value,
                           [this, id, name, digits = value.size()](const std::string& typed) {
                               const std::optional<uint16_t> parsed = ParseHex(typed, digits);
                               CDebugPane* edited = m_session.Pane(id);
                               if (parsed && edited && edited->EditValue(name, *parsed))
                                   m_changed();
                               else
                                   ::MessageBeep(MB_ICONEXCLAMATION);
                           });
}

// A byte's two digits, in DEBUG's d layout: the address, two blanks, three columns a byte.
void CPaneEditing::OnMemoryDoubleClick(CPaneHost& host, size_t line, int column)
{
    CPaneView& view = host.Memory()->View();
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
    view.BeginEdit(line, digits, 2, value,
                   [this, id = host.Info().id, address](const std::string& typed) { EditByte(id, address, typed); });
}

void CPaneEditing::EditByte(uint16_t pane, uint32_t address, const std::string& typed)
{
    const std::optional<uint16_t> parsed = ParseHex(typed, 2);
    CDebugPane* edited = m_session.Pane(pane);
    if (!parsed || !edited || !edited->EditByte(address, static_cast<uint8_t>(*parsed))) {
        ::MessageBeep(MB_ICONEXCLAMATION);
        return;
    }
    m_changed();
}

void CPaneEditing::ToggleAddressBreakpoint(CPaneHost& host, size_t line)
{
    const std::optional<uint32_t> address = host.Text() ? host.Text()->AddressOf(line) : std::nullopt;
    if (!address || !m_canEdit())
        return;
    const bool set = !m_session.HasUserBreakpoint(*address);
    m_session.SetAddressBreakpoint(*address, set);
    if (set)
        m_addresses.push_back(*address);
    else
        m_addresses.erase(std::remove(m_addresses.begin(), m_addresses.end(), *address), m_addresses.end());
    host.Text()->Invalidate(false);
}
