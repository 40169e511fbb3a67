// The files of a program built together.
#include "build/ProgramModules.h"

#include "build/BuildAction.h"
#include "framework/Unicode.h"

#include <windows.h>

#include <algorithm>

namespace {
// File names are the same but for letter case.
bool SameName(const std::wstring& a, const std::wstring& b)
{
    return ::CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

std::wstring Trimmed(std::wstring_view text)
{
    const size_t first = text.find_first_not_of(L" \t");
    if (first == std::wstring_view::npos)
        return {};
    return std::wstring(text.substr(first, text.find_last_not_of(L" \t") - first + 1));
}

std::wstring StemOf(const FilePath& path)
{
    return SourceBaseName(path.Name());
}

// The lists in a folder, by name.
std::vector<FilePath> ListsIn(const FilePath& folder)
{
    std::vector<FilePath> lists;
    WIN32_FIND_DATAW found{};
    const HANDLE search = ::FindFirstFileW(folder.Child(L"*.kvp").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return lists;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            lists.push_back(folder.Child(found.cFileName));
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    std::sort(lists.begin(), lists.end(), [](const FilePath& a, const FilePath& b) { return a.Wide() < b.Wide(); });
    return lists;
}
}

FilePath ModuleListOf(const FilePath& mainSource)
{
    return mainSource.Folder().Child(StemOf(mainSource) + L".kvp");
}

std::vector<std::wstring> ParseModuleList(std::string_view bytes)
{
    const std::wstring text = IsValidUtf8(bytes) ? Widen(bytes) : DecodeCodePage(bytes, kGbkCodePage);
    std::vector<std::wstring> names;
    for (size_t start = 0; start <= text.size();) {
        size_t end = text.find_first_of(L"\r\n", start);
        if (end == std::wstring::npos)
            end = text.size();
        const std::wstring name = Trimmed(std::wstring_view(text).substr(start, end - start));
        if (!name.empty() && name[0] != L';')
            names.push_back(name);
        start = end + 1;
    }
    return names;
}

Result<std::vector<ProgramModule>> ProgramModulesOf(const FilePath& mainSource)
{
    std::vector<ProgramModule> modules{{mainSource, mainSource.Name()}};
    const FilePath list = ModuleListOf(mainSource);
    if (!list.IsFile())
        return modules;
    for (const std::wstring& name : ParseModuleList(list.ReadBytes())) {
        ProgramModule module{mainSource.Folder().Child(name), name};
        if (std::any_of(modules.begin(), modules.end(),
                        [&](const ProgramModule& known) { return SameName(known.path.Wide(), module.path.Wide()); }))
            continue;
        if (!module.path.IsFile())
            return Problem{Problem::Kind::ModuleMissing, module.path.Wide()};
        modules.push_back(std::move(module));
    }
    return modules;
}

FilePath MainSourceOf(const FilePath& source)
{
    if (ModuleListOf(source).IsFile())
        return source;
    const FilePath folder = source.Folder();
    for (const FilePath& list : ListsIn(folder)) {
        const std::vector<std::wstring> names = ParseModuleList(list.ReadBytes());
        const bool namesSource = std::any_of(names.begin(), names.end(), [&](const std::wstring& name) {
            return SameName(folder.Child(name).Wide(), source.Wide());
        });
        if (!namesSource)
            continue;
        // The main source is the listed file that has the list's name.
        for (const std::wstring& name : names) {
            const FilePath candidate = folder.Child(name);
            if (SameName(StemOf(candidate), SourceBaseName(list.Name())))
                return candidate;
        }
    }
    return source;
}
