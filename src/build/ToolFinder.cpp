// Finding the tools of a toolchain.
#include "build/ToolFinder.h"

#include <windows.h>

#include <algorithm>
#include <span>
#include <string>

namespace {
using Names = std::span<const wchar_t* const>;

constexpr const wchar_t* kMasmCompilers[] = {L"masm.exe", L"ml.exe",     L"jwasm.exe", L"uasm.exe",
                                             L"uasm32.exe", L"uasm64.exe", L"asmc.exe", L"asmc64.exe"};
// MASM32's link.exe makes Windows programs; its link16.exe is the one for DOS.
constexpr const wchar_t* kMasmLinkers[] = {L"link16.exe", L"link.exe"};
constexpr const wchar_t* kTasmCompilers[] = {L"tasm.exe", L"tasm32.exe"};
constexpr const wchar_t* kTasmLinkers[] = {L"tlink.exe", L"tlink32.exe"};
constexpr const wchar_t* kMcs51Compilers[] = {L"asm51.exe", L"a51.exe"};
constexpr const wchar_t* kMcs51Linkers[] = {L"oh.exe"};
constexpr const wchar_t* kDebuggerNames[] = {L"debug.exe", L"debug.com", L"td.exe"};
constexpr const wchar_t* kEmulatorNames[] = {L"msdos.exe", L"dosbox.exe", L"dosbox-x.exe"};

struct ToolchainNames {
    CompilerType type;
    Names compilers;
    Names linkers;
};

constexpr ToolchainNames kToolchains[] = {
    {CompilerType::Masm, kMasmCompilers, kMasmLinkers},
    {CompilerType::Tasm, kTasmCompilers, kTasmLinkers},
    {CompilerType::Mcs51, kMcs51Compilers, kMcs51Linkers},
};

ToolchainNames NamesOf(CompilerType type)
{
    for (const ToolchainNames& names : kToolchains) {
        if (names.type == type)
            return names;
    }
    return {type, {}, {}};
}

bool IsFolder(const std::wstring& path)
{
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void AddFolder(std::vector<FilePath>& folders, std::wstring path)
{
    while (!path.empty() && (path.back() == L'\\' || path.back() == L'/'))
        path.pop_back();
    if (path.empty() || !IsFolder(path))
        return;
    for (const FilePath& known : folders) {
        if (::CompareStringOrdinal(known.c_str(), -1, path.c_str(), -1, TRUE) == CSTR_EQUAL)
            return;
    }
    folders.emplace_back(path);
}

// The folders whose names match the pattern (in the pattern's folder), with a subfolder.
void AddMatchingFolders(std::vector<FilePath>& folders, const std::wstring& pattern, const wchar_t* subfolder = L"")
{
    const std::wstring parent = pattern.substr(0, pattern.find_last_of(L'\\'));
    WIN32_FIND_DATAW found{};
    HANDLE search = ::FindFirstFileW(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            AddFolder(folders, parent + L"\\" + found.cFileName + subfolder);
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
}

std::wstring Environment(const wchar_t* name)
{
    const DWORD needed = ::GetEnvironmentVariableW(name, nullptr, 0);
    std::wstring value(needed, L'\0');
    value.resize(needed ? ::GetEnvironmentVariableW(name, value.data(), needed) : 0);
    return value;
}

FilePath ProgramFolder()
{
    std::wstring path(MAX_PATH * 4, L'\0');
    path.resize(::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    return FilePath(path).Folder();
}

// The file of one of the names in the folder, spelled as it is on disk.
FilePath FindIn(const FilePath& folder, Names names)
{
    for (const wchar_t* name : names) {
        WIN32_FIND_DATAW found{};
        HANDLE search = ::FindFirstFileW(folder.Child(name).c_str(), &found);
        if (search == INVALID_HANDLE_VALUE)
            continue;
        ::FindClose(search);
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            return folder.Child(found.cFileName);
    }
    return {};
}

FilePath FindFirst(const std::vector<FilePath>& folders, Names names)
{
    for (const FilePath& folder : folders) {
        if (FilePath found = FindIn(folder, names); !found.empty())
            return found;
    }
    return {};
}
}

std::vector<FilePath> ToolFolders()
{
    std::vector<FilePath> folders;
    const FilePath own = ProgramFolder();
    AddFolder(folders, own.Wide());
    AddFolder(folders, own.Child(L"tools").Wide());
    const std::wstring path = Environment(L"PATH");
    for (size_t start = 0; start <= path.size();) {
        const size_t end = std::min(path.find(L';', start), path.size());
        AddFolder(folders, path.substr(start, end - start));
        start = end + 1;
    }
    AddMatchingFolders(folders, L"C:\\MASM*");
    AddMatchingFolders(folders, L"C:\\MASM*", L"\\BIN");
    AddMatchingFolders(folders, L"C:\\TASM*");
    AddMatchingFolders(folders, L"C:\\TASM*", L"\\BIN");
    for (const wchar_t* programFiles : {L"ProgramFiles", L"ProgramFiles(x86)"}) {
        const std::wstring root = Environment(programFiles);
        if (root.empty())
            continue;
        for (const wchar_t* emulator : {L"\\DOSBox*", L"\\MS-DOS Player*", L"\\msdos*"})
            AddMatchingFolders(folders, root + emulator);
    }
    return folders;
}

FoundTools FindTools(CompilerType type, const std::vector<FilePath>& folders)
{
    FoundTools tools;
    tools.type = type;
    const ToolchainNames names = NamesOf(type);
    tools.compiler = FindFirst(folders, names.compilers);
    if (tools.HasCompiler())
        tools.linker = FindIn(tools.compiler.Folder(), names.linkers);
    if (tools.linker.empty())
        tools.linker = FindFirst(folders, names.linkers);
    tools.debugger = FindFirst(folders, kDebuggerNames);
    tools.emulator = FindFirst(folders, kEmulatorNames);
    return tools;
}

FoundTools FindAnyTools(const std::vector<FilePath>& folders)
{
    for (const ToolchainNames& names : kToolchains) {
        if (FoundTools tools = FindTools(names.type, folders); tools.HasCompiler())
            return tools;
    }
    return FindTools(CompilerType::None, folders);
}
