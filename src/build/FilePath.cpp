// Paths of the build engine.
#include "build/FilePath.h"

#include "framework/Handles.h"
#include "framework/Unicode.h"

#include <windows.h>

namespace {
size_t LastSeparator(const std::wstring& path)
{
    return path.find_last_of(L"\\/");
}

bool FileTime(const std::wstring& path, FILETIME& time)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    time = data.ftLastWriteTime;
    return true;
}
}

FilePath FilePath::FromUtf8(std::string_view path)
{
    return FilePath(Widen(path));
}

std::string FilePath::Utf8() const
{
    return Narrow(m_strPath);
}

FilePath FilePath::Folder() const
{
    const size_t separator = LastSeparator(m_strPath);
    return separator == std::wstring::npos ? FilePath() : FilePath(m_strPath.substr(0, separator));
}

std::wstring FilePath::Name() const
{
    const size_t separator = LastSeparator(m_strPath);
    return separator == std::wstring::npos ? m_strPath : m_strPath.substr(separator + 1);
}

FilePath FilePath::Child(std::wstring_view name) const
{
    return FilePath(m_strPath + L"\\" + std::wstring(name));
}

FilePath FilePath::AsFolder() const
{
    return m_strPath.size() == 2 && m_strPath[1] == L':' ? FilePath(m_strPath + L"\\") : *this;
}

std::wstring FilePath::RelativeTo(const FilePath& folder) const
{
    std::wstring prefix = folder.AsFolder().Wide();
    if (!prefix.empty() && prefix.back() != L'\\')
        prefix += L'\\';
    if (m_strPath.size() <= prefix.size() ||
        ::CompareStringOrdinal(m_strPath.c_str(), static_cast<int>(prefix.size()), prefix.c_str(),
                               static_cast<int>(prefix.size()), TRUE) != CSTR_EQUAL)
        return {};
    return m_strPath.substr(prefix.size());
}

bool FilePath::IsFile() const
{
    const DWORD attributes = ::GetFileAttributesW(m_strPath.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string FilePath::ReadBytes() const
{
    UniqueHandle file = FileHandle(::CreateFileW(m_strPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                                 nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    std::string bytes;
    char buffer[65536];
    DWORD n = 0;
    while (file && ::ReadFile(file.get(), buffer, sizeof buffer, &n, nullptr) && n > 0)
        bytes.append(buffer, n);
    return bytes;
}

bool FilePath::IsNewerFileThan(const FilePath& other) const
{
    FILETIME mine{}, theirs{};
    if (!FileTime(m_strPath, mine))
        return false;
    return !FileTime(other.m_strPath, theirs) || ::CompareFileTime(&mine, &theirs) > 0;
}

FilePath TemporaryFolderPath()
{
    wchar_t folder[MAX_PATH + 1] = L"";
    const DWORD n = ::GetTempPathW(MAX_PATH + 1, folder);
    if (n == 0 || n > MAX_PATH)
        return {};
    std::wstring path(folder, n);
    if (path.back() == L'\\')
        path.pop_back();
    return FilePath(path);
}

FilePath RunningProgramFolder()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    return FilePath(path).Folder();
}
