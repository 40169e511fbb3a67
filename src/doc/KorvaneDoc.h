// The source document: the program template for a new file, the file's full path for the
// build commands, the " *" title marker, and the guard against silently rewriting bytes of
// a file that the editor could not keep.
#pragma once

#include "framework/CDocument.h"
#include "framework/TextEncoding.h"

#include <string>

class CKorvaneView;

class CKorvaneDoc : public CDocument {
public:
    void Serialize(CArchive& ar) override;
    bool IsModified() override;
    void SetModifiedFlag(bool modified = true) override;
    bool OnNewDocument() override;
    bool OnOpenDocument(const std::string& path) override;
    bool OnSaveDocument(const std::string& path) override;
    void DeleteContents() override;
    bool OnCmdMsg(UINT nID, CCmdUI* pCmdUI) override;

    CKorvaneView* GetView() const;
    // The text every new document starts with.
    static std::string ProgramTemplate();

    // The full path of the file last opened or saved (also a save that failed); empty for a
    // document that has none yet. The build commands work on this file.
    const std::string& GetSourcePath() const { return m_strSourcePath; }
    // Whether the open file holds bytes the editor could not keep, so that saving asks first.
    bool HasLossyText() const { return m_bLossyText; }

    // The encoding the document's file is saved in.
    TextEncoding GetEncoding() const;

private:
    // For a file whose bytes the editor changed: asks before saving over them.
    bool ConfirmLossySave(const std::string& path) const;
    // File > Encoding: the next save writes the text in this kind of encoding.
    void OnEncoding(TextEncoding::Kind kind);

    std::string m_strSourcePath;
    bool m_bLossyText = false;
};
