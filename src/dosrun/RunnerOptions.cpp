// korvane-dos.exe's command line, read from the raw line so that the tail keeps its blanks
// and quotes exactly.
#include "dosrun/RunnerOptions.h"

#include <algorithm>
#include <cwctype>

namespace dos {

bool CRunnerOptions::NextToken(const std::wstring& line, size_t& at, std::wstring& token)
{
    while (at < line.size() && std::iswspace(line[at]))
        ++at;
    if (at >= line.size())
        return false;
    token.clear();
    bool quoted = false;
    while (at < line.size() && (quoted || !std::iswspace(line[at]))) {
        if (line[at] == L'"')
            quoted = !quoted;
        else
            token.push_back(line[at]);
        ++at;
    }
    return true;
}

bool CRunnerOptions::ParseMemory(const std::wstring& text, RunnerOptions& options)
{
    if (text.empty() || text.size() > 3 || text.find_first_not_of(L"0123456789") != std::wstring::npos)
        return false;
    unsigned kb = static_cast<unsigned>(std::stoul(text));
    if (kb < 64 || kb > 640)
        return false;
    options.memoryKb = static_cast<uint16_t>(kb);
    return true;
}

bool CRunnerOptions::ParseVersion(const std::wstring& text, RunnerOptions& options)
{
    size_t dot = text.find(L'.');
    if (dot != 1 || text.size() < 3 || text.size() > 4 || text.find_first_not_of(L"0123456789", 2) != std::wstring::npos ||
        text[0] < L'2' || text[0] > L'9')
        return false;
    options.versionMajor = static_cast<uint8_t>(text[0] - L'0');
    options.versionMinor = static_cast<uint8_t>(std::stoul(text.substr(2)));
    return true;
}

bool CRunnerOptions::ParsePace(const std::wstring& text, RunnerOptions& options)
{
    if (text == L"max") {
        options.pace.instructionsPerMs = 0;
        return true;
    }
    if (text.empty() || text.size() > 7 || text.find_first_not_of(L"0123456789") != std::wstring::npos)
        return false;
    const unsigned long pace = std::stoul(text);
    if (pace < 1 || pace > 1000000)
        return false;
    options.pace.instructionsPerMs = static_cast<uint32_t>(pace);
    return true;
}

bool CRunnerOptions::ParseObserve(const std::wstring& text, RunnerOptions& options)
{
    for (size_t start = 0;;) {
        const size_t comma = text.find(L',', start);
        const std::wstring number = text.substr(start, comma == std::wstring::npos ? std::wstring::npos : comma - start);
        if (number.empty() || number.size() > 9 || number.find_first_not_of(L"0123456789") != std::wstring::npos)
            return false;
        options.observe.push_back(std::stoull(number));
        if (comma == std::wstring::npos)
            break;
        start = comma + 1;
    }
    std::sort(options.observe.begin(), options.observe.end());
    options.observe.erase(std::unique(options.observe.begin(), options.observe.end()), options.observe.end());
    return true;
}

std::wstring* CRunnerOptions::FileOption(const std::wstring& token, RunnerOptions& options)
{
    if (token == L"--wave")
        return &options.wave;
    options.boot = options.boot || token == L"--boot";
    options.makeFloppy = options.makeFloppy || token == L"--make-floppy";
    return token == L"--floppy" || token == L"--boot" || token == L"--make-floppy" ? &options.floppy : nullptr;
}

bool CRunnerOptions::Parse(const std::wstring& commandLine, RunnerOptions& options, std::wstring& bad)
{
    size_t at = 0;
    std::wstring token;
    NextToken(commandLine, at, token);
    bool optionsEnd = false;
    while (NextToken(commandLine, at, token)) {
        if (!optionsEnd && (token == L"--mem" || token == L"--dos-version" || token == L"--pace" || token == L"--observe")) {
            std::wstring value;
            bool known = NextToken(commandLine, at, value) &&
                         (token == L"--mem"       ? ParseMemory(value, options)
                          : token == L"--pace"    ? ParsePace(value, options)
                          : token == L"--observe" ? ParseObserve(value, options)
                                                  : ParseVersion(value, options));
            if (!known) {
                bad = token + L" " + value;
                return false;
            }
        } else if (!optionsEnd && token == L"--allow-writes") {
            std::wstring folder;
            if (!NextToken(commandLine, at, folder)) {
                bad = token;
                return false;
            }
            options.writableFolders.push_back(folder);
        } else if (std::wstring* file = optionsEnd ? nullptr : FileOption(token, options)) {
            if (!NextToken(commandLine, at, *file)) {
                bad = token;
                return false;
            }
        } else if (!optionsEnd && token == L"--pause") {
            options.pause = true;
        } else if (!optionsEnd && token == L"--fixed-time") {
            options.pace.fixed = true;
        } else if (!optionsEnd && token == L"--") {
            optionsEnd = true;
        } else if (!optionsEnd && token.rfind(L"--", 0) == 0) {
            bad = token;
            return false;
        } else if (options.boot || options.makeFloppy) {
            bad = token;
            return false;
        } else {
            options.program = token;
            options.tail = commandLine.substr(at);
            return true;
        }
    }
    bad.clear();
    return options.boot || options.makeFloppy;
}

}  // namespace dos
