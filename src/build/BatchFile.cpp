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

// The system's reason of a failed write; a short write without one is a volume that had no
// more room.
DWORD WriteAll(HANDLE file, const std::string& bytes)
{
    DWORD written = 0;
    ::SetLastError(ERROR_SUCCESS);
    if (::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
        written == bytes.size())
        return ERROR_SUCCESS;
    const DWORD error = ::GetLastError();
    return error == ERROR_SUCCESS ? ERROR_DISK_FULL : error;
}
}

Result<CBatchFile> CBatchFile::Create(const Services& services)
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
    return Problem{Problem::Kind::BatchFileNotWritten, {}, ::GetLastError()};
}

Problem CBatchFile::NotWritten(DWORD error) const
{
    return Problem{Problem::Kind::BatchFileNotWritten, m_path.Wide(), error};
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

Result<void> CBatchFile::WriteLine(const std::wstring& line)
{
    if (!m_file)
        return NotWritten(ERROR_INVALID_HANDLE);
    if (const DWORD error = WriteAll(m_file.get(), ToConsoleBytes(line) + "\r\n"); error != ERROR_SUCCESS)
        return NotWritten(error);
    return {};
}

Result<void> CBatchFile::Close()
{
    if (m_file && !::CloseHandle(m_file.release()))
        return NotWritten(::GetLastError());
    return {};
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
