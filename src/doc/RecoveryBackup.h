// The unsaved document kept where it survives the program: written within three seconds after
// an edit (and no more often), off the window's thread, removed once nothing is unsaved, left
// behind only by a run that did not end. Each run keeps its own backup and holds a named lock
// as long as it runs, so that no other run takes that backup for an orphan.
#pragma once

#include "doc/DiskWatch.h"
#include "framework/Handles.h"
#include "framework/Mailbox.h"
#include "framework/TextEncoding.h"

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct BackupContent {
    std::wstring text;
    // The document's file; empty for one never saved.
    std::string path;
    TextEncoding encoding;
    // The file as the document last knew it, for noticing a change made since.
    FileStamp disk;
};

// The backup file: a header of UTF-8 lines, then the text as UTF-16, which keeps every
// character whatever the document's encoding.
std::string EncodeBackup(const BackupContent& content);
std::optional<BackupContent> DecodeBackup(std::string_view bytes);

class CRecoveryBackup {
public:
    using Snapshot = std::function<BackupContent()>;

    // The snapshot is taken on the window's thread when the backup is due. Nothing is made
    // before a backup is first wanted: the lock, the worker and the timer's window.
    explicit CRecoveryBackup(Snapshot snapshot);
    // A run that ends in order keeps no backup.
    ~CRecoveryBackup();
    CRecoveryBackup(const CRecoveryBackup&) = delete;
    CRecoveryBackup& operator=(const CRecoveryBackup&) = delete;

    // The document changed and is unsaved: a backup is written within three seconds.
    void NoteEdit();
    // Nothing is unsaved any more: the backup goes.
    void Discard();
    // A backup another run left, restored into this run's document, becomes this run's.
    void Adopt(const std::wstring& orphan);

    // Where all runs keep their backups: %LOCALAPPDATA%\Korvane\backup.
    static std::wstring Folder();
    // The backups of runs that have ended, the newest first.
    static std::vector<std::wstring> FindOrphans();
    static std::optional<BackupContent> Read(const std::wstring& path);

    // How long after an edit the backup is written, and how often at most.
    static constexpr UINT kDelayMs = 3000;

private:
    enum class Job { None, Write, Remove };

    static void CALLBACK OnTimer(HWND wnd, UINT message, UINT_PTR id, DWORD time);
    // Takes the lock on this run's backup and starts the worker that writes it, once.
    void StartWorker();
    void WriteNow();
    void Post(Job job, std::optional<BackupContent> content);
    void Work();
    void Write(const BackupContent& content) const;

    Snapshot m_snapshot;
    std::wstring m_strName;
    std::wstring m_strPath;
    UniqueHandle m_hLock;
    // Its window carries the timer of the next backup.
    CMailbox m_timerWindow;
    bool m_bTimerSet = false;
    // A backup may be on disk: one was asked for, or adopted, since the last removal.
    bool m_bMayExist = false;

    std::mutex m_mutex;
    std::condition_variable m_wake;
    Job m_job = Job::None;
    std::optional<BackupContent> m_pending;
    bool m_bStop = false;
    UniqueHandle m_hWorker;
};
