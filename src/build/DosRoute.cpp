// The route of a program, and the emulator's kind.
#include "build/DosRoute.h"

#include "build/DosProgram.h"

#include <windows.h>

namespace {
constexpr wchar_t kBuiltInMachineName[] = L"korvane-dos.exe";

bool NameBeginsWith(const std::wstring& name, std::wstring_view prefix)
{
    return name.size() >= prefix.size() &&
           ::CompareStringOrdinal(name.c_str(), static_cast<int>(prefix.size()), prefix.data(),
                                  static_cast<int>(prefix.size()), TRUE) == CSTR_EQUAL;
}
}

EmulatorKind EmulatorKindOf(const FilePath& emulatorPath)
{
    if (emulatorPath.empty())
        return EmulatorKind::None;
    const std::wstring name = emulatorPath.Name();
    if (NameBeginsWith(name, L"msdos"))
        return EmulatorKind::MsDosPlayer;
    if (NameBeginsWith(name, L"dosbox-x") || NameBeginsWith(name, L"dosbox_x"))
        return EmulatorKind::DosBoxX;
    if (NameBeginsWith(name, L"dosbox"))
        return EmulatorKind::DosBox;
    return EmulatorKind::Unknown;
}

FilePath BuiltInMachine()
{
    return RunningProgramFolder().Child(kBuiltInMachineName);
}

std::wstring DosBoxOptions(EmulatorKind kind)
{
    return kind == EmulatorKind::DosBoxX ? L" -fastlaunch" : L" -noconsole";
}

Result<Route> ChooseRoute(const FilePath& program, const FilePath& emulatorPath, const Services& services)
{
    if (SystemRunsDosPrograms(services) || !IsDosProgram(program))
        return Route::Direct;
    switch (EmulatorKindOf(emulatorPath)) {
    case EmulatorKind::None:
        return Route::BuiltIn;
    case EmulatorKind::Unknown:
        return Problem{Problem::Kind::UnknownEmulator, emulatorPath.Wide()};
    case EmulatorKind::MsDosPlayer:
        return Route::MsDosPlayer;
    case EmulatorKind::DosBox:
    case EmulatorKind::DosBoxX:
        break;
    }
    return Route::DosBox;
}
