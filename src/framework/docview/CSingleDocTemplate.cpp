// The single-document template.
#include "framework/docview/CSingleDocTemplate.h"

#include "framework/AfxRes.h"
#include "framework/CWinThread.h"
#include "framework/MessageBox.h"
#include "framework/StartupTrace.h"
#include "framework/Strings.h"
#include "framework/docking/CFrameWnd.h"
#include "framework/docview/CDocument.h"
#include "framework/docview/CView.h"

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
    return m_pOnlyDoc ? m_pOnlyDoc->GetFrame() : nullptr;
}

void CSingleDocTemplate::SetDefaultTitle(CDocument* document)
{
    std::string title = GetDocString(docName);
    if (title.empty())
        title = LoadResString(AFX_IDS_UNTITLED);
    document->SetTitle(title);
}

CView* CSingleDocTemplate::CreateView(CFrameWnd& frame, CDocument* document)
{
    CView* view = m_makeView();
    if (!view->Create(&frame, AFX_IDW_PANE_FIRST)) {
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
    context.m_createView = [this, document](CFrameWnd& frame) { return CreateView(frame, document); };
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
    m_pOnlyDoc.reset();
}

CDocument* CSingleDocTemplate::OpenDocumentFile(const std::string* path)
{
    // A document whose frame was closed has no window left to show it in: start afresh.
    if (m_pOnlyDoc && !m_pOnlyDoc->GetFrame())
        m_pOnlyDoc.reset();
    CDocument* document = m_pOnlyDoc.get();
    CFrameWnd* frame = nullptr;
    bool created = false;
    if (document) {
        if (!document->SaveModified())
            return nullptr;
        frame = document->GetFrame();
    } else {
        m_pOnlyDoc = m_makeDocument();
        document = m_pOnlyDoc.get();
        document->m_pDocTemplate = this;
        created = true;
        frame = CreateNewFrame(document);
        if (!frame) {
            m_pOnlyDoc.reset();
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
