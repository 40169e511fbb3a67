// The document template: binds the documents, their frame and their views, creates them on
// first use and re-uses the current document for every later File New and File Open. The
// frame shows one document at a time, the current one, and keeps others in tabs, each with a
// view of its own that is hidden while another is current.
#pragma once

#include "framework/CCmdTarget.h"
#include "framework/docview/ShellRegistration.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

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
    // The current document: the one the frame shows.
    CDocument* GetDocument() const { return m_pCurrent; }
    CFrameWnd* GetFrame() const;

    // Every document, in the order of their tabs.
    std::vector<CDocument*> Documents() const;
    // The document of the file (full path, any case), or nullptr.
    CDocument* FindDocument(const std::string& path) const;
    // The file in a tab of its own, made current: the tab that holds it already, or a new
    // one (nullptr: a new document). nullptr when it could not be opened (the reason has
    // been shown).
    CDocument* OpenInNewTab(const std::string* path);
    // Shows a document of the frame's and makes it the current one.
    void Activate(CDocument* document);
    // Closes a document's tab, asking to save it first; the last one becomes a new document.
    // False when the user kept it.
    bool CloseDocument(CDocument* document);
    // A document's title changed: the frame's title follows the current one's, and the tabs.
    void OnTitleChanged(const CDocument& document);

    UINT m_nIDResource;

private:
    CFrameWnd* CreateNewFrame(CDocument* document);
    // The document's view, made in the frame as its pane; nullptr when it could not be.
    CView* CreateView(CFrameWnd& frame, CDocument* document, UINT id);
    void DestroyFrameAndDocument(CFrameWnd* frame);
    // Hides the current document's view and shows the given one in its place.
    void ShowView(CDocument* document);
    // Where the document stands among the tabs; the end for one that is none of them.
    std::vector<std::unique_ptr<CDocument>>::iterator PlaceOf(const CDocument* document);
    // The frame lists the tabs again.
    void TellTabsChanged() const;

    DocumentFactory m_makeDocument;
    FrameFactory m_makeFrame;
    ViewFactory m_makeView;
    std::vector<std::unique_ptr<CDocument>> m_documents;
    CDocument* m_pCurrent = nullptr;
    std::string m_strDocStrings;
};
