// The recent-file list.
#include "framework/docview/CRecentFileList.h"

#include "framework/CCmdUI.h"
#include "framework/PathName.h"
#include "framework/RegistryKey.h"
#include "framework/Unicode.h"

#include <cstdio>

CRecentFileList::CRecentFileList(UINT firstId, const std::string& section, const std::string& entryFormat,
                                 size_t size, size_t maxDisplayLength)
    : m_nFirstId(firstId), m_strSectionName(section), m_strEntryFormat(entryFormat), m_nMaxSize(size),
      m_nMaxDisplayLength(maxDisplayLength)
{
}

void CRecentFileList::Add(const std::string& path)
{
    for (size_t i = 0; i < m_arrNames.size(); ++i) {
        if (EqualsIgnoringCase(m_arrNames[i], path)) {
            m_arrNames.erase(m_arrNames.begin() + static_cast<std::ptrdiff_t>(i));
            break;
        }
    }
    m_arrNames.insert(m_arrNames.begin(), path);
    if (m_arrNames.size() > m_nMaxSize)
        m_arrNames.resize(m_nMaxSize);
}

void CRecentFileList::Remove(size_t index)
{
    if (index < m_arrNames.size())
        m_arrNames.erase(m_arrNames.begin() + static_cast<std::ptrdiff_t>(index));
}

std::string AbbreviatePath(const std::string& path, size_t maxLength)
{
    if (GbkLength(path) <= maxLength)
        return path;
    std::vector<size_t> slashes = SeparatorPositions(path);
    std::string name = slashes.empty() ? path : path.substr(slashes.back() + 1);
    // The root: "c:\" or the "\\server\share\" prefix of a network path.
    size_t rootSlash = path.rfind("\\\\", 0) == 0 && slashes.size() > 3 ? 3 : 0;
    if (slashes.size() <= rootSlash + 1)
        return name;
    std::string root = path.substr(0, slashes[rootSlash] + 1) + "...";
    for (size_t k = rootSlash + 1; k < slashes.size(); ++k) {
        std::string candidate = root + path.substr(slashes[k]);
        if (GbkLength(candidate) <= maxLength)
            return candidate;
    }
    return name;
}

std::string CRecentFileList::GetDisplayName(size_t index) const
{
    return "&" + std::to_string(index + 1) + " " + AbbreviatePath(m_arrNames[index], m_nMaxDisplayLength);
}

void CRecentFileList::UpdateMenu(CCmdUI* pCmdUI)
{
    auto* menuUI = dynamic_cast<CMenuCmdUI*>(pCmdUI);
    if (!menuUI)
        return;
    HMENU menu = menuUI->m_hMenu;
    if (m_strOriginal.empty()) {
        wchar_t text[256] = L"";
        ::GetMenuStringW(menu, menuUI->m_nIndex, text, static_cast<int>(std::size(text)), MF_BYPOSITION);
        m_strOriginal = Narrow(text);
    }
    for (UINT id = m_nFirstId; id < m_nFirstId + m_nMaxSize; ++id)
        ::DeleteMenu(menu, id, MF_BYCOMMAND);
    if (m_arrNames.empty()) {
        ::InsertMenuW(menu, menuUI->m_nIndex, MF_BYPOSITION | MF_STRING | MF_GRAYED, m_nFirstId,
                      Widen(m_strOriginal).c_str());
        menuUI->m_bEnableChanged = true;
        return;
    }
    for (size_t i = 0; i < m_arrNames.size(); ++i) {
        ::InsertMenuW(menu, menuUI->m_nIndex + static_cast<UINT>(i), MF_BYPOSITION | MF_STRING,
                      m_nFirstId + static_cast<UINT>(i), Widen(GetDisplayName(i)).c_str());
    }
    menuUI->m_bEnableChanged = true;
}

void CRecentFileList::ReadList(const CRegistryKey& section)
{
    m_arrNames.clear();
    for (size_t i = 0; i < m_nMaxSize; ++i) {
        char entry[32];
        std::snprintf(entry, sizeof entry, m_strEntryFormat.c_str(), static_cast<int>(i + 1));
        std::string path;
        if (section.GetString(entry, path) && !path.empty())
            m_arrNames.push_back(path);
    }
}

void CRecentFileList::WriteList(CRegistryKey& section) const
{
    for (size_t i = 0; i < m_nMaxSize; ++i) {
        char entry[32];
        std::snprintf(entry, sizeof entry, m_strEntryFormat.c_str(), static_cast<int>(i + 1));
        if (i < m_arrNames.size())
            section.SetString(entry, m_arrNames[i]);
        else
            section.DeleteValue(entry);
    }
}
