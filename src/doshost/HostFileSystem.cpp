// The host's names as DOS sees them: name mapping both ways, folder listings with DOS names,
// and the translation of Windows' errors, attributes and times.
#include "doshost/HostFileSystem.h"

#include <cwctype>

namespace dos {

namespace {

bool IsAscii(const std::wstring& text)
{
    for (wchar_t c : text)
        if (c < 0x20 || c > 0x7E)
            return false;
    return true;
}

std::string AsciiOf(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}

std::wstring UpperWide(std::wstring text)
{
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(std::towupper(c));
    return text;
}

bool IsDotEntry(const wchar_t* name) { return wcscmp(name, L".") == 0 || wcscmp(name, L"..") == 0; }

// One entry found by its exact host path.
bool FindOne(const std::wstring& path, WIN32_FIND_DATAW& entry)
{
    HANDLE find = FindFirstFileW(path.c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE)
        return false;
    FindClose(find);
    return true;
}

}

std::wstring CHostFileSystem::Widen(const std::string& bytes) const
{
    if (bytes.empty())
        return {};
    int length = MultiByteToWideChar(m_nCodePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(m_nCodePage, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), length);
    return text;
}

std::wstring CHostFileSystem::Key(const std::wstring& folder, const std::wstring& name)
{
    return UpperWide(folder + L"\\" + name);
}

bool CHostFileSystem::FindEntry(const std::wstring& hostFolder, const std::string& name, WIN32_FIND_DATAW& entry,
                                bool scan)
{
    std::wstring wide = Widen(name);
    if (wide.find_first_of(L"*?") != std::wstring::npos)
        return false;
    auto alias = m_aliasToLong.find(Key(hostFolder, wide));
    if (alias != m_aliasToLong.end())
        return FindOne(hostFolder + L"\\" + alias->second, entry);
    if (FindOne(hostFolder + L"\\" + wide, entry))
        return true;
    // A short name the volume made need not be found by its name (Wine's are not): look for
    // the entry whose DOS name it is.
    HANDLE find = scan ? FindFirstFileW((hostFolder + L"\\*").c_str(), &entry) : INVALID_HANDLE_VALUE;
    if (find == INVALID_HANDLE_VALUE)
        return false;
    std::string wanted = DosPath::Upper(name);
    bool found = false;
    do
        found = DosName(hostFolder, entry) == wanted;
    while (!found && FindNextFileW(find, &entry));
    FindClose(find);
    return found;
}

bool CHostFileSystem::FindPart(const std::wstring& hostFolder, const std::string& part, WIN32_FIND_DATAW& entry,
                               bool scan)
{
    if (FindEntry(hostFolder, part, entry, scan))
        return true;
    std::string cut = DosPath::Truncate83(part);
    return cut != part && FindEntry(hostFolder, cut, entry, scan);
}

DosError CHostFileSystem::ToHost(const DosPath::FullPath& full, std::wstring& host)
{
    host = std::wstring(1, static_cast<wchar_t>(L'A' + full.drive)) + L":";
    size_t start = 1;
    while (start < full.path.size()) {
        size_t end = full.path.find('\\', start);
        bool last = end == std::string::npos;
        std::string part = full.path.substr(start, last ? std::string::npos : end - start);
        WIN32_FIND_DATAW entry;
        std::wstring name;
        if (FindPart(host, part, entry))
            name = entry.cFileName;
        else if (last)
            name = Widen(DosPath::Truncate83(part));
        // Windows drops a name's trailing blanks and dots: one made of nothing else would be
        // the folder itself or the one above it.
        if (name.find_first_not_of(L". ") == std::wstring::npos)
            return kErrPathNotFound;
        host += L"\\" + name;
        if (last)
            break;
        start = end + 1;
    }
    if (host.size() == 2)
        host += L"\\";
    return kErrNone;
}

DosPath::FullPath CHostFileSystem::Canonical(const DosPath::FullPath& full)
{
    DosPath::FullPath canonical;
    canonical.drive = full.drive;
    std::wstring host = std::wstring(1, static_cast<wchar_t>(L'A' + full.drive)) + L":";
    bool found = true;
    size_t start = 1;
    while (start < full.path.size()) {
        size_t end = full.path.find('\\', start);
        std::string part = full.path.substr(start, end == std::string::npos ? std::string::npos : end - start);
        WIN32_FIND_DATAW entry;
        // A last name found only by scanning the folder is one whose DOS name is the name
        // given, which is its spelling anyway: no need to scan for it.
        found = found && FindPart(host, part, entry, end != std::string::npos);
        if (found) {
            canonical.path += "\\" + DosName(host, entry);
            host += L"\\" + std::wstring(entry.cFileName);
        } else {
            canonical.path += "\\" + DosPath::Upper(DosPath::Truncate83(part));
        }
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    if (canonical.path.empty())
        canonical.path = "\\";
    return canonical;
}

DosError CHostFileSystem::ToDos(const std::wstring& host, DosPath::FullPath& full)
{
    DWORD length = GetFullPathNameW(host.c_str(), 0, nullptr, nullptr);
    std::wstring path(length, L'\0');
    path.resize(GetFullPathNameW(host.c_str(), length, path.data(), nullptr));
    if (path.size() < 3 || path[1] != L':' || path[2] != L'\\' || !std::iswalpha(path[0]))
        return kErrPathNotFound;
    full.drive = static_cast<uint8_t>(std::towupper(path[0]) - L'A');
    full.path.clear();
    std::wstring folder = path.substr(0, 2);
    size_t start = 3;
    while (start < path.size()) {
        size_t end = path.find(L'\\', start);
        std::wstring part = path.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
        if (!part.empty()) {
            WIN32_FIND_DATAW entry;
            if (part.find_first_of(L"*?") != std::wstring::npos || !FindOne(folder + L"\\" + part, entry))
                return kErrPathNotFound;
            full.path += "\\" + DosName(folder, entry);
            folder += L"\\" + std::wstring(entry.cFileName);
        }
        if (end == std::wstring::npos)
            break;
        start = end + 1;
    }
    if (full.path.empty())
        full.path = "\\";
    return kErrNone;
}

std::string CHostFileSystem::DosName(const std::wstring& hostFolder, const WIN32_FIND_DATAW& entry)
{
    std::wstring name = entry.cFileName;
    if (IsDotEntry(entry.cFileName) || (IsAscii(name) && DosPath::IsValid83(AsciiOf(name))))
        return DosPath::Upper(AsciiOf(name));
    auto alias = m_longToAlias.find(Key(hostFolder, name));
    if (alias != m_longToAlias.end())
        return alias->second;
    std::wstring shortName = entry.cAlternateFileName;
    if (!shortName.empty() && IsAscii(shortName) && DosPath::IsValid83(AsciiOf(shortName)))
        return DosPath::Upper(AsciiOf(shortName));
    return MakeAlias(hostFolder, name);
}

std::string CHostFileSystem::MakeAlias(const std::wstring& hostFolder, const std::wstring& longName)
{
    auto keep = [](const std::wstring& part, size_t limit) {
        std::string kept;
        for (wchar_t c : part) {
            if (kept.size() == limit)
                break;
            if (c < 0x7F && DosPath::IsValid83(std::string(1, static_cast<char>(c))))
                kept.push_back(static_cast<char>(std::towupper(c)));
        }
        return kept;
    };
    size_t dot = longName.rfind(L'.');
    std::string base = keep(longName.substr(0, dot), 6);
    std::string ext = dot == std::wstring::npos ? "" : keep(longName.substr(dot + 1), 3);
    if (base.empty())
        base = "DOS";
    for (unsigned n = 1;; ++n) {
        std::string tail = "~" + std::to_string(n);
        std::string alias = base.substr(0, 8 - tail.size()) + tail + (ext.empty() ? "" : "." + ext);
        std::wstring wideAlias(alias.begin(), alias.end());
        bool taken = m_aliasToLong.count(Key(hostFolder, wideAlias)) != 0 ||
                     GetFileAttributesW((hostFolder + L"\\" + wideAlias).c_str()) != INVALID_FILE_ATTRIBUTES;
        if (!taken) {
            m_aliasToLong[Key(hostFolder, wideAlias)] = longName;
            m_longToAlias[Key(hostFolder, longName)] = alias;
            return alias;
        }
    }
}

DosError CHostFileSystem::List(const std::wstring& hostFolder, std::vector<DosDirEntry>& entries)
{
    entries.clear();
    std::wstring folder = hostFolder;
    if (folder.back() == L'\\')
        folder.pop_back();
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND ? kErrNone : FromWin32(error);
    }
    bool root = folder.size() <= 2;
    do {
        if (root && IsDotEntry(entry.cFileName))
            continue;
        DosDirEntry found;
        found.name = DosName(folder, entry);
        found.attributes = ToDosAttributes(entry.dwFileAttributes);
        ToDosTime(entry.ftLastWriteTime, found.date, found.time);
        found.size = entry.nFileSizeHigh ? 0xFFFFFFFF : entry.nFileSizeLow;
        entries.push_back(found);
    } while (FindNextFileW(find, &entry));
    FindClose(find);
    return kErrNone;
}

DosError CHostFileSystem::FromWin32(DWORD error)
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
        return kErrFileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_DIRECTORY:
        return kErrPathNotFound;
    case ERROR_TOO_MANY_OPEN_FILES:
        return kErrTooManyOpenFiles;
    case ERROR_ACCESS_DENIED:
    case ERROR_DIR_NOT_EMPTY:
    case ERROR_CURRENT_DIRECTORY:
        return kErrAccessDenied;
    case ERROR_INVALID_HANDLE:
        return kErrInvalidHandle;
    case ERROR_INVALID_DRIVE:
        return kErrInvalidDrive;
    case ERROR_NOT_SAME_DEVICE:
        return kErrNotSameDevice;
    case ERROR_NO_MORE_FILES:
        return kErrNoMoreFiles;
    case ERROR_WRITE_PROTECT:
        return kErrWriteProtect;
    case ERROR_NOT_READY:
        return kErrNotReady;
    case ERROR_SHARING_VIOLATION:
        return kErrSharingViolation;
    case ERROR_LOCK_VIOLATION:
        return kErrLockViolation;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return kErrFileExists;
    case ERROR_NEGATIVE_SEEK:
        return kErrSeek;
    default:
        return kErrGeneralFailure;
    }
}

uint8_t CHostFileSystem::ToDosAttributes(DWORD attributes)
{
    uint8_t dos = 0;
    if (attributes & FILE_ATTRIBUTE_READONLY)
        dos |= kAttrReadOnly;
    if (attributes & FILE_ATTRIBUTE_HIDDEN)
        dos |= kAttrHidden;
    if (attributes & FILE_ATTRIBUTE_SYSTEM)
        dos |= kAttrSystem;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        dos |= kAttrFolder;
    if (attributes & FILE_ATTRIBUTE_ARCHIVE)
        dos |= kAttrArchive;
    return dos;
}

DWORD CHostFileSystem::ToHostAttributes(uint8_t attributes)
{
    DWORD host = 0;
    if (attributes & kAttrReadOnly)
        host |= FILE_ATTRIBUTE_READONLY;
    if (attributes & kAttrHidden)
        host |= FILE_ATTRIBUTE_HIDDEN;
    if (attributes & kAttrSystem)
        host |= FILE_ATTRIBUTE_SYSTEM;
    if (attributes & kAttrArchive)
        host |= FILE_ATTRIBUTE_ARCHIVE;
    return host ? host : FILE_ATTRIBUTE_NORMAL;
}

void CHostFileSystem::ToDosTime(const FILETIME& time, uint16_t& date, uint16_t& clock)
{
    FILETIME local;
    WORD dosDate = 0x21, dosTime = 0;
    if (FileTimeToLocalFileTime(&time, &local))
        FileTimeToDosDateTime(&local, &dosDate, &dosTime);
    date = dosDate;
    clock = dosTime;
}

FILETIME CHostFileSystem::FromDosTime(uint16_t date, uint16_t clock)
{
    FILETIME local{}, utc{};
    DosDateTimeToFileTime(date, clock, &local);
    LocalFileTimeToFileTime(&local, &utc);
    return utc;
}

}  // namespace dos
