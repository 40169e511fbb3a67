// The source document: the program template for a new file, the file's full path for the
// build commands, the " *" title marker, and the guard against silently rewriting bytes of
// a file that the editor could not keep.
#pragma once

#include "doc/DiskWatch.h"
#include "doc/RecoveryBackup.h"
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

    // Looks whether another program changed or removed the file: an unmodified document is
    // read again (its caret staying on its line), a modified one asks first; a file gone is
    // told once, and the document then counts as modified, so that saving makes it again.
    void CheckFileOnDisk();
    // Takes a backup's text, path and encoding as an unsaved document.
    void RestoreBackup(const BackupContent& backup, const std::wstring& backupPath);

private:
    // For a file whose bytes the editor changed: asks before saving over them.
    bool ConfirmLossySave(const std::string& path) const;
    // File > Encoding: the next save writes the text in this kind of encoding.
    void OnEncoding(TextEncoding::Kind kind);

    // Reads the file again, the caret on the line it was on.
    void Reload();
    // Before a save over a change of another program's that the user chose to keep the edits
    // over: whether to go on.
    bool ConfirmOverwrite(const std::string& path) const;
    BackupContent Snapshot() const;

    std::string m_strSourcePath;
    bool m_bLossyText = false;
    CDiskWatch m_diskWatch;
    // The user kept the edits over another program's change: the next save asks first.
    bool m_bOverwriteAsks = false;
    bool m_bCheckingDisk = false;
    CRecoveryBackup m_backup{[this] { return Snapshot(); }};
};
