// The batch file of a build step.
#include "build/BatchFile.h"

#include "build/CommandText.h"
#include "build/ConsolePath.h"
#include "framework/Services.h"

namespace {
UniqueHandle CreateAt(const FilePath& path)
{
    if (path.empty())
        return UniqueHandle();
    return FileHandle(::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
}

bool WriteAll(HANDLE file, const std::string& bytes, DWORD& error)
{
    DWORD written = 0;
    if (::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
        written == bytes.size())
        return true;
    error = ::GetLastError();
    // A short write without an error is a volume that had no more room.
    if (error == ERROR_SUCCESS)
        error = ERROR_DISK_FULL;
    return false;
}
}

std::optional<CBatchFile> CBatchFile::Create(const Services& services, DWORD& error)
{
    const FilePath preferred(services.strBatchFilePath);
    if (UniqueHandle file = CreateAt(preferred))
        return CBatchFile(std::move(file), preferred);
    // An ordinary user on current Windows cannot write the root of C:; the temporary
    // folder serves instead.
    const FilePath temporary = TemporaryFolderPath();
    if (!temporary.empty()) {
        const FilePath fallback = temporary.Child(L"temp.bat");
        if (UniqueHandle file = CreateAt(fallback))
            return CBatchFile(std::move(file), fallback);
    }
    error = ::GetLastError();
    return std::nullopt;
}

CBatchFile::CBatchFile(CBatchFile&& other) noexcept
    : m_file(std::move(other.m_file)), m_path(std::exchange(other.m_path, FilePath())),
      m_companions(std::exchange(other.m_companions, {}))
{
}

CBatchFile& CBatchFile::operator=(CBatchFile&& other) noexcept
{
    if (this != &other) {
        Delete();
        m_file = std::move(other.m_file);
        m_path = std::exchange(other.m_path, FilePath());
        m_companions = std::exchange(other.m_companions, {});
    }
    return *this;
}

CBatchFile::~CBatchFile()
{
    Delete();
}

bool CBatchFile::WriteLine(const std::wstring& line, DWORD& error)
{
    return m_file && WriteAll(m_file.get(), ToConsoleBytes(line) + "\r\n", error);
}

bool CBatchFile::Close(DWORD& error)
{
    if (m_file && !::CloseHandle(m_file.release())) {
        error = ::GetLastError();
        return false;
    }
    return true;
}

void CBatchFile::AddCompanionFile(const FilePath& path)
{
    if (!path.empty())
        m_companions.push_back(path);
}

void CBatchFile::Keep()
{
    m_file.reset();
    m_path = FilePath();
    m_companions.clear();
}

void CBatchFile::Delete()
{
    m_file.reset();
    if (!m_path.empty())
        ::DeleteFileW(m_path.c_str());
    for (const FilePath& companion : m_companions)
        ::DeleteFileW(companion.c_str());
}

std::wstring CBatchFile::CommandLine() const
{
    return CommandLinePath(m_path);
}
