// A pane's line of fields "NAME=VALUE" separated by blanks, the changed values marked; the
// line goes into the pane as the object ends.
#pragma once

#include "debug/PaneText.h"

#include <string>

class CFieldLine {
public:
    CFieldLine(PaneText& pane, int line) : m_pane(pane), m_nLine(line) {}
    ~CFieldLine() { m_pane.text += m_text + "\r\n"; }
    CFieldLine(const CFieldLine&) = delete;
    CFieldLine& operator=(const CFieldLine&) = delete;

    // Words before the fields that follow ("T0:").
    void Label(const std::string& text)
    {
        if (!m_text.empty())
            m_text += ' ';
        m_text += text;
    }
    void Add(const std::string& name, const std::string& value, bool changed)
    {
        if (!m_text.empty())
            m_text += ' ';
        m_text += name + '=';
        if (changed)
            m_pane.marks.push_back({m_nLine, static_cast<int>(m_text.size()), static_cast<int>(value.size())});
        m_text += value;
    }

private:
    PaneText& m_pane;
    int m_nLine;
    std::string m_text;
};
