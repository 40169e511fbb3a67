// The Go to line dialog.
#include "doc/GotoLineDlg.h"

#include "framework/CDataExchange.h"
#include "resource.h"

CGotoLineDlg::CGotoLineDlg(int currentLine, int lineCount)
    : CDialog(IDD_GOTO_LINE), m_nLine(currentLine), m_nLineCount(lineCount)
{
}

void CGotoLineDlg::DoDataExchange(CDataExchange* pDX)
{
    DDX_Text(pDX, IDC_GOTO_LINE, m_nLine);
    DDV_MinMaxInt(pDX, m_nLine, 1, m_nLineCount);
}
