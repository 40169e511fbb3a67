// The document template and its tabs.
#include "framework/docview/CSingleDocTemplate.h"

#include "framework/AfxRes.h"
#include "framework/CWinThread.h"
#include "framework/MessageBox.h"
#include "framework/StartupTrace.h"
#include "framework/Strings.h"
#include "framework/docking/CFrameWnd.h"
#include "framework/docview/CDocument.h"
#include "framework/docview/CView.h"
#include "framework/Unicode.h"

#include <algorithm>

namespace {
// The id of the views of the documents in the tabs that are not current: the frame lays out
// only the pane with AFX_IDW_PANE_FIRST.
constexpr UINT kHiddenPaneId = AFX_IDW_PANE_FIRST + 1;
}

CSingleDocTemplate::CSingleDocTemplate(UINT resourceId, DocumentFactory makeDocument, FrameFactory makeFrame,
                                       ViewFactory makeView)
    : m_nIDResource(resourceId), m_makeDocument(std::move(makeDocument)), m_makeFrame(std::move(makeFrame)),
      m_makeView(std::move(makeView)), m_strDocStrings(LoadResString(resourceId))
{
}

CSingleDocTemplate::~CSingleDocTemplate() = default;

std::string CSingleDocTemplate::GetDocString(DocStringIndex index) const
{
    return SubString(m_strDocStrings, index);
}

ShellFileType CSingleDocTemplate::GetShellFileType() const
{
    return ShellFileType{GetDocString(regFileTypeId), GetDocString(regFileTypeName), GetDocString(filterExt)};
}

CFrameWnd* CSingleDocTemplate::GetFrame() const
{
    return m_pCurrent ? m_pCurrent->GetFrame() : nullptr;
}

std::vector<CDocument*> CSingleDocTemplate::Documents() const
{
    std::vector<CDocument*> documents;
    for (const std::unique_ptr<CDocument>& document : m_documents)
        documents.push_back(document.get());
    return documents;
}

CDocument* CSingleDocTemplate::FindDocument(const std::string& path) const
{
    for (const std::unique_ptr<CDocument>& document : m_documents) {
        if (!document->GetPathName().empty() && EqualsIgnoringCase(document->GetPathName(), path))
            return document.get();
    }
    return nullptr;
}

void CSingleDocTemplate::SetDefaultTitle(CDocument* document)
{
    std::string title = GetDocString(docName);
    if (title.empty())
        title = LoadResString(AFX_IDS_UNTITLED);
    document->SetTitle(title);
}

CView* CSingleDocTemplate::CreateView(CFrameWnd& frame, CDocument* document, UINT id)
{
    CView* view = m_makeView();
    if (!view->Create(&frame, id)) {
        // A view whose window exists deletes itself with it.
        if (view->GetSafeHwnd())
            view->DestroyWindow();
        else
            delete view;
        return nullptr;
    }
    document->AddView(view);
    return view;
}

CFrameWnd* CSingleDocTemplate::CreateNewFrame(CDocument* document)
{
    CCreateContext context;
    context.m_createView = [this, document](CFrameWnd& frame) { return CreateView(frame, document, AFX_IDW_PANE_FIRST); };
    CFrameWnd* frame = m_makeFrame();
    StartupTrace::Mark("frame object");
    bool loaded = frame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW, nullptr, &context);
    StartupTrace::Mark("frame created");
    if (!loaded) {
        // A frame whose window never existed did not delete itself.
        if (!frame->GetSafeHwnd())
            delete frame;
        return nullptr;
    }
    return frame;
}

void CSingleDocTemplate::DestroyFrameAndDocument(CFrameWnd* frame)
{
    if (frame)
        frame->DestroyWindow();
    m_documents.clear();
    m_pCurrent = nullptr;
}

CDocument* CSingleDocTemplate::OpenDocumentFile(const std::string* path)
{
    // Documents whose frame was closed have no window left to show them in: start afresh.
    if (m_pCurrent && !m_pCurrent->GetFrame()) {
        m_documents.clear();
        m_pCurrent = nullptr;
    }
    CDocument* document = m_pCurrent;
    CFrameWnd* frame = nullptr;
    bool created = false;
    if (document) {
        if (!document->SaveModified())
            return nullptr;
        frame = document->GetFrame();
    } else {
        m_documents.push_back(m_makeDocument());
        document = m_pCurrent = m_documents.back().get();
        document->m_pDocTemplate = this;
        created = true;
        frame = CreateNewFrame(document);
        if (!frame) {
            m_documents.clear();
            m_pCurrent = nullptr;
            AfxMessageBox(AFX_IDP_FAILED_TO_CREATE_DOC, MB_OK | MB_ICONEXCLAMATION);
            return nullptr;
        }
    }

    if (!path) {
        SetDefaultTitle(document);
        if (!document->OnNewDocument()) {
            if (created)
                DestroyFrameAndDocument(frame);
            return nullptr;
        }
    } else if (const CDocument::OpenOutcome outcome = document->OnOpenDocument(*path);
               outcome != CDocument::OpenOutcome::Opened) {
        if (created) {
            DestroyFrameAndDocument(frame);
        } else if (outcome == CDocument::OpenOutcome::NotRead) {
            // A file found but not read whole takes the document's place all the same, as a
            // new document: the user is not left editing what the file was meant to replace.
            SetDefaultTitle(document);
            document->OnNewDocument();
        }
        return nullptr;
    } else {
        document->SetPathName(*path);
    }

    CWinThread* thread = AfxGetThread();
    if (thread && !thread->GetMainWnd())
        thread->SetMainWnd(frame);
    if (CView* view = document->GetFirstView(); view && created)
        view->OnInitialUpdate();
    document->UpdateFrameCounts();
    StartupTrace::Mark("document in the frame");
    return document;
}

CDocument* CSingleDocTemplate::OpenInNewTab(const std::string* path)
{
    if (CDocument* open = path ? FindDocument(*path) : nullptr) {
        Activate(open);
        return open;
    }
    CFrameWnd* frame = GetFrame();
    if (!frame)
        return OpenDocumentFile(path);
    std::unique_ptr<CDocument> document = m_makeDocument();
    document->m_pDocTemplate = this;
    CView* view = CreateView(*frame, document.get(), kHiddenPaneId);
    if (!view) {
        AfxMessageBox(AFX_IDP_FAILED_TO_CREATE_DOC, MB_OK | MB_ICONEXCLAMATION);
        return nullptr;
    }
    view->ShowWindow(SW_HIDE);
    if (!path)
        SetDefaultTitle(document.get());
    if (path ? document->OnOpenDocument(*path) != CDocument::OpenOutcome::Opened : !document->OnNewDocument()) {
        view->DestroyWindow();
        return nullptr;
    }
    if (path)
        document->SetPathName(*path);
    view->OnInitialUpdate();
    // The new tab stands after the current one.
    const auto current = PlaceOf(m_pCurrent);
    CDocument* opened = m_documents.insert(current == m_documents.end() ? current : current + 1, std::move(document))->get();
    Activate(opened);
    return opened;
}

std::vector<std::unique_ptr<CDocument>>::iterator CSingleDocTemplate::PlaceOf(const CDocument* document)
{
    return std::find_if(m_documents.begin(), m_documents.end(),
                        [document](const std::unique_ptr<CDocument>& d) { return d.get() == document; });
}

void CSingleDocTemplate::ShowView(CDocument* document)
{
    CView* shown = document->GetFirstView();
    CView* hidden = m_pCurrent && m_pCurrent != document ? m_pCurrent->GetFirstView() : nullptr;
    CFrameWnd* frame = shown ? ParentFrameOf(*shown) : nullptr;
    if (!frame)
        return;
    const bool hadFocus = hidden && ::GetFocus() == hidden->GetSafeHwnd();
    if (hidden) {
        hidden->ShowWindow(SW_HIDE);
        ::SetWindowLongPtrW(hidden->GetSafeHwnd(), GWLP_ID, kHiddenPaneId);
    }
    ::SetWindowLongPtrW(shown->GetSafeHwnd(), GWLP_ID, AFX_IDW_PANE_FIRST);
    frame->SetActiveView(shown);
    frame->RecalcLayout();
    shown->ShowWindow(SW_SHOW);
    if (hadFocus)
        ::SetFocus(shown->GetSafeHwnd());
}

void CSingleDocTemplate::Activate(CDocument* document)
{
    if (!document || document == m_pCurrent) {
        TellTabsChanged();
        return;
    }
    ShowView(document);
    m_pCurrent = document;
    document->UpdateFrameCounts();
    TellTabsChanged();
}

bool CSingleDocTemplate::CloseDocument(CDocument* document)
{
    const auto found = PlaceOf(document);
    if (found == m_documents.end() || !document->SaveModified())
        return false;
    if (m_documents.size() == 1) {
        // The one tab stays, as a new document: the frame always shows one.
        SetDefaultTitle(document);
        document->OnNewDocument();
        document->UpdateFrameCounts();
        TellTabsChanged();
        return true;
    }
    if (document == m_pCurrent)
        Activate(found + 1 == m_documents.end() ? (found - 1)->get() : (found + 1)->get());
    std::unique_ptr<CDocument> closed = std::move(*found);
    m_documents.erase(found);
    // The view goes first, and lets go of the document's text as it goes.
    if (CView* view = closed->GetFirstView())
        view->DestroyWindow();
    closed.reset();
    TellTabsChanged();
    return true;
}

void CSingleDocTemplate::OnTitleChanged(const CDocument& document)
{
    CFrameWnd* frame = document.GetFrame();
    if (!frame)
        return;
    if (&document == m_pCurrent)
        frame->UpdateFrameTitle(document.GetTitle());
    frame->OnDocumentsChanged();
}

void CSingleDocTemplate::TellTabsChanged() const
{
    if (CFrameWnd* frame = GetFrame())
        frame->OnDocumentsChanged();
}
