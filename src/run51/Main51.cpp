// korvane-51.exe's entry point: the runner on the process's standard handles.
#include "run51/Runner51.h"

#include <windows.h>

using namespace mcs51;

int wmain(int argc, wchar_t** argv)
{
    std::vector<std::wstring> args(argv + 1, argv + argc);
    CRunner51 runner(::GetStdHandle(STD_INPUT_HANDLE), ::GetStdHandle(STD_OUTPUT_HANDLE), ::GetStdHandle(STD_ERROR_HANDLE));
    const int exit = runner.Run(args);
    // The thread reading standard input may still wait in ReadFile: end the process here.
    ::ExitProcess(static_cast<UINT>(exit));
}
