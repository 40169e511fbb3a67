// The single-document template: binds the one document, its frame and its view, creates
// them on first use and re-uses the document for every later File New and File Open.
#pragma once

#include "framework/CCmdTarget.h"
#include "framework/docview/ShellRegistration.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

class CDocument;
class CFrameWnd;
class CView;

class CSingleDocTemplate : public CCmdTarget {
public:
    using DocumentFactory = std::function<std::unique_ptr<CDocument>()>;
    // Frames and views are heap objects that delete themselves when their window ends.
    using FrameFactory = std::function<CFrameWnd*()>;
    using ViewFactory = std::function<CView*()>;

    enum DocStringIndex { windowTitle, docName, fileNewName, filterName, filterExt, regFileTypeId, regFileTypeName };

    CSingleDocTemplate(UINT resourceId, DocumentFactory makeDocument, FrameFactory makeFrame, ViewFactory makeView);
    ~CSingleDocTemplate() override;

    template <class Doc, class Frame, class View> static std::unique_ptr<CSingleDocTemplate> Make(UINT resourceId)
    {
        return std::make_unique<CSingleDocTemplate>(
            resourceId, [] { return std::unique_ptr<CDocument>(new Doc); }, [] { return new Frame; },
            [] { return new View; });
    }

    // Field n of the template string (resource resourceId): title, document name, ...
    std::string GetDocString(DocStringIndex index) const;
    // The document type the template's strings name, for the shell.
    ShellFileType GetShellFileType() const;
    // Opens the file into the one document (nullptr: File New). Returns the document, or
    // nullptr when it was cancelled or failed (the reason has been shown).
    CDocument* OpenDocumentFile(const std::string* path);
    void SetDefaultTitle(CDocument* document);
    CDocument* GetDocument() const { return m_pOnlyDoc.get(); }
    CFrameWnd* GetFrame() const;

    UINT m_nIDResource;

private:
    CFrameWnd* CreateNewFrame(CDocument* document);
    // The document's view, made in the frame as its pane; nullptr when it could not be.
    CView* CreateView(CFrameWnd& frame, CDocument* document);
    void DestroyFrameAndDocument(CFrameWnd* frame);

    DocumentFactory m_makeDocument;
    FrameFactory m_makeFrame;
    ViewFactory m_makeView;
    std::unique_ptr<CDocument> m_pOnlyDoc;
    std::string m_strDocStrings;
};
