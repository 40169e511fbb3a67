// Parsing of korvane-51.exe's arguments.
#include "run51/RunOptions51.h"

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

// Cycles separated by commas (0, the reset, among them), in any order.
bool ParseCycles(const std::wstring& text, std::vector<uint64_t>& cycles)
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
}

OptionError51 RunOptions51::Parse(const std::vector<std::wstring>& args)
{
    for (size_t i = 0; i < args.size(); ++i) {
        const std::wstring& arg = args[i];
        if (arg == L"--cycles") {
            if (i + 1 == args.size() || !ParseCount(args[++i], cycles))
                return OptionError51::kBadCycles;
        } else if (arg == L"--observe") {
            if (i + 1 == args.size() || !ParseCycles(args[++i], observe))
                return OptionError51::kBadObserve;
        } else if (arg == L"--regs") {
            regs = true;
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
    return program.empty() ? OptionError51::kUsage : OptionError51::kNone;
}

}  // namespace mcs51
