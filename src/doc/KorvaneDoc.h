// The source document: it owns the text being edited, its encoding and its file's path, the
// watch on that file and the backup of unsaved work. A new document starts with the program
// template; the title shows " *" while the text is modified; and bytes of a file that the
// editor could not keep are not rewritten silently.
#pragma once

#include "doc/DiskWatch.h"
#include "doc/RecoveryBackup.h"
#include "framework/TextEncoding.h"
#include "framework/docview/CDocument.h"
#include "text/EditableText.h"

#include <string>

class CKorvaneView;

class CKorvaneDoc : public CDocument, private ITextObserver {
public:
    // The longest file the editor takes, in bytes of its encoding; longer files are refused.
    static constexpr size_t kMaxFileBytes = 1024 * 1024 - 1;

    CKorvaneDoc();
    // The views let go of the text first.
    ~CKorvaneDoc() override;

    std::string GetTitle() const override;
    // The text's own: modified while its history stands anywhere but at the saved state.
    bool IsModified() const override;
    void SetModifiedFlag(bool modified = true) override;
    bool OnNewDocument() override;
    OpenOutcome OnOpenDocument(const std::string& path) override;
    bool OnSaveDocument(const std::string& path) override;
    bool OnCmdMsg(UINT nID, CCmdUI* pCmdUI) override;

    // The text being edited; the editor shows this one.
    CEditableText& Text() { return m_text; }
    CKorvaneView* GetView() const;
    // The text every new document starts with.
    static std::string ProgramTemplate();

    // The full path of the file last opened or saved (also a save that failed); empty for a
    // document that has none yet. The build commands work on this file.
    const std::string& GetSourcePath() const { return m_strSourcePath; }
    // Whether the open file holds bytes the editor could not keep, so that saving asks first.
    bool HasLossyText() const { return m_bLossyText; }

    // The encoding the document's file is saved in.
    const TextEncoding& GetEncoding() const { return m_encoding; }

    // Looks whether another program changed or removed the file: an unmodified document is
    // read again (its caret staying on its line), a modified one asks first; a file gone is
    // told once, and the document then counts as modified, so that saving makes it again.
    void CheckFileOnDisk();
    // Takes a backup's text, path and encoding as an unsaved document.
    void RestoreBackup(const BackupContent& backup, const std::wstring& backupPath);

protected:
    // The file's bytes become the text, in the encoding they are found in.
    void LoadFileBytes(std::string_view bytes) override;
    // The text in the document's encoding.
    std::string FileBytes() override;
    size_t MaxFileBytes() const override { return kMaxFileBytes; }

private:
    // Every change of the text may change whether it is modified.
    void OnTextChanged(const TextChange& change) override;
    // The title's marker and the backup follow the modified flag.
    void OnModifiedChanged();
    // The encoding the next save writes; the text's capacity is counted in it from now on.
    void SetEncoding(const TextEncoding& encoding);

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

    CEditableText m_text;
    TextEncoding m_encoding;
    std::string m_strSourcePath;
    bool m_bLossyText = false;
    CDiskWatch m_diskWatch;
    // The user kept the edits over another program's change: the next save asks first.
    bool m_bOverwriteAsks = false;
    bool m_bCheckingDisk = false;
    CRecoveryBackup m_backup{[this] { return Snapshot(); }};
};
