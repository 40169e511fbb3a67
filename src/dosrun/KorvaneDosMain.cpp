// korvane-dos.exe's entry: no error box ever (a fault ends with a line and a code), then the
// runner.
#include "dosrun/DosRunner.h"
#include "dosrun/RunnerText.h"

#include "korvane-dos.h"

#include <windows.h>

#include <exception>

using namespace dos;

namespace {

LONG WINAPI Unhandled(EXCEPTION_POINTERS* pointers)
{
    wchar_t code[16];
    swprintf(code, 16, L"%08lX", pointers->ExceptionRecord->ExceptionCode);
    std::wstring line = RunnerText::Format(IDS_DOS_INTERNAL, {code}) + L"\r\n";
    std::string bytes = RunnerText::Encode(line, CP_OEMCP);
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_ERROR_HANDLE), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ExitProcess(kExitInternal);
}

}

int wmain()
{
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    SetUnhandledExceptionFilter(Unhandled);
    try {
        return CDosRunner().Run(GetCommandLineW());
    } catch (const std::exception& error) {
        std::string bytes = RunnerText::Encode(RunnerText::Format(IDS_DOS_INTERNAL, {RunnerText::Decode(error.what(), CP_ACP)}) + L"\r\n", CP_OEMCP);
        DWORD written = 0;
        WriteFile(GetStdHandle(STD_ERROR_HANDLE), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        return kExitInternal;
    }
}
