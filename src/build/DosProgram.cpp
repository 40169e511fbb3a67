// DOS programs and the system's support for them.
#include "build/DosProgram.h"

#include "framework/Handles.h"
#include "framework/Services.h"
#include "framework/Unicode.h"

#include <windows.h>

#include <cstring>

namespace {
constexpr DWORD kNewHeaderOffsetAt = 0x3C;

// Reads up to size bytes at offset; how many were read.
DWORD ReadAt(HANDLE file, DWORD offset, void* buffer, DWORD size)
{
    LARGE_INTEGER position{};
    position.QuadPart = offset;
    DWORD read = 0;
    if (!::SetFilePointerEx(file, position, nullptr, FILE_BEGIN) || !::ReadFile(file, buffer, size, &read, nullptr))
        return 0;
    return read;
}

bool HasComExtension(const FilePath& path)
{
    const std::wstring name = path.Name();
    return name.size() >= 4 && ::CompareStringOrdinal(name.c_str() + name.size() - 4, 4, L".com", 4, TRUE) == CSTR_EQUAL;
}

bool RunningUnderWine()
{
    HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    return ntdll && ::GetProcAddress(ntdll, "wine_get_version");
}

bool RunningOn64BitWindows()
{
#ifdef _WIN64
    return true;
#else
    BOOL wow64 = FALSE;
    return ::IsWow64Process(::GetCurrentProcess(), &wow64) && wow64;
#endif
}

// 32-bit Windows 10 keeps its DOS subsystem (NTVDM) as an optional feature.
bool DosSubsystemInstalled()
{
    wchar_t folder[MAX_PATH] = L"";
    const UINT n = ::GetSystemDirectoryW(folder, MAX_PATH);
    return n > 0 && n < MAX_PATH && ::GetFileAttributesW((std::wstring(folder) + L"\\ntvdm.exe").c_str()) !=
                                        INVALID_FILE_ATTRIBUTES;
}
}

bool IsDosProgram(const FilePath& path)
{
    if (HasComExtension(path))
        return true;
    UniqueHandle file = FileHandle(::CreateFileW(path.c_str(), GENERIC_READ,
                                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                                 OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    char header[kNewHeaderOffsetAt + 4] = {};
    const DWORD read = file ? ReadAt(file.get(), 0, header, sizeof header) : 0;
    if (read < 2 || std::memcmp(header, "MZ", 2) != 0)
        return false;
    // A header too short to hold the offset leads nowhere.
    if (read < sizeof header)
        return true;
    DWORD newHeader = 0;
    std::memcpy(&newHeader, header + kNewHeaderOffsetAt, sizeof newHeader);
    char signature[4] = {};
    return ReadAt(file.get(), newHeader, signature, sizeof signature) != sizeof signature ||
           std::memcmp(signature, "PE\0\0", 4) != 0;
}

bool SystemRunsDosPrograms(const Services& services)
{
    if (services.systemRunsDosPrograms)
        return *services.systemRunsDosPrograms;
    return !RunningUnderWine() && !RunningOn64BitWindows() && DosSubsystemInstalled();
}
