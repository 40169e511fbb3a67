// Each pane from the machine's own panes.
#include "debug/DebugPanes.h"

#include "debug/DosPanes.h"
#include "debug/Panes51.h"

using namespace mcs51;

using namespace dos;

bool CDebugPanes::IsDos() const
{
    return m_session.Loaded() && m_session.Target()->Kind() == TargetKind::Dos;
}

bool CDebugPanes::Is51() const
{
    return m_session.Loaded() && m_session.Target()->Kind() == TargetKind::Mcs51;
}

PaneText CDebugPanes::Registers() const
{
    if (IsDos())
        return CDosPanes(m_session).Registers();
    return Is51() ? CPanes51(m_session).Registers() : PaneText{};
}

PaneText CDebugPanes::Memory(const std::string& expression, int rows) const
{
    if (IsDos())
        return CDosPanes(m_session).Memory(expression, rows);
    return Is51() ? CPanes51(m_session).Memory(expression, rows) : PaneText{};
}

PaneText CDebugPanes::Stack(int rows) const
{
    if (IsDos())
        return CDosPanes(m_session).Stack(rows);
    return Is51() ? CPanes51(m_session).Stack(rows) : PaneText{};
}

PaneText CDebugPanes::Disassembly(int before, int after) const
{
    if (IsDos())
        return CDosPanes(m_session).Disassembly(before, after);
    return Is51() ? CPanes51(m_session).Disassembly(before, after) : PaneText{};
}

PaneText CDebugPanes::Screen() const
{
    return IsDos() ? CDosPanes(m_session).Screen() : PaneText{};
}

PaneText CDebugPanes::Variables() const
{
    return IsDos() ? CDosPanes(m_session).Variables() : PaneText{};
}

PaneText CDebugPanes::Serial() const
{
    return Is51() ? CPanes51(m_session).Serial() : PaneText{};
}

PaneText CDebugPanes::Ports() const
{
    return Is51() ? CPanes51(m_session).Ports() : PaneText{};
}

bool CDebugPanes::EditRegister(const std::string& name, uint16_t value) const
{
    if (IsDos())
        return CDosPanes(m_session).EditRegister(name, value);
    return Is51() && CPanes51(m_session).EditRegister(name, value);
}

bool CDebugPanes::ToggleFlag(const std::string& name) const
{
    if (IsDos())
        return CDosPanes(m_session).ToggleFlag(name);
    return Is51() && CPanes51(m_session).ToggleFlag(name);
}

void CDebugPanes::EditMemory(uint32_t address, uint8_t value) const
{
    if (IsDos())
        CDosPanes(m_session).EditMemory(address, value);
    else if (Is51())
        CPanes51(m_session).EditMemory(address, value);
}
