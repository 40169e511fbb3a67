// The texts of the build steps.
#include "build/BuildAction.h"

#include "build/CommandText.h"
#include "framework/PathName.h"

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

ToolSetting SplitToolSetting(const std::string& setting)
{
    if (setting.empty() || setting[0] != '"')
        return {setting, ""};
    const size_t close = setting.find('"', 1);
    if (close == std::string::npos)
        return {setting.substr(1), ""};
    const size_t options = setting.find_first_not_of(' ', close + 1);
    return {setting.substr(1, close - 1), options == std::string::npos ? "" : setting.substr(options)};
}
