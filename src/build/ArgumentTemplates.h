// What each build step gives its tool: a template in which {file} stands for the source
// file's name ("hello.asm") and {name} for it without its extension ("hello"), the
// toolchain's own or, where it has none, the default for its compiler.
#pragma once

#include "build/BuildAction.h"
#include "build/FilePath.h"

#include <string>
#include <vector>

struct CompilerSettings;

// The template a step uses when the settings hold none: by the compiler's file name,
// "/c {file}" for ml.exe and "{file}" for jwasm, uasm, asmc and korvane-asm51, which take the
// name as it is; MASM 5's "{file};" (";": ask nothing) for any other compiler; "{name};" for linking.
std::wstring DefaultArgumentTemplate(BuildAction action, const FilePath& compiler);
// The template a step uses when it builds for the debugger and the settings hold none: the
// default with what maps the program's addresses to source lines. MASM 5 "{name},{name},{name};"
// (a listing), ml.exe "/c /Fl {file}", jwasm, uasm and asmc "-Fl {file}", TASM "/l {file}",
// nasm "-f bin -l {name}.lst -o {name}.com {file}", as31 "-l {file}"; LINK "{name},{name},{name}/MAP;"
// (a map), TLINK "/m {name}"; the default where the tool writes what is needed anyway (asm51,
// korvane-asm51, oh).
std::wstring DebugArgumentTemplate(BuildAction action, const CompilerSettings& settings);
// The settings' template for the step, or the default for their compiler (for the debugger's
// build, the debugger's default).
std::wstring ArgumentTemplateOf(BuildAction action, const CompilerSettings& settings, bool forDebugger = false);

enum class ArgumentsFor {
    // A line of a batch file: each name with cmd's special characters escaped, every %
    // doubled, and in double quotes where a blank would split it.
    Batch,
    // A DOS command line inside the emulator: the names as they are.
    Dos,
};

// The objects a link step of a program of several modules puts where a program of one file
// has its one object, the template's first {name}: each module's name without its extension,
// as the link line names it, and what the linker separates them with.
struct ObjectList {
    std::vector<std::wstring> names;
    wchar_t separator = L'+';
};
// "+" for MASM's LINK and its kin ("LINK MAIN+CALC;"), a blank for TLINK ("TLINK MAIN CALC").
wchar_t ObjectSeparatorOf(const FilePath& linker);

// The template with the names of the source file put in, the objects (where there are any) in
// place of its first {name}; the rest of it stays as written.
std::wstring ExpandArguments(const std::wstring& argumentTemplate, const std::wstring& sourceName,
                             ArgumentsFor target, const ObjectList& objects = {});
