// The source document.
#include "doc/KorvaneDoc.h"

#include "doc/KorvaneView.h"
#include "framework/CArchive.h"
#include "framework/CCmdUI.h"
#include "framework/MessageBox.h"
#include "framework/Strings.h"
#include "resource.h"

namespace {
const char kTitleMarker[] = " *";
}

std::string CKorvaneDoc::ProgramTemplate()
{
    return LoadResString(IDS_PROGRAM_TEMPLATE);
}

CKorvaneView* CKorvaneDoc::GetView() const
{
    return dynamic_cast<CKorvaneView*>(GetFirstView());
}

void CKorvaneDoc::Serialize(CArchive& ar)
{
    if (CKorvaneView* view = GetView())
        view->SerializeRaw(ar);
}

bool CKorvaneDoc::IsModified()
{
    return m_bModified;
}

void CKorvaneDoc::SetModifiedFlag(bool modified)
{
    std::string title = GetTitle();
    const std::string marker = kTitleMarker;
    if (!m_bModified && modified) {
        SetTitle(title + marker);
    } else if (m_bModified && !modified && title.size() >= marker.size() &&
               title.compare(title.size() - marker.size(), marker.size(), marker) == 0) {
        SetTitle(title.substr(0, title.size() - marker.size()));
    }
    UpdateFrameCounts();
    m_bModified = modified;
    // The editor keeps the mark of the saved text in its history: undo back to it is
    // unmodified again. A change it does not hold (a new encoding) leaves it modified.
    CKorvaneView* view = GetView();
    if (view && view->GetSafeHwnd() && (view->SendMessage(EM_GETMODIFY) != 0) != modified)
        view->SendMessage(EM_SETMODIFY, modified);
}

void CKorvaneDoc::DeleteContents()
{
    if (CKorvaneView* view = GetView())
        view->SetText(std::string());
}

bool CKorvaneDoc::OnNewDocument()
{
    if (!CDocument::OnNewDocument())
        return false;
    if (CKorvaneView* view = GetView()) {
        view->SetText(ProgramTemplate());
        view->SetEncoding(TextEncoding{});
    }
    m_strSourcePath.clear();

    m_bLossyText = false;
    return true;
}

bool CKorvaneDoc::OnOpenDocument(const std::string& path)
{
    if (!CDocument::OnOpenDocument(path))
        return false;
    CKorvaneView* view = GetView();
    m_bLossyText = view && !view->IsLoadedTextIntact();
    if (m_bLossyText)
        AfxMessageBox(FormatResString(IDS_LOSSY_FILE_OPENED, {path}), MB_OK | MB_ICONEXCLAMATION);
    m_strSourcePath = path;
    return true;
}

bool CKorvaneDoc::ConfirmLossySave(const std::string& path) const
{
    return !m_bLossyText ||
           AfxMessageBox(FormatResString(IDS_LOSSY_FILE_SAVE, {path}), MB_YESNO | MB_ICONEXCLAMATION) == IDYES;
}

bool CKorvaneDoc::OnSaveDocument(const std::string& path)
{
    // Declining leaves everything as it was: document, paths and the file on disk.
    if (!ConfirmLossySave(path))
        return false;
    m_strSourcePath = path;
    if (!CDocument::OnSaveDocument(path))
        return false;
    // The file now holds exactly the editor's text; there is nothing left to lose.
    m_bLossyText = false;
    return true;
}

TextEncoding CKorvaneDoc::GetEncoding() const
{
    CKorvaneView* view = GetView();
    return view ? view->GetEncoding() : TextEncoding{};
}

void CKorvaneDoc::OnEncoding(TextEncoding::Kind kind)
{
    CKorvaneView* view = GetView();
    if (!view || view->GetEncoding().kind == kind)
        return;
    // A byte-order mark belongs to UTF-8 alone; a file changed to UTF-8 here gets none.
    view->SetEncoding(TextEncoding{kind, false});
    SetModifiedFlag(true);
}

bool CKorvaneDoc::OnCmdMsg(UINT nID, CCmdUI* pCmdUI)
{
    switch (nID) {
    case ID_ENCODING_GBK:
    case ID_ENCODING_UTF8: {
        auto kind = nID == ID_ENCODING_UTF8 ? TextEncoding::Kind::Utf8 : TextEncoding::Kind::Gbk;
        if (pCmdUI)
            pCmdUI->SetRadio(GetEncoding().kind == kind);
        else
            OnEncoding(kind);
        return true;
    }
    case ID_INDICATOR_ENCODING:
        if (pCmdUI)
            pCmdUI->SetText(LoadResString(GetEncoding().kind == TextEncoding::Kind::Utf8 ? IDS_ENCODING_UTF8
                                                                                      : IDS_ENCODING_GBK));
        return true;
    }
    return CDocument::OnCmdMsg(nID, pCmdUI);
}
