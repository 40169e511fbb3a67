// Backups of the unsaved document.
#include "doc/RecoveryBackup.h"

#include "framework/SafeSave.h"
#include "framework/Unicode.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {
constexpr char kSignature[] = "KORVANE BACKUP 1";
constexpr wchar_t kExtension[] = L".kvb";

std::wstring Environment(const wchar_t* name)
{
    const DWORD needed = ::GetEnvironmentVariableW(name, nullptr, 0);
    std::wstring value(needed, L'\0');
    value.resize(needed ? ::GetEnvironmentVariableW(name, value.data(), needed) : 0);
    return value;
}

// The lock a running run holds on its backup, by the backup's name.
std::wstring LockName(const std::wstring& backupName)
{
    return L"Local\\Korvane.Backup." + backupName;
}

ULONGLONG Ticks(const FILETIME& time)
{
    return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

const char* EncodingName(const TextEncoding& encoding)
{
    if (encoding.kind == TextEncoding::Kind::Gbk)
        return "gbk";
    return encoding.bom ? "utf-8-bom" : "utf-8";
}

std::optional<TextEncoding> EncodingOf(const std::string& name)
{
    for (const TextEncoding& encoding :
         {TextEncoding{TextEncoding::Kind::Gbk, false}, TextEncoding{TextEncoding::Kind::Utf8, false},
          TextEncoding{TextEncoding::Kind::Utf8, true}}) {
        if (name == EncodingName(encoding))
            return encoding;
    }
    return std::nullopt;
}

// The value of "key=value" at the start of the text, and the text after its line.
std::optional<std::string> TakeField(std::string_view& text, const char* key)
{
    const size_t end = text.find("\r\n");
    const std::string prefix = std::string(key) + "=";
    if (end == std::string_view::npos || text.substr(0, prefix.size()) != prefix)
        return std::nullopt;
    std::string value(text.substr(prefix.size(), end - prefix.size()));
    text.remove_prefix(end + 2);
    return value;
}
}

std::string EncodeBackup(const BackupContent& content)
{
    std::string bytes = std::string(kSignature) + "\r\npath=" + content.path + "\r\nencoding=" +
                        EncodingName(content.encoding) + "\r\ndisk=" + (content.disk.bExists ? "1 " : "0 ") +
                        std::to_string(Ticks(content.disk.lastWrite)) + " " + std::to_string(content.disk.nSize) +
                        "\r\n\r\n";
    const size_t header = bytes.size();
    bytes.resize(header + content.text.size() * sizeof(wchar_t));
    std::memcpy(bytes.data() + header, content.text.data(), content.text.size() * sizeof(wchar_t));
    return bytes;
}

std::optional<BackupContent> DecodeBackup(std::string_view bytes)
{
    const std::string signature = std::string(kSignature) + "\r\n";
    if (bytes.substr(0, signature.size()) != signature)
        return std::nullopt;
    bytes.remove_prefix(signature.size());
    const std::optional<std::string> path = TakeField(bytes, "path");
    const std::optional<std::string> encodingName = TakeField(bytes, "encoding");
    const std::optional<std::string> disk = TakeField(bytes, "disk");
    const std::optional<TextEncoding> encoding = encodingName ? EncodingOf(*encodingName) : std::nullopt;
    if (!path || !encoding || !disk || bytes.substr(0, 2) != "\r\n" || (bytes.size() - 2) % sizeof(wchar_t) != 0)
        return std::nullopt;
    bytes.remove_prefix(2);
    BackupContent content;
    content.path = *path;
    content.encoding = *encoding;
    unsigned long long ticks = 0, size = 0;
    int exists = 0;
    if (std::sscanf(disk->c_str(), "%d %llu %llu", &exists, &ticks, &size) == 3) {
        content.disk.bExists = exists != 0;
        content.disk.lastWrite = FILETIME{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
        content.disk.nSize = size;
    }
    content.text.resize(bytes.size() / sizeof(wchar_t));
    std::memcpy(content.text.data(), bytes.data(), bytes.size());
    return content;
}

std::wstring CRecoveryBackup::Folder()
{
    std::wstring root = Environment(L"LOCALAPPDATA");
    if (root.empty())
        root = Environment(L"USERPROFILE") + L"\\AppData\\Local";
    return root + L"\\Korvane\\backup";
}

CRecoveryBackup::CRecoveryBackup(Snapshot snapshot) : m_snapshot(std::move(snapshot))
{
    static LONG counter = 0;
    m_strName = std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(::GetTickCount64()) + L"-" +
                std::to_wstring(::InterlockedIncrement(&counter)) + kExtension;
    m_strPath = Folder() + L"\\" + m_strName;
}

CRecoveryBackup::~CRecoveryBackup()
{
    if (m_bTimerSet)
        ::KillTimer(m_timerWindow.GetSafeHwnd(), reinterpret_cast<UINT_PTR>(this));
    if (!m_hWorker)
        return;
    {
        std::lock_guard lock(m_mutex);
        m_job = Job::Remove;
        m_pending.reset();
        m_bStop = true;
    }
    m_wake.notify_one();
    ::WaitForSingleObject(m_hWorker.get(), INFINITE);
}

void CRecoveryBackup::StartWorker()
{
    if (m_hWorker)
        return;
    m_hLock.reset(::CreateMutexW(nullptr, FALSE, LockName(m_strName).c_str()));
    m_hWorker = StartThread([this] { Work(); });
}

void CRecoveryBackup::NoteEdit()
{
    if (m_bTimerSet || !m_timerWindow.Window())
        return;
    m_bTimerSet = ::SetTimer(m_timerWindow.Window(), reinterpret_cast<UINT_PTR>(this), kDelayMs, OnTimer) != 0;
}

void CRecoveryBackup::Discard()
{
    if (m_bTimerSet)
        ::KillTimer(m_timerWindow.GetSafeHwnd(), reinterpret_cast<UINT_PTR>(this));
    m_bTimerSet = false;
    if (std::exchange(m_bMayExist, false))
        Post(Job::Remove, std::nullopt);
}

void CALLBACK CRecoveryBackup::OnTimer(HWND wnd, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(wnd, id);
    auto* backup = reinterpret_cast<CRecoveryBackup*>(id);
    backup->m_bTimerSet = false;
    backup->WriteNow();
}

void CRecoveryBackup::WriteNow()
{
    m_bMayExist = true;
    Post(Job::Write, m_snapshot());
}

void CRecoveryBackup::Post(Job job, std::optional<BackupContent> content)
{
    StartWorker();
    {
        std::lock_guard lock(m_mutex);
        // Only the latest wish counts: a write not yet begun is replaced by the next one.
        m_job = job;
        m_pending = std::move(content);
    }
    m_wake.notify_one();
}

void CRecoveryBackup::Work()
{
    for (;;) {
        std::unique_lock lock(m_mutex);
        m_wake.wait(lock, [this] { return m_job != Job::None || m_bStop; });
        const Job job = std::exchange(m_job, Job::None);
        std::optional<BackupContent> content = std::exchange(m_pending, std::nullopt);
        const bool stop = m_bStop;
        lock.unlock();
        if (job == Job::Write && content)
            Write(*content);
        else if (job == Job::Remove)
            ::DeleteFileW(m_strPath.c_str());
        if (stop)
            return;
    }
}

void CRecoveryBackup::Write(const BackupContent& content) const
{
    const std::wstring folder = Folder();
    ::CreateDirectoryW(folder.substr(0, folder.find_last_of(L'\\')).c_str(), nullptr);
    ::CreateDirectoryW(folder.c_str(), nullptr);
    // Through a temporary file, so that a crash while writing leaves the last backup whole.
    CSafeSave save(Narrow(m_strPath));
    const std::string bytes = EncodeBackup(content);
    DWORD written = 0;
    if (save.GetFile() &&
        ::WriteFile(save.GetFile(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
        written == bytes.size())
        save.Commit();
}

void CRecoveryBackup::Adopt(const std::wstring& orphan)
{
    m_bMayExist = true;
    StartWorker();
    std::lock_guard lock(m_mutex);
    ::MoveFileExW(orphan.c_str(), m_strPath.c_str(), MOVEFILE_REPLACE_EXISTING);
}

std::vector<std::wstring> CRecoveryBackup::FindOrphans()
{
    struct Found {
        std::wstring path;
        ULONGLONG written;
    };
    std::vector<Found> found;
    const std::wstring folder = Folder();
    WIN32_FIND_DATAW data{};
    HANDLE search = ::FindFirstFileW((folder + L"\\*" + kExtension).c_str(), &data);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            UniqueHandle running(::OpenMutexW(SYNCHRONIZE, FALSE, LockName(data.cFileName).c_str()));
            if (!running)
                found.push_back(Found{folder + L"\\" + data.cFileName, Ticks(data.ftLastWriteTime)});
        } while (::FindNextFileW(search, &data));
        ::FindClose(search);
    }
    std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) { return a.written > b.written; });
    std::vector<std::wstring> paths;
    for (const Found& orphan : found)
        paths.push_back(orphan.path);
    return paths;
}

std::optional<BackupContent> CRecoveryBackup::Read(const std::wstring& path)
{
    UniqueHandle file = FileHandle(
        ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    std::string bytes;
    char buffer[65536];
    DWORD n = 0;
    while (file && ::ReadFile(file.get(), buffer, sizeof buffer, &n, nullptr) && n > 0)
        bytes.append(buffer, n);
    return file ? DecodeBackup(bytes) : std::nullopt;
}
