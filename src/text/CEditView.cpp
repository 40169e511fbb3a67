// The edit view.
#include "text/CEditView.h"

#include "framework/AfxRes.h"
#include "framework/CCmdUI.h"
#include "framework/Handles.h"
#include "framework/MessageBox.h"
#include "framework/Unicode.h"
#include "framework/docview/CDocument.h"
#include "framework/docview/CWinApp.h"

#include <commdlg.h>

bool CEditView::PreCreateWindow(CREATESTRUCTW& cs)
{
    CTextControl::RegisterWindowClass();
    cs.lpszClass = CTextControl::kClassName;
    cs.style |= ES_MULTILINE | ES_AUTOHSCROLL | ES_AUTOVSCROLL | WS_HSCROLL | WS_VSCROLL | ES_NOHIDESEL;
    return CView::PreCreateWindow(cs);
}

bool CEditView::Create(CWnd* parent, UINT id)
{
    if (!CreateEx(WS_EX_CLIENTEDGE, "KorvaneText", "", WS_CHILD | WS_VISIBLE, RECT{}, parent->GetSafeHwnd(), id))
        return false;
    m_pControl = CTextControl::FromHandle(m_hWnd);
    return m_pControl != nullptr;
}

bool CEditView::OnCmdMsg(UINT nID, CCmdUI* pCmdUI)
{
    auto hasSelection = [](const CEditView& view, UINT) { return view.HasSelection(); };
    static const CommandEntry<CEditView> kCommands[] = {
        {ID_EDIT_UNDO, [](CEditView& view, UINT) { view.SendMessage(EM_UNDO); },
         [](const CEditView& view, UINT) { return view.SendMessage(EM_CANUNDO) != 0; }},
        {ID_EDIT_REDO, [](CEditView& view, UINT) { view.m_pControl->Redo(); },
         [](const CEditView& view, UINT) { return view.m_pControl->CanRedo(); }},
        {ID_EDIT_CUT, [](CEditView& view, UINT) { view.SendMessage(WM_CUT); }, hasSelection},
        {ID_EDIT_COPY, [](CEditView& view, UINT) { view.SendMessage(WM_COPY); }, hasSelection},
        {ID_EDIT_PASTE, [](CEditView& view, UINT) { view.SendMessage(WM_PASTE); },
         [](const CEditView&, UINT) { return ::IsClipboardFormatAvailable(CF_UNICODETEXT) != FALSE; }},
        {ID_EDIT_SELECT_ALL, [](CEditView& view, UINT) { view.SendMessage(EM_SETSEL, 0, -1); },
         [](const CEditView& view, UINT) { return view.m_pControl->Buffer().Length() > 0; }},
        // The pane shows 改写 only while enabled.
        {.id = ID_INDICATOR_OVR, .enabled = [](const CEditView& view, UINT) { return view.m_pControl->IsOverwrite(); }},
        {ID_FILE_PRINT_DIRECT,
         [](CEditView& view, UINT) {
             const CWinApp::PrintTarget& target = AfxGetApp()->GetPrintTarget();
             view.PrintText(target.printer, target.driver, target.port);
         }},
    };
    return RouteCommand(*this, kCommands, nID, pCmdUI) || CView::OnCmdMsg(nID, pCmdUI);
}

namespace {
HDC OpenPrinterDc(const std::string& printer, const std::string& driver, const std::string& port)
{
    if (!printer.empty()) {
        std::wstring widePrinter = Widen(printer), wideDriver = Widen(driver), widePort = Widen(port);
        return ::CreateDCW(driver.empty() ? nullptr : wideDriver.c_str(), widePrinter.c_str(),
                           port.empty() ? nullptr : widePort.c_str(), nullptr);
    }
    PRINTDLGW pd{};
    pd.lStructSize = sizeof pd;
    pd.Flags = PD_RETURNDEFAULT | PD_RETURNDC;
    if (!::PrintDlgW(&pd))
        return nullptr;
    if (pd.hDevMode)
        ::GlobalFree(pd.hDevMode);
    if (pd.hDevNames)
        ::GlobalFree(pd.hDevNames);
    return pd.hDC;
}
}

bool CEditView::PrintText(const std::string& printer, const std::string& driver, const std::string& port)
{
    UniqueOwner<HDC, DeleteMemoryDc> dc(OpenPrinterDc(printer, driver, port));
    if (!dc) {
        AfxMessageBox(AFX_IDP_FAILED_TO_START_PRINT, MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    std::wstring title = Widen(m_pDocument ? m_pDocument->GetTitle() : std::string());
    DOCINFOW info{};
    info.cbSize = sizeof info;
    info.lpszDocName = title.c_str();
    if (::StartDocW(dc.get(), &info) <= 0) {
        AfxMessageBox(AFX_IDP_FAILED_TO_START_PRINT, MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    TEXTMETRICW tm{};
    ::GetTextMetricsW(dc.get(), &tm);
    int lineHeight = tm.tmHeight + tm.tmExternalLeading;
    int marginX = ::GetDeviceCaps(dc.get(), LOGPIXELSX) / 2;
    int marginY = ::GetDeviceCaps(dc.get(), LOGPIXELSY) / 2;
    int pageBottom = ::GetDeviceCaps(dc.get(), VERTRES) - marginY;
    int tabStop = tm.tmAveCharWidth * 8;
    int y = pageBottom;
    bool pageOpen = false;
    bool ok = true;
    const CTextBuffer& text = m_pControl->Buffer();
    for (size_t index = 0; index < text.LineCount(); ++index) {
        const std::wstring line = text.LineText(index);
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
        ::TabbedTextOutW(dc.get(), marginX, y, line.c_str(), static_cast<int>(line.size()), 1, &tabStop, marginX);
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
