// Loading, filling in and writing the runner's messages.
#include "run51/ConsoleText51.h"

namespace mcs51 {

std::wstring CConsoleText51::Load(UINT id)
{
    const wchar_t* text = nullptr;
    const int length = ::LoadStringW(::GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 ? std::wstring(text, static_cast<size_t>(length)) : std::wstring();
}

std::wstring CConsoleText51::Format(UINT id, const std::wstring& first, const std::wstring& second)
{
    const std::wstring pattern = Load(id);
    std::wstring text;
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == L'%' && i + 1 < pattern.size() && (pattern[i + 1] == L'1' || pattern[i + 1] == L'2')) {
            text += pattern[++i] == L'1' ? first : second;
            continue;
        }
        text += pattern[i];
    }
    return text;
}

void CConsoleText51::WriteLine(HANDLE handle, const std::wstring& text)
{
    const std::wstring line = text + L"\r\n";
    DWORD mode = 0;
    DWORD written = 0;
    if (::GetConsoleMode(handle, &mode)) {
        ::WriteConsoleW(handle, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
        return;
    }
    UINT codePage = ::GetConsoleOutputCP();
    if (!codePage)
        codePage = ::GetACP();
    const int size = ::WideCharToMultiByte(codePage, 0, line.data(), static_cast<int>(line.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size > 0 ? size : 0), '\0');
    if (size > 0)
        ::WideCharToMultiByte(codePage, 0, line.data(), static_cast<int>(line.size()), bytes.data(), size, nullptr, nullptr);
    WriteBytes(handle, bytes);
}

void CConsoleText51::WriteBytes(HANDLE handle, const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD written = 0;
        if (!::WriteFile(handle, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &written, nullptr) || !written)
            return;
        done += written;
    }
}

}  // namespace mcs51
