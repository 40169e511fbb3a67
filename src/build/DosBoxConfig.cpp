// DOSBox configuration files.
#include "build/DosBoxConfig.h"

#include "build/CommandText.h"
#include "build/ConsolePath.h"
#include "framework/Handles.h"
#include "framework/PathName.h"
#include "framework/Unicode.h"

#include <windows.h>

#include <algorithm>
#include <cctype>

namespace {
bool IsDosNameCharacter(char ch)
{
    return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || (ch >= '0' && ch <= '9') || ch == '_';
}

bool IsDosNamePart(const std::string& part, size_t maxLength)
{
    return !part.empty() && part.size() <= maxLength && std::all_of(part.begin(), part.end(), IsDosNameCharacter);
}

bool IsAscii(const std::string& text)
{
    return std::all_of(text.begin(), text.end(), [](char ch) { return static_cast<unsigned char>(ch) < 0x80; });
}

// The path as DOSBox can take it: ASCII as it is, else its short form when that is ASCII.
std::optional<std::string> HostForm(const std::string& path)
{
    if (IsAscii(path))
        return path;
    const std::string form = Narrow(ShortFormOf(Widen(path)));
    return !form.empty() && IsAscii(form) ? std::optional<std::string>(form) : std::nullopt;
}

std::string UpperCase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char ch) { return static_cast<char>(std::toupper(static_cast<unsigned char>(ch))); });
    return text;
}

bool WriteWhole(const std::wstring& path, const std::string& bytes)
{
    UniqueHandle file = FileHandle(
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file && ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}
}

bool IsEightDotThreeName(const std::string& name)
{
    const size_t dot = name.find('.');
    if (dot == std::string::npos)
        return IsDosNamePart(name, 8);
    return IsDosNamePart(name.substr(0, dot), 8) && IsDosNamePart(name.substr(dot + 1), 3);
}

void CDosBoxConfig::SetProblem(CommandProblem::Kind kind, const std::string& path)
{
    if (!m_problem)
        m_problem = CommandProblem{kind, path};
}

void CDosBoxConfig::Mount(char drive, const std::string& folder)
{
    const std::optional<std::string> form = HostForm(FolderPath(folder));
    if (!form) {
        SetProblem(CommandProblem::Kind::PathNotForDosBox, folder);
        return;
    }
    m_mounts.push_back(std::string("mount ") + drive + " " + CommandLinePath(*form));
}

std::string CDosBoxConfig::DosNameOf(const std::string& path)
{
    const std::string name = SplitPath(path).name;
    if (!IsEightDotThreeName(name))
        SetProblem(CommandProblem::Kind::NotEightDotThree, name);
    return UpperCase(name);
}

void CDosBoxConfig::AddCommand(const std::string& command)
{
    m_commands.push_back(command);
}

std::string CDosBoxConfig::Text() const
{
    std::string text = "[autoexec]\r\n";
    for (const auto* lines : {&m_mounts, &m_commands}) {
        for (const std::string& line : *lines)
            text += DoublePercents(line) + "\r\n";
    }
    return text;
}

std::optional<std::string> CDosBoxConfig::WriteToTemporaryFolder()
{
    const std::string folder = TemporaryFolder();
    wchar_t path[MAX_PATH] = L"";
    if (folder.empty() || !::GetTempFileNameW(Widen(folder).c_str(), L"kvn", 0, path)) {
        SetProblem(CommandProblem::Kind::ConfigNotWritten, folder);
        return std::nullopt;
    }
    const std::optional<std::string> form = HostForm(Narrow(path));
    if (!form || !WriteWhole(path, Text())) {
        ::DeleteFileW(path);
        SetProblem(form ? CommandProblem::Kind::ConfigNotWritten : CommandProblem::Kind::PathNotForDosBox, folder);
        return std::nullopt;
    }
    return form;
}
