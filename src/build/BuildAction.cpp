// The texts of the build steps.
#include "build/BuildAction.h"

std::string SourceBaseName(const std::string& sourceName)
{
    return sourceName.size() > 4 ? sourceName.substr(0, sourceName.size() - 4) : std::string();
}

std::string ToolLine(BuildAction action, const std::string& toolPath, const std::string& sourceName)
{
    const std::string target = action == BuildAction::Compile ? sourceName : SourceBaseName(sourceName);
    return toolPath + " " + target + ";";
}
