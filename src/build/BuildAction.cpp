// The texts of the build steps.
#include "build/BuildAction.h"

#include "build/CommandText.h"

std::wstring SourceBaseName(const std::wstring& sourceName)
{
    return sourceName.size() > 4 ? sourceName.substr(0, sourceName.size() - 4) : std::wstring();
}

std::wstring DriveLine(const FilePath& sourceDir)
{
    return sourceDir.Wide().substr(0, 2);
}

std::wstring ChangeDirectoryLine(const FilePath& sourceDir)
{
    return L"cd /d " + BatchPath(sourceDir.AsFolder());
}

namespace {
// An unquoted setting is one path when that path is a file; otherwise the shortest part before a
// blank that names a file is the program and the rest its options, as settings written before
// paths were quoted ("c:\masm\masm.exe /Zi") mean.
ToolSetting SplitUnquotedSetting(const std::wstring& setting)
{
    if (!FilePath(setting).IsFile()) {
        for (size_t blank = setting.find(L' '); blank != std::wstring::npos; blank = setting.find(L' ', blank + 1)) {
            const size_t options = setting.find_first_not_of(L' ', blank);
            if (options != std::wstring::npos && FilePath(setting.substr(0, blank)).IsFile())
                return {FilePath(setting.substr(0, blank)), setting.substr(options)};
        }
    }
    return {FilePath(setting), L""};
}
}

ToolSetting SplitToolSetting(const std::wstring& setting)
{
    if (setting.empty() || setting[0] != L'"')
        return SplitUnquotedSetting(setting);

    const size_t close = setting.find(L'"', 1);
    if (close == std::wstring::npos)
        return {FilePath(setting.substr(1)), L""};
    const size_t options = setting.find_first_not_of(L' ', close + 1);
    return {FilePath(setting.substr(1, close - 1)), options == std::wstring::npos ? L"" : setting.substr(options)};
}
