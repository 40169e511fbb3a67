// The source document.
#include "doc/KorvaneDoc.h"

#include "doc/KorvaneView.h"
#include "framework/CArchive.h"
#include "framework/CCmdUI.h"
#include "framework/CWinApp.h"
#include "framework/MessageBox.h"
#include "framework/PathName.h"
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
    if (modified)
        m_backup.NoteEdit();
    else
        m_backup.Discard();
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
    m_diskWatch.Forget();
    m_bOverwriteAsks = false;
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
    m_diskWatch.Record(path);
    m_bOverwriteAsks = false;
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
    if (!ConfirmLossySave(path) || !ConfirmOverwrite(path))
        return false;
    m_strSourcePath = path;
    if (!CDocument::OnSaveDocument(path))
        return false;
    // The file now holds exactly the editor's text; there is nothing left to lose.
    m_bLossyText = false;
    m_diskWatch.Record(path);
    m_bOverwriteAsks = false;
    return true;
}

bool CKorvaneDoc::ConfirmOverwrite(const std::string& path) const
{
    const bool ownFile = !m_strSourcePath.empty() && IsSameFile(path, m_strSourcePath);
    if (!m_bOverwriteAsks || !ownFile || !FileStamp::Of(path).bExists)
        return true;
    return AfxMessageBox(FormatResString(IDS_FILE_CHANGED_OVERWRITE, {path}), MB_YESNO | MB_ICONEXCLAMATION) == IDYES;
}

void CKorvaneDoc::CheckFileOnDisk()
{
    // A question on the screen lets the frame be activated again meanwhile.
    if (m_bCheckingDisk)
        return;
    m_bCheckingDisk = true;
    switch (m_diskWatch.Check()) {
    case DiskChange::None:
        break;
    case DiskChange::Gone:
        AfxMessageBox(FormatResString(IDS_FILE_GONE, {m_strSourcePath}), MB_OK | MB_ICONEXCLAMATION);
        SetModifiedFlag(true);
        break;
    case DiskChange::Changed:
        if (!IsModified() ||
            AfxMessageBox(FormatResString(IDS_FILE_CHANGED_RELOAD, {m_strSourcePath}), MB_YESNO | MB_ICONEXCLAMATION) ==
                IDYES)
            Reload();
        else
            m_bOverwriteAsks = true;
        break;
    }
    m_bCheckingDisk = false;
}

void CKorvaneDoc::Reload()
{
    CKorvaneView* view = GetView();
    const LRESULT line = view ? view->SendMessage(EM_LINEFROMCHAR, static_cast<WPARAM>(-1)) : 0;
    // The edits are given up. The file is read as an open reads it, with its encoding
    // detection and its limit; one refused there leaves a new document, as a failed open does.
    const std::string path = m_strSourcePath;
    SetModifiedFlag(false);
    if (!AfxGetApp()->GetDocTemplate()->OpenDocumentFile(&path))
        return;
    if (view) {
        const LRESULT start = view->SendMessage(EM_LINEINDEX, static_cast<WPARAM>(line));
        view->SendMessage(EM_SETSEL, static_cast<WPARAM>(start), start);
        view->SendMessage(EM_SCROLLCARET);
    }
}

BackupContent CKorvaneDoc::Snapshot() const
{
    CKorvaneView* view = GetView();
    return BackupContent{view ? view->GetWideText() : std::wstring(), m_strSourcePath, GetEncoding(),
                         m_diskWatch.GetStamp()};
}

void CKorvaneDoc::RestoreBackup(const BackupContent& backup, const std::wstring& backupPath)
{
    CKorvaneView* view = GetView();
    if (!view)
        return;
    view->SetWideText(backup.text);
    view->SetEncoding(backup.encoding);
    m_strSourcePath = backup.path;
    m_bLossyText = false;
    if (backup.path.empty()) {
        m_diskWatch.Forget();
    } else {
        SetPathName(backup.path, false);
        m_diskWatch.Record(backup.path, backup.disk);
    }
    m_backup.Adopt(backupPath);
    SetModifiedFlag(true);
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
    static constexpr auto kindOf = [](UINT id) {
        return id == ID_ENCODING_UTF8 ? TextEncoding::Kind::Utf8 : TextEncoding::Kind::Gbk;
    };
    static const CommandEntry<CKorvaneDoc> kCommands[] = {
        {.id = ID_ENCODING_GBK,
         .run = [](CKorvaneDoc& doc, UINT id) { doc.OnEncoding(kindOf(id)); },
         .update = [](CKorvaneDoc& doc, UINT id, CCmdUI& ui) { ui.SetRadio(doc.GetEncoding().kind == kindOf(id)); },
         .lastId = ID_ENCODING_UTF8},
        {.id = ID_INDICATOR_ENCODING,
         .update =
             [](CKorvaneDoc& doc, UINT, CCmdUI& ui) {
                 ui.SetText(LoadResString(doc.GetEncoding().kind == TextEncoding::Kind::Utf8 ? IDS_ENCODING_UTF8
                                                                                           : IDS_ENCODING_GBK));
             }},
    };
    return RouteCommand(*this, kCommands, nID, pCmdUI) || CDocument::OnCmdMsg(nID, pCmdUI);
}
