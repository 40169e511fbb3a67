// Choosing the built-in 8051 assembler.
#include "build/BuiltInAssembler.h"

namespace {
constexpr wchar_t kBuiltInAssemblerName[] = L"korvane-asm51.exe";
}

bool UsesBuiltInAssembler(const CompilerSettings& settings)
{
    return settings.m_compilerType == CompilerType::Mcs51 && settings.m_strCompilerPath.empty();
}

FilePath BuiltInAssembler()
{
    return RunningProgramFolder().Child(kBuiltInAssemblerName);
}

CompilerSettings WithBuiltInAssembler(CompilerSettings settings)
{
    if (!UsesBuiltInAssembler(settings))
        return settings;
    // Quoted, so that a folder with blanks stays one path.
    settings.m_strCompilerPath = "\"" + BuiltInAssembler().Utf8() + "\"";
    settings.m_bNoLink = true;
    return settings;
}
