// DOSBox configuration files.
#include "build/DosBoxConfig.h"

#include "build/CommandText.h"
#include "build/ConsolePath.h"
#include "framework/Handles.h"
#include "framework/Unicode.h"

#include <windows.h>

#include <algorithm>

namespace {
bool IsDosNameCharacter(wchar_t ch)
{
    return (ch >= L'A' && ch <= L'Z') || (ch >= L'a' && ch <= L'z') || (ch >= L'0' && ch <= L'9') || ch == L'_';
}

bool IsDosNamePart(const std::wstring& part, size_t maxLength)
{
    return !part.empty() && part.size() <= maxLength && std::all_of(part.begin(), part.end(), IsDosNameCharacter);
}

bool IsAscii(const std::wstring& text)
{
    return std::all_of(text.begin(), text.end(), [](wchar_t ch) { return ch < 0x80; });
}

// The path as DOSBox can take it: ASCII as it is, else its short form when that is ASCII.
std::optional<FilePath> HostForm(const FilePath& path)
{
    if (IsAscii(path.Wide()))
        return path;
    const std::wstring form = ShortFormOf(path.Wide());
    return !form.empty() && IsAscii(form) ? std::optional<FilePath>(FilePath(form)) : std::nullopt;
}

std::wstring UpperCase(std::wstring text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](wchar_t ch) { return ch >= L'a' && ch <= L'z' ? static_cast<wchar_t>(ch - L'a' + L'A') : ch; });
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

bool IsEightDotThreeName(const std::wstring& name)
{
    const size_t dot = name.find(L'.');
    if (dot == std::wstring::npos)
        return IsDosNamePart(name, 8);
    return IsDosNamePart(name.substr(0, dot), 8) && IsDosNamePart(name.substr(dot + 1), 3);
}

void CDosBoxConfig::SetProblem(Problem::Kind kind, const std::wstring& subject, DWORD error)
{
    if (!m_problem)
        m_problem = Problem{kind, subject, error};
}

void CDosBoxConfig::Mount(wchar_t drive, const FilePath& folder)
{
    const std::optional<FilePath> form = HostForm(folder.AsFolder());
    if (!form) {
        SetProblem(Problem::Kind::PathNotForDosBox, folder.Wide());
        return;
    }
    m_mounts.push_back(std::wstring(L"mount ") + drive + L" " + CommandLinePath(*form));
}

std::wstring CDosBoxConfig::DosNameOf(const FilePath& path)
{
    const std::wstring name = path.Name();
    if (!IsEightDotThreeName(name))
        SetProblem(Problem::Kind::NotEightDotThree, name);
    return UpperCase(name);
}

void CDosBoxConfig::AddCommand(const std::wstring& command)
{
    m_commands.push_back(command);
}

void CDosBoxConfig::AddCapturedCommand(const std::wstring& command)
{
    m_strCaptured = command;
    m_nCapturedAt = m_commands.size();
}

std::string CDosBoxConfig::Text(const std::wstring& batchName) const
{
    std::wstring text = L"[autoexec]\r\n";
    for (const std::wstring& line : m_mounts)
        text += DoublePercents(line) + L"\r\n";
    const bool captures = !m_strCaptured.empty();
    for (size_t i = 0; i <= m_commands.size(); ++i) {
        if (captures && i == m_nCapturedAt)
            text += L"call E:\\" + DoublePercents(UpperCase(batchName)) + L"\r\n";
        if (i < m_commands.size())
            text += DoublePercents(m_commands[i]) + L"\r\n";
    }
    return Narrow(text);
}

std::string CDosBoxConfig::BatchText() const
{
    // An errorlevel test is true for the code and every one above it, so the last one that
    // holds is the code. Internal commands leave the errorlevel as it is.
    std::wstring text = DoublePercents(m_strCaptured) + L" > " + kDosBoxOutputName + L"\r\nset KORVANE=0\r\n";
    for (int code = 1; code <= 255; ++code)
        text += L"if errorlevel " + std::to_wstring(code) + L" set KORVANE=" + std::to_wstring(code) + L"\r\n";
    text += L"echo %KORVANE%> " + std::wstring(kDosBoxExitCodeName) + L"\r\n";
    return Narrow(text);
}

Result<FilePath> CDosBoxConfig::WriteToTemporaryFolder()
{
    const FilePath folder = TemporaryFolderPath();
    if (!m_strCaptured.empty() && !folder.empty())
        Mount(L'e', folder);
    if (m_problem)
        return *m_problem;
    wchar_t path[MAX_PATH] = L"";
    if (folder.empty() || !::GetTempFileNameW(folder.c_str(), L"kvn", 0, path))
        return Problem{Problem::Kind::ConfigNotWritten, folder.Wide(), ::GetLastError()};
    const std::optional<FilePath> form = HostForm(FilePath(path));
    const std::optional<FilePath> batch = form && !m_strCaptured.empty() ? WriteBatchBeside(*form) : std::nullopt;
    const std::wstring batchName = batch ? batch->Name() : std::wstring();
    if (!form || (!m_strCaptured.empty() && !batch) || !WriteWhole(path, Text(batchName))) {
        const DWORD error = ::GetLastError();
        ::DeleteFileW(path);
        if (batch)
            ::DeleteFileW(batch->c_str());
        return Problem{form ? Problem::Kind::ConfigNotWritten : Problem::Kind::PathNotForDosBox, folder.Wide(), error};
    }
    m_batchFile = batch.value_or(FilePath());
    return *form;
}

std::optional<FilePath> CDosBoxConfig::WriteBatchBeside(const FilePath& config)
{
    std::wstring path = config.Wide();
    path.replace(path.find_last_of(L'.'), std::wstring::npos, L".BAT");
    if (!WriteWhole(path, BatchText()))
        return std::nullopt;
    return FilePath(path);
}
