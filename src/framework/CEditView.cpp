// The edit view.
#include "framework/CEditView.h"

#include "framework/AfxRes.h"
#include "framework/CArchive.h"
#include "framework/CCmdUI.h"
#include "framework/CDocument.h"
#include "framework/CSingleDocTemplate.h"
#include "framework/CWinApp.h"
#include "framework/Handles.h"
#include "framework/MessageBox.h"

#include <commdlg.h>

#include <vector>

bool CEditView::PreCreateWindow(CREATESTRUCTA& cs)
{
    cs.lpszClass = "EDIT";
    cs.style |= ES_MULTILINE | ES_AUTOHSCROLL | ES_AUTOVSCROLL | WS_HSCROLL | WS_VSCROLL | ES_NOHIDESEL;
    return CView::PreCreateWindow(cs);
}

bool CEditView::Create(CWnd* parent, UINT id, CCreateContext* context)
{
    if (!CreateEx(WS_EX_CLIENTEDGE, "EDIT", "", WS_CHILD | WS_VISIBLE, RECT{}, parent->GetSafeHwnd(), id))
        return false;
    SendMessage(EM_SETLIMITTEXT, kMaxText, 0);
    if (context && context->m_pCurrentDoc)
        context->m_pCurrentDoc->AddView(this);
    return true;
}

void CEditView::SetText(const std::string& text)
{
    m_bSettingText = true;
    ::SetWindowTextA(m_hWnd, text.c_str());
    m_bSettingText = false;
}

void CEditView::SerializeRaw(CArchive& ar)
{
    if (ar.IsStoring()) {
        std::string text = GetText();
        ar.Write(text.data(), static_cast<DWORD>(text.size()));
        return;
    }
    ULONGLONG length = ar.GetFileLength();
    if (length > kMaxText) {
        ar.Fail(AFX_IDP_FILE_TOO_LARGE);
        return;
    }
    std::string bytes(static_cast<size_t>(length), '\0');
    if (ar.Read(bytes.data(), static_cast<DWORD>(length))) {
        SetText(bytes);
        m_bLoadedTextIntact = GetText() == bytes;
    }
}

bool CEditView::HasSelection() const
{
    DWORD start = 0, end = 0;
    SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return start != end;
}

bool CEditView::OnCmdMsg(UINT nID, CCmdUI* pCmdUI)
{
    switch (nID) {
    case ID_EDIT_UNDO:
        if (pCmdUI)
            pCmdUI->Enable(SendMessage(EM_CANUNDO) != 0);
        else
            SendMessage(EM_UNDO);
        return true;
    case ID_EDIT_CUT:
        if (pCmdUI)
            pCmdUI->Enable(HasSelection());
        else
            SendMessage(WM_CUT);
        return true;
    case ID_EDIT_COPY:
        if (pCmdUI)
            pCmdUI->Enable(HasSelection());
        else
            SendMessage(WM_COPY);
        return true;
    case ID_EDIT_PASTE:
        if (pCmdUI)
            pCmdUI->Enable(::IsClipboardFormatAvailable(CF_TEXT) != FALSE);
        else
            SendMessage(WM_PASTE);
        return true;
    case ID_FILE_PRINT_DIRECT:
        if (!pCmdUI) {
            const CWinApp::PrintTarget& target = AfxGetApp()->GetPrintTarget();
            PrintText(target.printer, target.driver, target.port);
        }
        return true;
    }
    return CView::OnCmdMsg(nID, pCmdUI);
}

bool CEditView::OnChildNotify(UINT message, WPARAM wParam, LPARAM, LRESULT*)
{
    if (message != WM_COMMAND || HIWORD(wParam) != EN_CHANGE)
        return false;
    if (!m_bSettingText && m_pDocument)
        m_pDocument->SetModifiedFlag(true);
    return true;
}

namespace {
HDC OpenPrinterDc(const std::string& printer, const std::string& driver, const std::string& port)
{
    if (!printer.empty())
        return ::CreateDCA(driver.empty() ? nullptr : driver.c_str(), printer.c_str(),
                           port.empty() ? nullptr : port.c_str(), nullptr);
    PRINTDLGA pd{};
    pd.lStructSize = sizeof pd;
    pd.Flags = PD_RETURNDEFAULT | PD_RETURNDC;
    if (!::PrintDlgA(&pd))
        return nullptr;
    if (pd.hDevMode)
        ::GlobalFree(pd.hDevMode);
    if (pd.hDevNames)
        ::GlobalFree(pd.hDevNames);
    return pd.hDC;
}

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}
}

bool CEditView::PrintText(const std::string& printer, const std::string& driver, const std::string& port)
{
    UniqueOwner<HDC, DeleteMemoryDc> dc(OpenPrinterDc(printer, driver, port));
    if (!dc) {
        AfxMessageBox(AFX_IDP_FAILED_TO_START_PRINT, MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    std::string title = m_pDocument ? m_pDocument->GetTitle() : std::string();
    DOCINFOA info{};
    info.cbSize = sizeof info;
    info.lpszDocName = title.c_str();
    if (::StartDocA(dc.get(), &info) <= 0) {
        AfxMessageBox(AFX_IDP_FAILED_TO_START_PRINT, MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    TEXTMETRICA tm{};
    ::GetTextMetricsA(dc.get(), &tm);
    int lineHeight = tm.tmHeight + tm.tmExternalLeading;
    int marginX = ::GetDeviceCaps(dc.get(), LOGPIXELSX) / 2;
    int marginY = ::GetDeviceCaps(dc.get(), LOGPIXELSY) / 2;
    int pageBottom = ::GetDeviceCaps(dc.get(), VERTRES) - marginY;
    int tabStop = tm.tmAveCharWidth * 8;
    int y = pageBottom;
    bool pageOpen = false;
    bool ok = true;
    for (const std::string& line : SplitLines(GetText())) {
        if (y + lineHeight > pageBottom) {
            if (pageOpen && ::EndPage(dc.get()) <= 0)
                ok = false;
            pageOpen = ok && ::StartPage(dc.get()) > 0;
            if (!pageOpen) {
                ok = false;
                break;
            }
            y = marginY;
        }
        ::TabbedTextOutA(dc.get(), marginX, y, line.c_str(), static_cast<int>(line.size()), 1, &tabStop, marginX);
        y += lineHeight;
    }
    if (pageOpen && ::EndPage(dc.get()) <= 0)
        ok = false;
    // A job that broke off must not be reported as printed.
    if (!ok) {
        ::AbortDoc(dc.get());
        AfxMessageBox(AFX_IDP_FAILED_TO_START_PRINT, MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    ::EndDoc(dc.get());
    return true;
}
