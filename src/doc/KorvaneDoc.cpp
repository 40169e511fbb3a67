// The source document.
#include "doc/KorvaneDoc.h"

#include "doc/KorvaneView.h"
#include "framework/CCmdUI.h"
#include "framework/MessageBox.h"
#include "framework/PathName.h"
#include "framework/Strings.h"
#include "framework/Unicode.h"
#include "framework/docview/CSingleDocTemplate.h"
#include "resource.h"

#include <algorithm>

namespace {
const char kTitleMarker[] = " *";
}

CKorvaneDoc::CKorvaneDoc()
{
    m_text.AddObserver(*this);
    SetEncoding(TextEncoding{});
}

CKorvaneDoc::~CKorvaneDoc()
{
    if (CKorvaneView* view = GetView())
        view->ShowText(nullptr);
    m_text.RemoveObserver(*this);
}

std::string CKorvaneDoc::ProgramTemplate()
{
    return LoadResString(IDS_PROGRAM_TEMPLATE);
}

CKorvaneView* CKorvaneDoc::GetView() const
{
    return dynamic_cast<CKorvaneView*>(GetFirstView());
}

std::string CKorvaneDoc::GetTitle() const
{
    const std::string title = CDocument::GetTitle();
    return IsModified() ? title + kTitleMarker : title;
}

bool CKorvaneDoc::IsModified() const
{
    return m_text.IsModified();
}

void CKorvaneDoc::SetModifiedFlag(bool modified)
{
    m_text.SetModified(modified);
    OnModifiedChanged();
}

void CKorvaneDoc::OnTextChanged(const TextChange&)
{
    OnModifiedChanged();
}

void CKorvaneDoc::OnModifiedChanged()
{
    UpdateFrameCounts();
    if (IsModified())
        m_backup.NoteEdit();
    else
        m_backup.Discard();
}

void CKorvaneDoc::SetEncoding(const TextEncoding& encoding)
{
    m_encoding = encoding;
    // The capacity counts the bytes the file will take, in its own encoding, mark included;
    // every character takes a byte at least, so the limit in characters never refuses what fits.
    const size_t capacity = kMaxFileBytes - EncodeText(L"", encoding).size();
    m_text.SetUnitLimit(capacity);
    m_text.SetByteLimit(capacity, CodePageOf(encoding));
}

bool CKorvaneDoc::OnNewDocument()
{
    if (!CDocument::OnNewDocument())
        return false;
    SetEncoding(TextEncoding{});
    m_text.SetText(Widen(ProgramTemplate()));
    m_strSourcePath.clear();
    m_diskWatch.Forget();
    m_bOverwriteAsks = false;
    m_bLossyText = false;
    return true;
}

void CKorvaneDoc::LoadFileBytes(std::string_view bytes)
{
    const TextEncoding encoding = DetectEncoding(bytes);
    std::optional<std::wstring> text = DecodeExactly(bytes, encoding);
    m_bLossyText = false;
    if (!text) {
        text = DecodeText(bytes, encoding);
        // A zero byte ends the text, as it ends the text of the edit-control messages.
        text->resize(std::min(text->size(), text->find(L'\0')));
        // What the editor holds must give the same bytes back, or saving would change them.
        m_bLossyText = EncodeText(*text, encoding) != bytes;
    }
    SetEncoding(encoding);
    m_text.SetText(*text);
}

std::string CKorvaneDoc::FileBytes()
{
    return EncodeText(m_text.Contiguous(), m_encoding);
}

CDocument::OpenOutcome CKorvaneDoc::OnOpenDocument(const std::string& path)
{
    const OpenOutcome outcome = CDocument::OnOpenDocument(path);
    if (outcome != OpenOutcome::Opened)
        return outcome;
    if (m_bLossyText)
        AfxMessageBox(FormatResString(IDS_LOSSY_FILE_OPENED, {path}), MB_OK | MB_ICONEXCLAMATION);
    m_strSourcePath = path;
    m_diskWatch.Record(path);
    m_bOverwriteAsks = false;
    return outcome;
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
    const size_t line = m_text.Buffer().LineFromPosition(m_text.Selection().Start());
    // The edits are given up. The file is read as an open reads it, with its encoding
    // detection and its limit; one refused there leaves a new document, as a failed open does.
    const std::string path = m_strSourcePath;
    SetModifiedFlag(false);
    if (!m_pDocTemplate || !m_pDocTemplate->OpenDocumentFile(&path))
        return;
    if (CKorvaneView* view = GetView())
        view->GoToLine(static_cast<int>(line));
}

BackupContent CKorvaneDoc::Snapshot() const
{
    return BackupContent{m_text.Copy(), m_strSourcePath, m_encoding, m_diskWatch.GetStamp()};
}

void CKorvaneDoc::RestoreBackup(const BackupContent& backup, const std::wstring& backupPath)
{
    SetEncoding(backup.encoding);
    m_text.SetText(backup.text);
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

void CKorvaneDoc::OnEncoding(TextEncoding::Kind kind)
{
    if (m_encoding.kind == kind)
        return;
    // A byte-order mark belongs to UTF-8 alone; a file changed to UTF-8 here gets none.
    SetEncoding(TextEncoding{kind, false});
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
