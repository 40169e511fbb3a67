// Parsing of korvane-51.exe's arguments.
#include "run51/RunOptions51.h"

#include "mcs51/Board51.h"

#include <algorithm>

namespace mcs51 {

namespace {
// A decimal number that fits 64 bits.
bool ParseNumber(const std::wstring& text, uint64_t& number)
{
    if (text.empty() || text.size() > 19)
        return false;
    number = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9')
            return false;
        number = number * 10 + static_cast<uint64_t>(c - L'0');
    }
    return true;
}

bool ParseCount(const std::wstring& text, uint64_t& count)
{
    return ParseNumber(text, count) && count > 0;
}

// Times separated by commas (0, the reset, among them), in any order.
bool ParseTimes(const std::wstring& text, std::vector<uint64_t>& cycles)
{
    for (size_t start = 0;;) {
        const size_t comma = text.find(L',', start);
        uint64_t cycle = 0;
        if (!ParseNumber(text.substr(start, comma == std::wstring::npos ? std::wstring::npos : comma - start), cycle))
            return false;
        cycles.push_back(cycle);
        if (comma == std::wstring::npos)
            break;
        start = comma + 1;
    }
    std::sort(cycles.begin(), cycles.end());
    cycles.erase(std::unique(cycles.begin(), cycles.end()), cycles.end());
    return true;
}

// One of the boards' names.
bool ParseBoard(const std::wstring& text, std::string& board)
{
    for (const wchar_t c : text)
        if (c < L'a' || c > L'z')
            return false;
    board.assign(text.begin(), text.end());
    return CBoard51::KindOf(board).has_value();
}

// KEY@T1-T2: an ASCII key name, held from T1 to T2 (milliseconds, T1 before T2).
bool ParsePress(const std::wstring& text, Press51& press)
{
    const size_t at = text.find(L'@');
    const size_t dash = text.find(L'-', at == std::wstring::npos ? 0 : at);
    if (at == 0 || at == std::wstring::npos || dash == std::wstring::npos)
        return false;
    for (const wchar_t c : text.substr(0, at)) {
        if (c <= L' ' || c > L'~')
            return false;
        press.key += static_cast<char>(c);
    }
    return ParseNumber(text.substr(at + 1, dash - at - 1), press.from) && ParseNumber(text.substr(dash + 1), press.to) &&
           press.from < press.to;
}
}

OptionError51 RunOptions51::Parse(const std::vector<std::wstring>& args)
{
    for (size_t i = 0; i < args.size(); ++i) {
        const std::wstring& arg = args[i];
        if (arg == L"--cycles") {
            if (i + 1 == args.size() || !ParseCount(args[++i], cycles))
                return OptionError51::kBadCycles;
        } else if (arg == L"--observe") {
            if (i + 1 == args.size() || !ParseTimes(args[++i], observe))
                return OptionError51::kBadObserve;
        } else if (arg == L"--board") {
            if (i + 1 == args.size() || !ParseBoard(args[++i], board))
                return OptionError51::kBadBoard;
        } else if (arg == L"--press") {
            Press51 press;
            if (i + 1 == args.size() || !ParsePress(args[++i], press))
                return OptionError51::kBadPress;
            presses.push_back(press);
        } else if (arg == L"--bounce") {
            bounce = true;
        } else if (arg == L"--regs") {
            regs = true;
        } else if (arg == L"--iram") {
            iram = true;
        } else if (arg == L"--real-time") {
            realTime = true;
        } else if (arg == L"--8052") {
            mcs8052 = true;
        } else if (arg.size() > 1 && arg[0] == L'-') {
            return OptionError51::kUsage;
        } else if (program.empty()) {
            program = arg;
        } else {
            return OptionError51::kUsage;
        }
    }
    if (program.empty() || (iram && !regs))
        return OptionError51::kUsage;
    if ((!presses.empty() || bounce) && board.empty())
        return OptionError51::kBadPress;
    return OptionError51::kNone;
}

}  // namespace mcs51
