// Assembling one source into its files.
#include "asm51run/AsmTool51.h"

#include "asm51/HexWriter51.h"
#include "asm51/ListingWriter51.h"
#include "asm51run/AsmStrings51.h"
#include "run51/ConsoleText51.h"

using mcs51::CConsoleText51;

namespace asm51 {

namespace {
// Sources, and the names they give their includes, are in GBK, the labs' code page.
constexpr UINT kSourceCodePage = 936;

std::wstring Decode(const std::string& bytes)
{
    const int size = ::MultiByteToWideChar(kSourceCodePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(static_cast<size_t>(size > 0 ? size : 0), L'\0');
    if (size > 0)
        ::MultiByteToWideChar(kSourceCodePage, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), size);
    return text;
}

std::string Encode(const std::wstring& text)
{
    const int size = ::WideCharToMultiByte(kSourceCodePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size > 0 ? size : 0), '\0');
    if (size > 0)
        ::WideCharToMultiByte(kSourceCodePage, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr, nullptr);
    return bytes;
}

size_t NameStart(const std::wstring& path)
{
    const size_t slash = path.find_last_of(L"\\/:");
    return slash == std::wstring::npos ? 0 : slash + 1;
}

// The path without its extension.
std::wstring BaseOf(const std::wstring& path)
{
    const size_t dot = path.rfind(L'.');
    return dot == std::wstring::npos || dot < NameStart(path) ? path : path.substr(0, dot);
}

bool IsAbsolute(const std::wstring& path)
{
    return (path.size() > 1 && path[1] == L':') || (!path.empty() && (path[0] == L'\\' || path[0] == L'/'));
}

unsigned CodeBytes(const CCodeImage51& image)
{
    unsigned count = 0;
    for (uint32_t address = 0; address < CCodeImage51::kSize; ++address)
        count += image.Used(address) ? 1 : 0;
    return count;
}
}

bool ReadWholeFile(const std::wstring& path, std::string& bytes)
{
    const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size{};
    bool ok = ::GetFileSizeEx(file, &size) && size.QuadPart < (1 << 26);
    if (ok) {
        bytes.assign(static_cast<size_t>(size.QuadPart), '\0');
        DWORD read = 0;
        ok = bytes.empty() || (::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) && read == bytes.size());
    }
    ::CloseHandle(file);
    return ok;
}

bool WriteWholeFile(const std::wstring& path, const std::string& bytes)
{
    const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok = bytes.empty() || (::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                                      written == bytes.size());
    // A short write leaves no half file behind.
    if (!::CloseHandle(file) || !ok) {
        ::DeleteFileW(path.c_str());
        return false;
    }
    return true;
}

std::wstring CAsmTool51::MessageLine(const Diagnostic51& diagnostic)
{
    const unsigned number = static_cast<unsigned>(diagnostic.message);
    std::wstring text = CConsoleText51::Format(IDS_ASM51_MESSAGE_BASE + number, Decode(diagnostic.detail));
    while (!text.empty() && text.back() == L' ')
        text.pop_back();
    return Decode(diagnostic.file) + L"(" + std::to_wstring(diagnostic.line) + L"): " +
           (IsWarning(diagnostic.message) ? L"warning" : L"error") + L" A51-" + std::to_wstring(number) + L": " + text;
}

std::wstring CAsmTool51::IncludePath(const std::string& name) const
{
    const std::wstring wide = Decode(name);
    return IsAbsolute(wide) || m_strFolder.empty() ? wide : m_strFolder + wide;
}

void CAsmTool51::Say(const std::wstring& text)
{
    const std::wstring line = text + L"\r\n";
    DWORD mode = 0;
    DWORD written = 0;
    if (::GetConsoleMode(m_output, &mode)) {
        ::WriteConsoleW(m_output, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
        return;
    }
    // Into a pipe or a file in GBK, as the sources and the listing are, whatever the system's
    // code page: Korvane's output panel reads tools' output so.
    CConsoleText51::WriteBytes(m_output, Encode(line));
}

bool CAsmTool51::WriteOutput(const std::wstring& path, const std::string& bytes)
{
    if (WriteWholeFile(path, bytes))
        return true;
    Say(CConsoleText51::Format(IDS_ASM51_CANNOT_WRITE, path));
    return false;
}

int CAsmTool51::Run(const std::vector<std::wstring>& args)
{
    bool binary = false;
    bool bad = false;
    std::wstring source;
    for (const std::wstring& arg : args) {
        if (arg == L"-b" || arg == L"/b")
            binary = true;
        else if (source.empty() && !arg.empty() && arg[0] != L'-')
            source = arg;
        else
            bad = true;
    }
    // "NAME.a51;" as MASM-style build lines end: the ";" asks nothing.
    if (!source.empty() && source.back() == L';')
        source.pop_back();
    if (bad || source.empty()) {
        Say(CConsoleText51::Load(IDS_ASM51_USAGE));
        return 2;
    }
    std::string text;
    if (!ReadWholeFile(source, text)) {
        Say(CConsoleText51::Format(IDS_ASM51_CANNOT_OPEN, source));
        return 2;
    }
    m_strFolder = source.substr(0, NameStart(source));
    CAssembler51 assembler([this](const std::string& name, std::string& bytes) { return ReadWholeFile(IncludePath(name), bytes); });
    assembler.Assemble(Encode(source), text);
    for (const Diagnostic51& diagnostic : assembler.Diagnostics())
        Say(MessageLine(diagnostic));

    const std::wstring base = BaseOf(source);
    const std::wstring title = source.substr(NameStart(source));
    const std::string listing = CListingWriter51::Write(assembler, Encode(title),
                                                        [](const Diagnostic51& d) { return Encode(MessageLine(d)); });
    bool written = WriteOutput(base + L".lst", listing);
    if (assembler.ErrorCount()) {
        ::DeleteFileW((base + L".hex").c_str());
        ::DeleteFileW((base + L".bin").c_str());
        Say(CConsoleText51::Format(IDS_ASM51_FAILED, title, std::to_wstring(assembler.ErrorCount())));
        return 1;
    }
    written = WriteOutput(base + L".hex", CHexWriter51::Write(assembler.Image())) && written;
    if (binary)
        written = WriteOutput(base + L".bin", CHexWriter51::Binary(assembler.Image())) && written;
    if (!written) {
        ::DeleteFileW((base + L".hex").c_str());
        return 2;
    }
    Say(CConsoleText51::Format(IDS_ASM51_DONE, title, std::to_wstring(CodeBytes(assembler.Image()))));
    return 0;
}

}  // namespace asm51
