// Argument templates of the build steps.
#include "build/ArgumentTemplates.h"

#include "build/CommandText.h"
#include "build/CompilerSettings.h"
#include "framework/Unicode.h"

#include <windows.h>

#include <span>

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
    for (const wchar_t* modern : {L"jwasm", L"uasm", L"asmc", L"korvane-asm51"}) {
        if (StartsWithIgnoringCase(name, modern))
            return L"{file}";
    }
    return L"{file};";
}

std::wstring DebugArgumentTemplate(BuildAction action, const CompilerSettings& settings)
{
    const bool compile = action == BuildAction::Compile;
    const std::wstring name =
        SplitToolSetting(Widen(compile ? settings.m_strCompilerPath : settings.m_strLinkerPath)).program.Name();
    struct Entry {
        const wchar_t* prefix;
        const wchar_t* arguments;
    };
    // nullptr: the tool writes what the debugger needs with its usual arguments.
    static const Entry kCompilers[] = {
        {L"ml.", L"/c /Fl {file}"}, {L"jwasm", L"-Fl {file}"}, {L"uasm", L"-Fl {file}"},
        {L"asmc", L"-Fl {file}"},   {L"tasm", L"/l {file}"},   {L"nasm", L"-f bin -l {name}.lst -o {name}.com {file}"},
        {L"as31", L"-l {file}"},    {L"asm51", nullptr},        {L"korvane-asm51", nullptr}};
    static const Entry kLinkers[] = {{L"tlink", L"/m {name}"}, {L"oh", nullptr}};
    for (const Entry& entry : compile ? std::span<const Entry>(kCompilers) : std::span<const Entry>(kLinkers)) {
        if (!StartsWithIgnoringCase(name, entry.prefix))
            continue;
        if (entry.arguments)
            return entry.arguments;
        return DefaultArgumentTemplate(action, SplitToolSetting(Widen(settings.m_strCompilerPath)).program);
    }
    return compile ? L"{name},{name},{name};" : L"{name},{name},{name}/MAP;";
}

std::wstring ArgumentTemplateOf(BuildAction action, const CompilerSettings& settings, bool forDebugger)
{
    const std::string& stored =
        action == BuildAction::Compile ? settings.m_strCompilerArgs : settings.m_strLinkerArgs;
    if (!stored.empty())
        return Widen(stored);
    if (forDebugger)
        return DebugArgumentTemplate(action, settings);
    return DefaultArgumentTemplate(action, SplitToolSetting(Widen(settings.m_strCompilerPath)).program);
}

wchar_t ObjectSeparatorOf(const FilePath& linker)
{
    return StartsWithIgnoringCase(linker.Name(), L"tlink") ? L' ' : L'+';
}

std::wstring ExpandArguments(const std::wstring& argumentTemplate, const std::wstring& sourceName,
                             ArgumentsFor target, const ObjectList& objects)
{
    std::wstring objectNames;
    for (const std::wstring& name : objects.names)
        objectNames += (objectNames.empty() ? L"" : std::wstring(1, objects.separator)) + Escaped(name, target);
    const struct {
        std::wstring_view placeholder;
        std::wstring value;
    } names[] = {{L"{file}", Escaped(sourceName, target)}, {L"{name}", Escaped(SourceBaseName(sourceName), target)}};
    bool objectsPlaced = objects.names.empty();
    std::wstring expanded;
    for (size_t at = 0; at < argumentTemplate.size();) {
        bool replaced = false;
        for (const auto& name : names) {
            if (argumentTemplate.compare(at, name.placeholder.size(), name.placeholder) == 0) {
                const bool objectsHere = !objectsPlaced && name.placeholder == L"{name}";
                expanded += objectsHere ? objectNames : name.value;
                objectsPlaced = objectsPlaced || objectsHere;
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
