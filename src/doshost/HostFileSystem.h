// The host's names as DOS sees them: DOS drive letters are the host's, a name that is a valid
// 8.3 name is used as it is, any other under the volume's short name or an alias made for the
// run; Windows errors, attributes and times in DOS's terms. Host calls are the ...W ones.
#pragma once

#include "dos/DosError.h"
#include "dos/Drive.h"

#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace dos {

class CHostFileSystem {
public:
    // DOS names pass through this code page.
    explicit CHostFileSystem(UINT codePage) : m_nCodePage(codePage) {}

    // The host path of a DOS path. The last name need not exist (it is then the name given,
    // cut to 8.3); a missing folder before it is kErrPathNotFound.
    DosError ToHost(const DosPath::FullPath& full, std::wstring& host);
    // The DOS path of a host path that exists (a folder or a file).
    DosError ToDos(const std::wstring& host, DosPath::FullPath& full);
    // The one spelling of a DOS path (IDrive::Canonical): each existing part under its DOS name.
    DosPath::FullPath Canonical(const DosPath::FullPath& full);
    // Every entry of a host folder under its DOS name, "." and ".." but at a drive's root.
    DosError List(const std::wstring& hostFolder, std::vector<DosDirEntry>& entries);

    static DosError FromWin32(DWORD error);
    static uint8_t ToDosAttributes(DWORD attributes);
    // The attributes a program may set: read-only, hidden, system, archive.
    static DWORD ToHostAttributes(uint8_t attributes);
    static void ToDosTime(const FILETIME& time, uint16_t& date, uint16_t& clock);
    static FILETIME FromDosTime(uint16_t date, uint16_t clock);

private:
    // DOS bytes as the host's text, through the code page.
    std::wstring Widen(const std::string& bytes) const;
    // The DOS name of an entry of `hostFolder`, making an alias where it has no 8.3 name.
    std::string DosName(const std::wstring& hostFolder, const WIN32_FIND_DATAW& entry);
    std::string MakeAlias(const std::wstring& hostFolder, const std::wstring& longName);
    // The entry of `hostFolder` for a DOS name as given or, failing that, cut to 8.3. Unless
    // `scan`, a name the host does not find itself (Wine's short names) is taken as missing.
    bool FindPart(const std::wstring& hostFolder, const std::string& part, WIN32_FIND_DATAW& entry, bool scan = true);
    bool FindEntry(const std::wstring& hostFolder, const std::string& name, WIN32_FIND_DATAW& entry, bool scan);
    static std::wstring Key(const std::wstring& folder, const std::wstring& name);

    UINT m_nCodePage;
    // Aliases made for this run: folder and alias to the long name, and back.
    std::map<std::wstring, std::wstring> m_aliasToLong;
    std::map<std::wstring, std::string> m_longToAlias;
};

}  // namespace dos
