// The number of handles and threads of the test process.
#include "support/HandleCount.h"

#include <tlhelp32.h>

#include <vector>

namespace {

// SystemExtendedHandleInformation (64) and its entries, as the native API lays them out.
struct ExtendedHandleEntry {
    PVOID object;
    ULONG_PTR uniqueProcessId;
    ULONG_PTR handleValue;
    ULONG grantedAccess;
    USHORT creatorBackTraceIndex;
    USHORT objectTypeIndex;
    ULONG handleAttributes;
    ULONG reserved;
};

struct ExtendedHandleInformation {
    ULONG_PTR numberOfHandles;
    ULONG_PTR reserved;
    ExtendedHandleEntry handles[1];
};

using QuerySystemInformation = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);

DWORD CountInSystemTable()
{
    auto query = reinterpret_cast<QuerySystemInformation>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    if (!query)
        return 0;
    std::vector<unsigned char> buffer(1 << 20);
    for (int attempt = 0; attempt < 8; ++attempt) {
        ULONG needed = 0;
        LONG status = query(64, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
        if (status == 0) {
            const auto* info = reinterpret_cast<const ExtendedHandleInformation*>(buffer.data());
            DWORD count = 0;
            ULONG_PTR self = ::GetCurrentProcessId();
            for (ULONG_PTR i = 0; i < info->numberOfHandles; ++i) {
                if (info->handles[i].uniqueProcessId == self)
                    ++count;
            }
            return count;
        }
        // STATUS_INFO_LENGTH_MISMATCH: try again with more room.
        if (static_cast<ULONG>(status) != 0xC0000004u)
            return 0;
        buffer.resize(needed > buffer.size() ? needed + 65536 : buffer.size() * 2);
    }
    return 0;
}

}

DWORD OwnHandleCount()
{
    DWORD count = 0;
    if (::GetProcessHandleCount(::GetCurrentProcess(), &count) && count > 0)
        return count;
    return CountInSystemTable();
}

DWORD OwnThreadCount()
{
    HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return 0;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    DWORD count = 0;
    for (BOOL more = ::Thread32First(snapshot, &entry); more; more = ::Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID == ::GetCurrentProcessId())
            ++count;
    }
    ::CloseHandle(snapshot);
    return count;
}
