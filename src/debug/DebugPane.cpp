// What a pane that takes no edit and runs no command answers, and the callback pane's edits.
#include "debug/DebugPane.h"

bool CDebugPane::EditValue(const std::string&, uint16_t)
{
    return false;
}

bool CDebugPane::ToggleFlag(const std::string&)
{
    return false;
}

bool CDebugPane::EditByte(uint32_t, uint8_t)
{
    return false;
}

bool CDebugPane::Input(const machine::DeviceInput&)
{
    return false;
}

std::string CDebugPane::Execute(const std::string&)
{
    return {};
}

std::string CDebugPane::Prompt() const
{
    return {};
}

bool CDebugPane::Quit() const
{
    return false;
}

bool CCallbackPane::EditValue(const std::string& name, uint16_t value)
{
    return m_callbacks.editValue && m_callbacks.editValue(name, value);
}

bool CCallbackPane::ToggleFlag(const std::string& name)
{
    return m_callbacks.toggleFlag && m_callbacks.toggleFlag(name);
}

bool CCallbackPane::EditByte(uint32_t address, uint8_t value)
{
    return m_callbacks.editByte && m_callbacks.editByte(address, value);
}

bool CCallbackPane::Input(const machine::DeviceInput& input)
{
    return m_callbacks.input && m_callbacks.input(input);
}
