// korvane-dos.exe's command line, read from the raw line so that the tail keeps its blanks
// and quotes exactly.
#include "dosrun/RunnerOptions.h"

#include "labbox/LabPreset.h"
#include "labbox/LabWiring.h"

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

bool CRunnerOptions::ParseWiring(const std::wstring& text, RunnerOptions& options)
{
    const std::string table(text.begin(), text.end());
    int badLine = 0;
    if (text.find_first_not_of(L" !\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[]^_abcdefghijklmnopqrstuvwxyz{|}~") !=
            std::wstring::npos ||
        !labbox::CLabWiring::Parse(table, badLine))
        return false;
    options.wiring = table;
    return true;
}

bool CRunnerOptions::ParseLabBox(const std::wstring& text, RunnerOptions& options)
{
    const std::string name(text.begin(), text.end());
    if (text.find_first_not_of(L"0123456789abcdefghijklmnopqrstuvwxyz") != std::wstring::npos || !labbox::LabPreset::Find(name))
        return false;
    options.labbox = name;
    return true;
}

bool CRunnerOptions::ParseSetting(const std::wstring& text, RunnerOptions& options)
{
    const size_t at = text.rfind(L'@');
    if (at == std::wstring::npos)
        return false;
    const std::wstring time = text.substr(at + 1);
    if (time.empty() || time.size() > 9 || time.find_first_not_of(L"0123456789") != std::wstring::npos)
        return false;
    BoxSetting setting;
    setting.ms = std::stoull(time);
    const std::wstring what = text.substr(0, at);
    const size_t equals = what.find(L'=');
    const std::wstring name = what.substr(0, equals);
    const std::wstring value = equals == std::wstring::npos ? L"" : what.substr(equals + 1);
    if (name == L"pulse" && equals == std::wstring::npos) {
        setting.kind = BoxSetting::Kind::Pulse;
    } else if (name == L"switches" && value.size() == 8 && value.find_first_not_of(L"01") == std::wstring::npos) {
        setting.kind = BoxSetting::Kind::Switches;
        for (const wchar_t bit : value)
            setting.switches = static_cast<uint8_t>(setting.switches << 1 | (bit == L'1'));
    } else if (name.rfind(L"adc", 0) == 0 && name.size() <= 4 && !value.empty() && value.size() <= 8 &&
               value.find_first_not_of(L"0123456789.") == std::wstring::npos && std::count(value.begin(), value.end(), L'.') <= 1 &&
               value != L".") {
        setting.kind = BoxSetting::Kind::Analog;
        if (name.size() == 4) {
            if (name[3] < L'0' || name[3] > L'7')
                return false;
            setting.input = static_cast<unsigned>(name[3] - L'0');
        }
        setting.volts = std::stod(value);
        if (setting.volts > 5.0)
            return false;
    } else {
        return false;
    }
    options.settings.push_back(setting);
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
        if (!optionsEnd && (token == L"--mem" || token == L"--dos-version" || token == L"--pace" || token == L"--observe" ||
                             token == L"--labbox" || token == L"--set" || token == L"--wiring")) {
            std::wstring value;
            bool known = NextToken(commandLine, at, value) &&
                         (token == L"--mem"       ? ParseMemory(value, options)
                          : token == L"--pace"    ? ParsePace(value, options)
                          : token == L"--observe" ? ParseObserve(value, options)
                          : token == L"--labbox"  ? ParseLabBox(value, options)
                          : token == L"--set"     ? ParseSetting(value, options)
                          : token == L"--wiring"  ? ParseWiring(value, options)
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
            // A hand on the box, or its wiring, wants a box.
            if ((!options.settings.empty() || !options.wiring.empty()) && options.labbox.empty()) {
                bad = options.settings.empty() ? L"--wiring" : L"--set";
                return false;
            }
            return true;
        }
    }
    bad.clear();
    return options.boot || options.makeFloppy;
}

}  // namespace dos
