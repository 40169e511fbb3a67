// The host's files as DOS sees them: DOS drive letters are the host's, a name that is a valid
// 8.3 name is used as it is, any other under the volume's short name or an alias made for the
// run; Windows errors, attributes and times in DOS's terms. Host calls are the ...W ones.
#pragma once

#include "dos/DosError.h"
#include "dos/DosPath.h"

#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace dos {

// One directory entry as INT 21h 4Eh/4Fh report it.
struct DosDirEntry {
    std::string name;
    uint8_t attributes = 0;
    uint16_t time = 0;
    uint16_t date = 0;
    uint32_t size = 0;
};

class CHostFileSystem {
public:
    // DOS names and the tail pass through this code page (the system's OEM one by default).
    explicit CHostFileSystem(UINT codePage = CP_OEMCP) : m_nCodePage(codePage) {}

    // The host path of a DOS path. The last name need not exist (it is then the name given,
    // cut to 8.3); a missing folder before it is kErrPathNotFound.
    DosError ToHost(const DosPath::FullPath& full, std::wstring& host);
    // The DOS path of a host path that exists (a folder or a file).
    DosError ToDos(const std::wstring& host, DosPath::FullPath& full);
    // The entries of a host folder whose DOS names match the pattern (FCB form), with the
    // attributes DOS asks for (hidden, system and folders only when asked).
    DosError List(const std::wstring& hostFolder, const std::string& pattern, uint8_t attributes,
                  std::vector<DosDirEntry>& entries);

    static bool DriveExists(uint8_t drive);
    static DosError FromWin32(DWORD error);
    static uint8_t ToDosAttributes(DWORD attributes);
    static void ToDosTime(const FILETIME& time, uint16_t& date, uint16_t& clock);
    static FILETIME FromDosTime(uint16_t date, uint16_t clock);

private:
    // DOS bytes as the host's text, through the code page.
    std::wstring Widen(const std::string& bytes) const;
    // The DOS name of an entry of `hostFolder`, making an alias where it has no 8.3 name.
    std::string DosName(const std::wstring& hostFolder, const WIN32_FIND_DATAW& entry);
    std::string MakeAlias(const std::wstring& hostFolder, const std::wstring& longName);
    // The entry's real name in `hostFolder` for a DOS name, or empty.
    std::wstring FindEntry(const std::wstring& hostFolder, const std::string& name);
    static std::wstring Key(const std::wstring& folder, const std::wstring& name);

    UINT m_nCodePage;
    // Aliases made for this run: folder and alias to the long name, and back.
    std::map<std::wstring, std::wstring> m_aliasToLong;
    std::map<std::wstring, std::string> m_longToAlias;
};

}  // namespace dos
