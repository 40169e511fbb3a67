// The batch file of a build step.
#include "build/BatchFile.h"

#include "build/CommandText.h"
#include "build/ConsolePath.h"
#include "framework/PathName.h"
#include "framework/Unicode.h"

#include <windows.h>

namespace {
std::string& PreferredPathStorage()
{
    static std::string path = "c:\\temp.bat";
    return path;
}

std::string TempFolderPath()
{
    const std::string folder = TemporaryFolder();
    return folder.empty() ? folder : folder + "temp.bat";
}
}

void CBatchFile::SetPreferredPath(const std::string& path)
{
    PreferredPathStorage() = path;
}

std::string CBatchFile::PreferredPath()
{
    return PreferredPathStorage();
}

CBatchFile::~CBatchFile()
{
    Close();
}

bool CBatchFile::CreateAt(const std::string& path)
{
    if (path.empty())
        return false;
    m_pFile = ::_wfopen(Widen(path).c_str(), L"wb");
    if (!m_pFile)
        return false;
    m_strPath = path;
    return true;
}

bool CBatchFile::Create()
{
    Close();
    // An ordinary user on current Windows cannot write the root of C:; the temporary
    // folder serves instead.
    return CreateAt(PreferredPath()) || CreateAt(TempFolderPath());
}

void CBatchFile::WriteLine(const std::string& line)
{
    if (!m_pFile)
        return;
    const std::string bytes = ToConsoleBytes(line);
    std::fwrite(bytes.data(), 1, bytes.size(), m_pFile);
    std::fwrite("\r\n", 1, 2, m_pFile);
}

void CBatchFile::Close()
{
    if (m_pFile) {
        std::fclose(m_pFile);
        m_pFile = nullptr;
    }
}

void CBatchFile::Delete()
{
    Close();
    for (const std::string* path : {&m_strPath, &m_strCompanionPath}) {
        if (!path->empty())
            ::DeleteFileW(Widen(*path).c_str());
    }
}

std::string CBatchFile::CommandLine() const
{
    return CommandLinePath(m_strPath);
}
