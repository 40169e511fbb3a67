// A document: title, path, modified flag, the save prompt, Save and Save As through the
// file dialog, and the framework's messages when a file cannot be read or written.
#pragma once

#include "framework/CCmdTarget.h"

#include <windows.h>

#include <string>
#include <vector>

class CArchive;
class CFrameWnd;
class CSingleDocTemplate;
class CView;

class CDocument : public CCmdTarget {
public:
    const std::string& GetTitle() const { return m_strTitle; }
    virtual void SetTitle(const std::string& title);
    const std::string& GetPathName() const { return m_strPathName; }
    // Sets the path, takes the file's name as title and adds the path to the recent files.
    virtual void SetPathName(const std::string& path, bool addToMRU = true);

    virtual bool IsModified();
    virtual void SetModifiedFlag(bool modified = true);

    virtual bool OnNewDocument();
    virtual bool OnOpenDocument(const std::string& path);
    virtual bool OnSaveDocument(const std::string& path);
    virtual void DeleteContents();
    virtual void Serialize(CArchive& ar);

    // Asks "save changes?" for a modified document; false when the user cancels or saving fails.
    virtual bool SaveModified();
    // Saves to path, or asks for a name first when path is nullptr.
    virtual bool DoSave(const std::string* path);
    virtual bool DoFileSave();

    void AddView(CView* view);
    void RemoveView(CView* view);
    CView* GetFirstView() const { return m_viewList.empty() ? nullptr : m_viewList.front(); }
    CFrameWnd* GetFrame() const;
    // Lets the frame refresh its title from the document's.
    void UpdateFrameCounts();

    bool OnCmdMsg(UINT nID, CCmdUI* pCmdUI) override;

    CSingleDocTemplate* m_pDocTemplate = nullptr;

protected:
    // Shows the framework's message for a failed open or save of path.
    void ReportSaveLoadError(const std::string& path, UINT messageId, DWORD systemError, UINT fallbackId);

    std::string m_strTitle;
    std::string m_strPathName;
    bool m_bModified = false;
    std::vector<CView*> m_viewList;
};

// The framework's message id for a file error of the system.
UINT FileErrorMessageId(DWORD systemError, UINT fallbackId);
