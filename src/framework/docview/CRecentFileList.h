// The recent-file list of the File menu, kept in the per-user profile.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class CCmdUI;
class CRegistryKey;

class CRecentFileList {
public:
    CRecentFileList(UINT firstId, const std::string& section, const std::string& entryFormat, size_t size,
                    size_t maxDisplayLength = 30);

    size_t GetSize() const { return m_arrNames.size(); }
    const std::string& operator[](size_t index) const { return m_arrNames[index]; }
    void Add(const std::string& path);
    void Remove(size_t index);
    // The menu text of an entry: "&n " followed by the path shortened to the display length.
    std::string GetDisplayName(size_t index) const;
    // Replaces the placeholder entry (or the entries shown before) with the current list.
    void UpdateMenu(CCmdUI* pCmdUI);

    // The profile section the list is kept in, and reading and writing it there.
    const std::string& GetSectionName() const { return m_strSectionName; }
    void ReadList(const CRegistryKey& section);
    void WriteList(CRegistryKey& section) const;

private:
    UINT m_nFirstId;
    std::string m_strSectionName;
    std::string m_strEntryFormat;
    size_t m_nMaxSize;
    size_t m_nMaxDisplayLength;
    std::vector<std::string> m_arrNames;
    std::string m_strOriginal;
};

// Shortens a path to at most maxLength bytes by replacing leading directories with "...",
// keeping the root and the file name ("c:\...\dir\name.asm"); the bare name when even that is too long.
std::string AbbreviatePath(const std::string& path, size_t maxLength);
