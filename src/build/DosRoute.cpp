// The route of a program, and the emulator's kind.
#include "build/DosRoute.h"

#include "build/DosProgram.h"
#include "framework/PathName.h"
#include "framework/Unicode.h"

namespace {
bool NameBeginsWith(const std::string& name, const std::string& prefix)
{
    return name.size() >= prefix.size() && EqualsIgnoringCase(name.substr(0, prefix.size()), prefix);
}
}

EmulatorKind EmulatorKindOf(const std::string& emulatorPath)
{
    if (emulatorPath.empty())
        return EmulatorKind::None;
    const std::string name = SplitPath(emulatorPath).name;
    if (NameBeginsWith(name, "msdos"))
        return EmulatorKind::MsDosPlayer;
    if (NameBeginsWith(name, "dosbox-x") || NameBeginsWith(name, "dosbox_x"))
        return EmulatorKind::DosBoxX;
    if (NameBeginsWith(name, "dosbox"))
        return EmulatorKind::DosBox;
    return EmulatorKind::Unknown;
}

std::string DosBoxOptions(EmulatorKind kind)
{
    return kind == EmulatorKind::DosBoxX ? " -fastlaunch" : " -noconsole";
}

RouteChoice ChooseRoute(const std::string& program, const std::string& emulatorPath)
{
    if (SystemRunsDosPrograms() || !IsDosProgram(program))
        return {};
    switch (EmulatorKindOf(emulatorPath)) {
    case EmulatorKind::None:
        return {Route::Direct, CommandProblem{CommandProblem::Kind::NoEmulator, program}};
    case EmulatorKind::Unknown:
        return {Route::Direct, CommandProblem{CommandProblem::Kind::UnknownEmulator, emulatorPath}};
    case EmulatorKind::MsDosPlayer:
        return {Route::MsDosPlayer, std::nullopt};
    default:
        return {Route::DosBox, std::nullopt};
    }
}
