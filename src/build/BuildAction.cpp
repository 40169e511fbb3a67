// The texts of the build steps.
#include "build/BuildAction.h"

#include "build/CommandText.h"
#include "framework/PathName.h"
#include "framework/Unicode.h"

#include <windows.h>

std::string SourceBaseName(const std::string& sourceName)
{
    return sourceName.size() > 4 ? sourceName.substr(0, sourceName.size() - 4) : std::string();
}

std::string StepArgument(BuildAction action, const std::string& sourceName)
{
    return (action == BuildAction::Compile ? sourceName : SourceBaseName(sourceName)) + ";";
}

std::string DriveLine(const std::string& sourceDir)
{
    return sourceDir.substr(0, 2);
}

std::string ChangeDirectoryLine(const std::string& sourceDir)
{
    return "cd /d " + BatchPath(FolderPath(sourceDir));
}

namespace {
bool IsFile(const std::string& path)
{
    const DWORD attributes = ::GetFileAttributesW(Widen(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// An unquoted setting is one path when that path is a file; otherwise the shortest part before a
// blank that names a file is the program and the rest its options, as settings written before
// paths were quoted ("c:\masm\masm.exe /Zi") mean.
ToolSetting SplitUnquotedSetting(const std::string& setting)
{
    if (!IsFile(setting)) {
        for (size_t blank = setting.find(' '); blank != std::string::npos; blank = setting.find(' ', blank + 1)) {
            const size_t options = setting.find_first_not_of(' ', blank);
            if (options != std::string::npos && IsFile(setting.substr(0, blank)))
                return {setting.substr(0, blank), setting.substr(options)};
        }
    }
    return {setting, ""};
}
}

ToolSetting SplitToolSetting(const std::string& setting)
{
    if (setting.empty() || setting[0] != '"')
        return SplitUnquotedSetting(setting);

    const size_t close = setting.find('"', 1);
    if (close == std::string::npos)
        return {setting.substr(1), ""};
    const size_t options = setting.find_first_not_of(' ', close + 1);
    return {setting.substr(1, close - 1), options == std::string::npos ? "" : setting.substr(options)};
}
