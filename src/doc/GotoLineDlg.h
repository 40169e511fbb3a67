// Edit > Go to line: one number box, checked against the document's lines.
#pragma once

#include "framework/CDialog.h"

class CGotoLineDlg : public CDialog {
public:
    // The box starts with the current line; OK accepts 1 to lineCount.
    CGotoLineDlg(int currentLine, int lineCount);

    void DoDataExchange(CDataExchange* pDX) override;
    // The 1-based line chosen.
    int GetLine() const { return m_nLine; }

private:
    int m_nLine;
    int m_nLineCount;
};
