// korvane-dos.exe's own texts from its string table.
#include "dosrun/RunnerText.h"

#include <windows.h>

namespace dos {

namespace RunnerText {

std::wstring Load(unsigned id)
{
    const wchar_t* text = nullptr;
    int length = LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 ? std::wstring(text, static_cast<size_t>(length)) : std::wstring();
}

std::wstring Format(unsigned id, const std::vector<std::wstring>& inserts)
{
    std::wstring pattern = Load(id);
    std::vector<DWORD_PTR> arguments;
    for (const std::wstring& insert : inserts)
        arguments.push_back(reinterpret_cast<DWORD_PTR>(insert.c_str()));
    wchar_t* formatted = nullptr;
    DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_ARGUMENT_ARRAY,
                                  pattern.c_str(), 0, 0, reinterpret_cast<LPWSTR>(&formatted), 0,
                                  reinterpret_cast<va_list*>(arguments.empty() ? nullptr : arguments.data()));
    if (length == 0 || formatted == nullptr)
        return pattern;
    std::wstring text(formatted, length);
    LocalFree(formatted);
    return text;
}

std::string Encode(const std::wstring& text, unsigned codePage)
{
    if (text.empty())
        return {};
    int length = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), bytes.data(), length, nullptr, nullptr);
    return bytes;
}

std::wstring Decode(const std::string& bytes, unsigned codePage)
{
    if (bytes.empty())
        return {};
    int length = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), length);
    return text;
}

}

}  // namespace dos
