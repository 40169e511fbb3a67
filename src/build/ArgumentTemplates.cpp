// Argument templates of the build steps.
#include "build/ArgumentTemplates.h"

#include "build/CommandText.h"
#include "build/CompilerSettings.h"
#include "framework/Unicode.h"

#include <windows.h>

namespace {
bool StartsWithIgnoringCase(const std::wstring& text, std::wstring_view prefix)
{
    return text.size() >= prefix.size() &&
           ::CompareStringOrdinal(text.c_str(), static_cast<int>(prefix.size()), prefix.data(),
                                  static_cast<int>(prefix.size()), TRUE) == CSTR_EQUAL;
}

std::wstring Escaped(const std::wstring& name, ArgumentsFor target)
{
    if (target == ArgumentsFor::Dos)
        return name;
    const std::wstring escaped = BatchArgument(name);
    return name.find_first_of(L" \t") == std::wstring::npos ? escaped : L"\"" + escaped + L"\"";
}
}

std::wstring DefaultArgumentTemplate(BuildAction action, const FilePath& compiler)
{
    if (action == BuildAction::Link)
        return L"{name};";
    const std::wstring name = compiler.Name();
    if (::CompareStringOrdinal(name.c_str(), -1, L"ml.exe", -1, TRUE) == CSTR_EQUAL)
        return L"/c {file}";
    for (const wchar_t* modern : {L"jwasm", L"uasm", L"asmc"}) {
        if (StartsWithIgnoringCase(name, modern))
            return L"{file}";
    }
    return L"{file};";
}

std::wstring ArgumentTemplateOf(BuildAction action, const CompilerSettings& settings)
{
    const std::string& stored =
        action == BuildAction::Compile ? settings.m_strCompilerArgs : settings.m_strLinkerArgs;
    if (!stored.empty())
        return Widen(stored);
    return DefaultArgumentTemplate(action, SplitToolSetting(Widen(settings.m_strCompilerPath)).program);
}

std::wstring ExpandArguments(const std::wstring& argumentTemplate, const std::wstring& sourceName,
                             ArgumentsFor target)
{
    const struct {
        std::wstring_view placeholder;
        std::wstring value;
    } names[] = {{L"{file}", Escaped(sourceName, target)}, {L"{name}", Escaped(SourceBaseName(sourceName), target)}};
    std::wstring expanded;
    for (size_t at = 0; at < argumentTemplate.size();) {
        bool replaced = false;
        for (const auto& name : names) {
            if (argumentTemplate.compare(at, name.placeholder.size(), name.placeholder) == 0) {
                expanded += name.value;
                at += name.placeholder.size();
                replaced = true;
                break;
            }
        }
        if (!replaced)
            expanded += argumentTemplate[at++];
    }
    return expanded;
}
