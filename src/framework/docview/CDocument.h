// A document: title, path, the save prompt, Save and Save As through the file dialog, the file
// read and written whole, and the framework's messages when it cannot be. What the document
// holds, and whether it is modified, is the derived document's own.
#pragma once

#include "framework/CCmdTarget.h"

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

struct FileError;
class CFrameWnd;
class CSingleDocTemplate;
class CView;

class CDocument : public CCmdTarget {
public:
    // The title as the frame and the save prompt show it.
    virtual std::string GetTitle() const { return m_strTitle; }
    void SetTitle(const std::string& title);
    const std::string& GetPathName() const { return m_strPathName; }
    // Sets the path, takes the file's name as title and adds the path to the recent files.
    void SetPathName(const std::string& path, bool addToMRU = true);

    virtual bool IsModified() const = 0;
    virtual void SetModifiedFlag(bool modified = true) = 0;

    // How an open ended: the file is the document now; it could not be opened, and the
    // document is as it was; or it was found but not read whole (too large, cut short), which
    // leaves a new document.
    enum class OpenOutcome { Opened, NotOpened, NotRead };

    // A new document: no path; the derived document gives it its contents.
    virtual bool OnNewDocument();
    // Reads the file and hands its bytes to LoadFileBytes; tells the user why it could not.
    virtual OpenOutcome OnOpenDocument(const std::string& path);
    // Writes FileBytes in the file's place (the file stays as it was when that fails, and the
    // user is told why), and then the document is unmodified.
    virtual bool OnSaveDocument(const std::string& path);

    // Asks "save changes?" for a modified document; false when the user cancels or saving fails.
    virtual bool SaveModified();
    // Saves to path, or asks for a name first when path is nullptr.
    virtual bool DoSave(const std::string* path);
    virtual bool DoFileSave();

    void AddView(CView* view);
    void RemoveView(CView* view);
    CView* GetFirstView() const { return m_viewList.empty() ? nullptr : m_viewList.front(); }
    CFrameWnd* GetFrame() const;
    // Lets the frame refresh its title (the current document's) and its tabs.
    void UpdateFrameCounts();

    bool OnCmdMsg(UINT nID, CCmdUI* pCmdUI) override;

    CSingleDocTemplate* m_pDocTemplate = nullptr;

protected:
    // The one way from the file's bytes to the document's contents, and the one way back.
    virtual void LoadFileBytes(std::string_view bytes) = 0;
    virtual std::string FileBytes() = 0;
    // The longest file the document takes, in bytes.
    virtual size_t MaxFileBytes() const = 0;

private:
    // Shows the framework's message for a failed open or save of path.
    void ReportFileError(const std::string& path, const FileError& error, UINT fallbackId) const;

    std::string m_strTitle;
    std::string m_strPathName;
    std::vector<CView*> m_viewList;
};
