// Texts from the string table and the system's error texts.
#include "framework/Strings.h"

#include "framework/Unicode.h"

#include <vector>

std::string LoadResString(UINT id)
{
    // With no buffer, the system hands out a pointer to the resource's own UTF-16 text.
    const wchar_t* text = nullptr;
    int n = ::LoadStringW(::GetModuleHandleW(nullptr), id, reinterpret_cast<wchar_t*>(&text), 0);
    return n > 0 && text ? Narrow(std::wstring_view(text, static_cast<size_t>(n))) : std::string();
}

std::string FormatPlaceholders(const std::string& pattern, std::initializer_list<std::string> args)
{
    return FormatPlaceholders(pattern, std::vector<std::string>(args));
}

std::string FormatPlaceholders(const std::string& pattern, const std::vector<std::string>& values)
{
    std::string result;
    for (size_t i = 0; i < pattern.size(); ++i) {
        char c = pattern[i];
        if (c == '%' && i + 1 < pattern.size() && pattern[i + 1] >= '1' && pattern[i + 1] <= '9') {
            size_t index = pattern[i + 1] - '1';
            if (index < values.size()) {
                result += values[index];
                ++i;
                continue;
            }
        }
        result += c;
    }
    return result;
}

std::string FormatResString(UINT id, std::initializer_list<std::string> args)
{
    return FormatPlaceholders(LoadResString(id), args);
}

std::string PromptPart(const std::string& text)
{
    return text.substr(0, text.find('\n'));
}

std::string TipPart(const std::string& text)
{
    size_t pos = text.find('\n');
    return pos == std::string::npos ? std::string() : text.substr(pos + 1);
}

std::string SubString(const std::string& text, int field)
{
    size_t start = 0;
    for (int i = 0; i < field; ++i) {
        start = text.find('\n', start);
        if (start == std::string::npos)
            return {};
        ++start;
    }
    return text.substr(start, text.find('\n', start) - start);
}

static std::string FetchSystemText(DWORD error, size_t size)
{
    std::wstring buffer(size, L'\0');
    DWORD n = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                               MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), buffer.data(),
                               static_cast<DWORD>(size), nullptr);
    buffer.resize(n);
    return Narrow(buffer);
}

std::string SystemErrorText(DWORD error, size_t bufferSize)
{
    std::string text = FetchSystemText(error, bufferSize);
    if (text.empty() && ::GetLastError() == ERROR_INSUFFICIENT_BUFFER)
        text = FetchSystemText(error, 65536);
    if (text.empty())
        text = "Error " + std::to_string(error);
    return text;
}
