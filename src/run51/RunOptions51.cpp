// Parsing of korvane-51.exe's arguments.
#include "run51/RunOptions51.h"

namespace mcs51 {

namespace {
// A decimal count of at least 1 that fits 64 bits.
bool ParseCount(const std::wstring& text, uint64_t& count)
{
    if (text.empty() || text.size() > 19)
        return false;
    count = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9')
            return false;
        count = count * 10 + static_cast<uint64_t>(c - L'0');
    }
    return count > 0;
}
}

OptionError51 RunOptions51::Parse(const std::vector<std::wstring>& args)
{
    for (size_t i = 0; i < args.size(); ++i) {
        const std::wstring& arg = args[i];
        if (arg == L"--cycles") {
            if (i + 1 == args.size() || !ParseCount(args[++i], cycles))
                return OptionError51::kBadCycles;
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
