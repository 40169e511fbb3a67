// Documents: files in and out, the save prompt and the framework's file messages.
#include "framework/docview/CDocument.h"
#include "framework/docview/CSingleDocTemplate.h"

#include "framework/AfxRes.h"
#include "framework/AppContext.h"
#include "framework/MessageBox.h"
#include "framework/PathName.h"
#include "framework/Strings.h"
#include "framework/Unicode.h"
#include "framework/docking/CFrameWnd.h"
#include "framework/docview/CView.h"
#include "framework/docview/CWinApp.h"
#include "framework/docview/DocumentFile.h"

#include <algorithm>

void CDocument::SetTitle(const std::string& title)
{
    m_strTitle = title;
    UpdateFrameCounts();
}

void CDocument::SetPathName(const std::string& path, bool addToMRU)
{
    m_strPathName = FullPathOf(path);
    SetTitle(SplitPath(m_strPathName).name);
    if (addToMRU)
        AfxGetApp()->AddToRecentFileList(m_strPathName);
}

bool CDocument::OnNewDocument()
{
    m_strPathName.clear();
    return true;
}

CDocument::OpenOutcome CDocument::OnOpenDocument(const std::string& path)
{
    const Expected<std::string, FileError> bytes = ReadDocumentFile(path, MaxFileBytes());
    if (!bytes) {
        ReportFileError(path, bytes.Error(), AFX_IDP_FAILED_TO_OPEN_DOC);
        return bytes.Error().bOpened ? OpenOutcome::NotRead : OpenOutcome::NotOpened;
    }
    LoadFileBytes(*bytes);
    return OpenOutcome::Opened;
}

bool CDocument::OnSaveDocument(const std::string& path)
{
    if (const Expected<void, FileError> written = WriteDocumentFile(path, FileBytes(), AfxGetServices()); !written) {
        ReportFileError(path, written.Error(), AFX_IDP_FAILED_TO_SAVE_DOC);
        return false;
    }
    SetModifiedFlag(false);
    return true;
}

void CDocument::ReportFileError(const std::string& path, const FileError& error, UINT fallbackId) const
{
    const UINT messageId = error.messageId ? error.messageId : FileErrorMessageId(error.systemError, AFX_IDP_FILE_GENERIC);
    std::string text = FormatResString(messageId, {path});
    if (text.empty())
        text = LoadResString(fallbackId);
    AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
}

bool CDocument::SaveModified()
{
    if (!IsModified())
        return true;
    std::string name = m_strPathName.empty() ? GetTitle() : m_strPathName;
    if (name.empty())
        name = LoadResString(AFX_IDS_UNTITLED);
    switch (AfxMessageBox(FormatResString(AFX_IDP_ASK_TO_SAVE, {name}), MB_YESNOCANCEL | MB_ICONEXCLAMATION)) {
    case IDYES:
        return DoFileSave();
    case IDNO:
        return true;
    default:
        return false;
    }
}

// The name proposed for a document never saved: its title up to the first character that
// cannot start a good file name, plus the template's extension.
static std::string ProposedFileName(const std::string& title, const std::string& extension)
{
    std::string name = title;
    size_t cut = name.find_first_of(" #%;/\\");
    if (cut != std::string::npos)
        name.resize(cut);
    return name + extension;
}

bool CDocument::DoSave(const std::string* path)
{
    std::string newName;
    if (path) {
        newName = *path;
    } else {
        std::string proposed = m_strPathName;
        if (proposed.empty() && m_pDocTemplate)
            proposed = ProposedFileName(GetTitle(), m_pDocTemplate->GetDocString(CSingleDocTemplate::filterExt));
        if (!AfxGetApp()->DoPromptFileName(proposed, AFX_IDS_SAVEFILE, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                                           false))
            return false;
        newName = proposed;
    }
    if (!OnSaveDocument(newName))
        return false;
    SetPathName(newName);
    return true;
}

bool CDocument::DoFileSave()
{
    DWORD attributes =
        m_strPathName.empty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesW(Widen(m_strPathName).c_str());
    if (m_strPathName.empty() || (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)))
        return DoSave(nullptr);
    return DoSave(&m_strPathName);
}

void CDocument::AddView(CView* view)
{
    m_viewList.push_back(view);
    view->m_pDocument = this;
}

void CDocument::RemoveView(CView* view)
{
    m_viewList.erase(std::remove(m_viewList.begin(), m_viewList.end(), view), m_viewList.end());
    view->m_pDocument = nullptr;
}

CFrameWnd* CDocument::GetFrame() const
{
    CView* view = GetFirstView();
    return view ? ParentFrameOf(*view) : nullptr;
}

void CDocument::UpdateFrameCounts()
{
    if (m_pDocTemplate)
        m_pDocTemplate->OnTitleChanged(*this);
    else if (CFrameWnd* frame = GetFrame())
        frame->UpdateFrameTitle(GetTitle());
}

bool CDocument::OnCmdMsg(UINT nID, CCmdUI* pCmdUI)
{
    static const CommandEntry<CDocument> kCommands[] = {
        {ID_FILE_SAVE, [](CDocument& document, UINT) { document.DoFileSave(); }},
        {ID_FILE_SAVE_AS, [](CDocument& document, UINT) { document.DoSave(nullptr); }},
    };
    return RouteCommand(*this, kCommands, nID, pCmdUI);
}
