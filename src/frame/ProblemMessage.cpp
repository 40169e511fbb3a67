// The user's texts of the build engine's problems.
#include "frame/ProblemMessage.h"

#include "framework/MessageBox.h"
#include "framework/Strings.h"
#include "framework/Unicode.h"
#include "resource.h"

namespace {
ProblemMessage Own(UINT id, const std::string& subject)
{
    return ProblemMessage{FormatResString(id, {subject}), 0};
}

ProblemMessage Refused(UINT id, const std::string& subject)
{
    return ProblemMessage{FormatResString(id, {subject}), MB_ICONEXCLAMATION};
}

// The system's text for its error, with its inserts (%1: the program or file) filled.
ProblemMessage SystemText(const Problem& problem, const std::string& subject)
{
    return ProblemMessage{FormatPlaceholders(SystemErrorText(problem.systemError), {subject}), MB_ICONEXCLAMATION};
}
}

ProblemMessage MessageOf(const Problem& problem)
{
    const std::string subject = Narrow(problem.subject);
    using Kind = Problem::Kind;
    switch (problem.kind) {
    case Kind::NoSavedFile:
        return Own(IDS_SAVE_FIRST, subject);
    case Kind::BatchFileNotWritten:
        return Refused(IDS_BATCH_FILE_FAILED, subject);
    case Kind::NoCompilerPath:
        return Own(IDS_NO_COMPILER_PATH, subject);
    case Kind::NoLinkerPath:
        return Own(IDS_NO_LINKER_PATH, subject);
    case Kind::NoLinkStep:
        return Own(IDS_NO_LINK_STEP, subject);
    case Kind::PathNotInConsole:
        return Refused(IDS_PATH_NOT_IN_CONSOLE, subject);
    case Kind::UnknownEmulator:
        return Own(IDS_UNKNOWN_EMULATOR, subject);
    case Kind::NotEightDotThree:
        return Own(IDS_DOSBOX_NOT_8_3, subject);
    case Kind::PathNotForDosBox:
        return Refused(IDS_PATH_NOT_FOR_DOSBOX, subject);
    case Kind::NoDebugger:
        return Own(IDS_NO_DEBUG_EXE, subject);
    case Kind::ConfigNotWritten:
        return Refused(IDS_DOSBOX_CONFIG_FAILED, subject);
    case Kind::NotStarted:
        return SystemText(problem, subject);
    case Kind::SettingsNotKept:
        return Refused(IDS_SETTINGS_NOT_KEPT, subject);
    case Kind::ModuleMissing:
        return Own(IDS_MODULE_MISSING, subject);
    case Kind::ModulesNotSupported:
        return Own(IDS_MODULES_NOT_SUPPORTED, subject);
    }
    return ProblemMessage{};
}

void ShowProblem(const Problem& problem)
{
    const ProblemMessage message = MessageOf(problem);
    AfxMessageBox(message.text, MB_OK | message.icon);
}
