// The files of a program built together. NAME.kvp beside the main source (NAME.ASM) lists
// them, one name a line relative to the main source's folder, the main source first; blank
// lines and lines starting with ';' are passed over. The list travels with the sources; a
// program without one is its main source alone.
#pragma once

#include "build/FilePath.h"
#include "build/Result.h"

#include <string>
#include <string_view>
#include <vector>

struct ProgramModule {
    FilePath path;
    // As the list names it, relative to the main source's folder (the main source's own name
    // for it).
    std::wstring listedName;

    friend bool operator==(const ProgramModule&, const ProgramModule&) = default;
};

// NAME.kvp beside the source NAME.ASM.
FilePath ModuleListOf(const FilePath& mainSource);
// The names a list gives, in order, blanks around each cut: read as UTF-8 where the bytes are
// that, else as GBK (the code page of the program's documents).
std::vector<std::wstring> ParseModuleList(std::string_view bytes);
// The program's files: the main source first and once (wherever the list names it), then each
// other listed file once, in the list's order; the main source alone without a list. The
// problem ModuleMissing, with the file's path, where a listed file does not exist.
Result<std::vector<ProgramModule>> ProgramModulesOf(const FilePath& mainSource);
// The main source of the program a source belongs to: itself where its own list exists; else
// the main source of the first list in its folder (by name) that names it; else itself. So a
// build from any module's editor builds the whole program.
FilePath MainSourceOf(const FilePath& source);
