// The source document: the program template for a new file, the file's full path for the
// build commands, the frame's record of the current file, the " *" title marker, and the
// guard against silently rewriting bytes of a file that the editor could not keep.
#pragma once

#include "framework/CDocument.h"

#include <string>

class CKorvaneView;
class CMainFrame;

class CKorvaneDoc : public CDocument {
public:
    void Serialize(CArchive& ar) override;
    bool IsModified() override;
    void SetModifiedFlag(bool modified = true) override;
    bool OnNewDocument() override;
    bool OnOpenDocument(const std::string& path) override;
    bool OnSaveDocument(const std::string& path) override;
    void DeleteContents() override;

    CKorvaneView* GetView() const;
    // The text every new document starts with.
    static std::string ProgramTemplate();

    std::string m_strSourcePath;
    // The file was opened with bytes the editor could not keep; saving asks first.
    bool m_bLossyText = false;

private:
    CMainFrame* GetMainFrame() const;
    // Keeps the frame's name and directory in step with a path (split at its last backslash).
    void PublishSourcePath(const std::string& path);
    // For a file whose bytes the editor changed: asks before saving over them.
    bool ConfirmLossySave(const std::string& path) const;
};
