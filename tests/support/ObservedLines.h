// Reading what a runner's --observe printed: a text in code page 936 from UTF-8 (the device
// lines' own code page), and the lines of each "T=" block by time and label. Header only: the
// machines' test programs, which link no window code, read their runners' output so.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <sstream>
#include <string>

namespace ObservedLines {

inline std::string Gbk(const char* utf8)
{
    wchar_t wide[256];
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, utf8, -1, wide, 256);
    char bytes[512];
    const int size = ::WideCharToMultiByte(936, 0, wide, length, bytes, sizeof bytes, nullptr, nullptr);
    return std::string(bytes, size > 0 ? static_cast<size_t>(size - 1) : 0);
}

inline std::map<uint64_t, std::map<std::string, std::string>> Observations(const std::string& out)
{
    std::map<uint64_t, std::map<std::string, std::string>> blocks;
    std::istringstream lines(out);
    std::string line;
    uint64_t time = 0;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.rfind("T=", 0) == 0) {
            time = std::stoull(line.substr(2));
            continue;
        }
        const size_t colon = line.find(": ");
        if (colon != std::string::npos)
            blocks[time][line.substr(0, colon)] = line.substr(colon + 2);
    }
    return blocks;
}

}  // namespace ObservedLines
