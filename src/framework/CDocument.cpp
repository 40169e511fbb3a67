// Documents: files in and out, the save prompt and the framework's file messages.
#include "framework/CDocument.h"

#include "framework/AfxRes.h"
#include "framework/CArchive.h"
#include "framework/CFrameWnd.h"
#include "framework/CView.h"
#include "framework/CWinApp.h"
#include "framework/Handles.h"
#include "framework/MessageBox.h"
#include "framework/PathName.h"
#include "framework/SafeSave.h"
#include "framework/Unicode.h"

#include "framework/Strings.h"

#include <algorithm>

UINT FileErrorMessageId(DWORD systemError, UINT fallbackId)
{
    switch (systemError) {
    case ERROR_FILE_NOT_FOUND:
        return AFX_IDP_FILE_NOT_FOUND;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
        return AFX_IDP_FILE_BAD_PATH;
    case ERROR_TOO_MANY_OPEN_FILES:
        return AFX_IDP_FILE_TOO_MANY_OPEN;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
        return AFX_IDP_FILE_ACCESS_DENIED;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    // A target that another program holds open cannot be replaced.
    case ERROR_UNABLE_TO_REMOVE_REPLACED:
    case ERROR_UNABLE_TO_MOVE_REPLACEMENT:
    case ERROR_USER_MAPPED_FILE:
        return AFX_IDP_FILE_SHARING;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return AFX_IDP_FILE_DISKFULL;
    case ERROR_CRC:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
        return AFX_IDP_FILE_HARD_IO;
    default:
        return fallbackId;
    }
}

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

bool CDocument::IsModified()
{
    return m_bModified;
}

void CDocument::SetModifiedFlag(bool modified)
{
    m_bModified = modified;
}

bool CDocument::OnNewDocument()
{
    DeleteContents();
    m_strPathName.clear();
    SetModifiedFlag(false);
    return true;
}

bool CDocument::OnOpenDocument(const std::string& path)
{
    UniqueHandle file = FileHandle(::CreateFileW(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        ReportSaveLoadError(path, 0, ::GetLastError(), AFX_IDP_FAILED_TO_OPEN_DOC);
        return false;
    }
    DeleteContents();
    SetModifiedFlag(true);
    CArchive ar(file.get(), CArchive::load);
    Serialize(ar);
    if (ar.IsFailed()) {
        DeleteContents();
        ReportSaveLoadError(path, ar.GetFailureMessage(), ar.GetSystemError(), AFX_IDP_FAILED_TO_OPEN_DOC);
        return false;
    }
    SetModifiedFlag(false);
    return true;
}

bool CDocument::OnSaveDocument(const std::string& path)
{
    // Whatever fails on the way, the file on disk stays as it was.
    CSafeSave save(path);
    if (!save.GetFile()) {
        ReportSaveLoadError(path, 0, save.GetError(), AFX_IDP_FAILED_TO_SAVE_DOC);
        return false;
    }
    const Services& services = AfxGetServices();
    CArchive ar(save.GetFile(), CArchive::store, services.nStoreFailsAfter, services.dwStoreFailure);
    Serialize(ar);
    if (ar.IsFailed()) {
        ReportSaveLoadError(path, ar.GetFailureMessage(), ar.GetSystemError(), AFX_IDP_FAILED_TO_SAVE_DOC);
        return false;
    }
    if (!save.Commit()) {
        ReportSaveLoadError(path, 0, save.GetError(), AFX_IDP_FAILED_TO_SAVE_DOC);
        return false;
    }
    SetModifiedFlag(false);
    return true;
}

void CDocument::DeleteContents() {}

void CDocument::Serialize(CArchive&) {}

void CDocument::ReportSaveLoadError(const std::string& path, UINT messageId, DWORD systemError, UINT fallbackId)
{
    if (messageId == 0)
        messageId = FileErrorMessageId(systemError, AFX_IDP_FILE_GENERIC);
    std::string text = FormatResString(messageId, {path});
    if (text.empty())
        text = LoadResString(fallbackId);
    AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
}

bool CDocument::SaveModified()
{
    if (!IsModified())
        return true;
    std::string name = m_strPathName.empty() ? m_strTitle : m_strPathName;
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
            proposed = ProposedFileName(m_strTitle, m_pDocTemplate->GetDocString(CSingleDocTemplate::filterExt));
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
    return view ? view->GetParentFrame() : nullptr;
}

void CDocument::UpdateFrameCounts()
{
    if (CFrameWnd* frame = GetFrame())
        frame->OnUpdateFrameTitle();
}

bool CDocument::OnCmdMsg(UINT nID, CCmdUI* pCmdUI)
{
    static const CommandEntry<CDocument> kCommands[] = {
        {ID_FILE_SAVE, [](CDocument& document, UINT) { document.DoFileSave(); }},
        {ID_FILE_SAVE_AS, [](CDocument& document, UINT) { document.DoSave(nullptr); }},
    };
    return RouteCommand(*this, kCommands, nID, pCmdUI);
}
