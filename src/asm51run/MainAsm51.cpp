// korvane-asm51.exe's entry point: the assembler on the process's standard output.
#include "asm51run/AsmTool51.h"

int wmain(int argc, wchar_t** argv)
{
    const std::vector<std::wstring> args(argv + 1, argv + argc);
    asm51::CAsmTool51 tool(::GetStdHandle(STD_OUTPUT_HANDLE));
    return tool.Run(args);
}
