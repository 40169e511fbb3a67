// A wrapper over one registry key.
#include "build/RegistryKey.h"

CRegistryKey::CRegistryKey(HKEY hRootKey) : m_hRootKey(hRootKey), m_hKey(hRootKey) {}

CRegistryKey::~CRegistryKey()
{
    Close();
}

void CRegistryKey::MoveTo(HKEY hKey)
{
    // A key that Open or Create replaces would otherwise never be closed.
    if (m_hKey && m_hKey != m_hRootKey)
        ::RegCloseKey(m_hKey);
    m_hKey = hKey;
}

bool CRegistryKey::Open(const std::string& subKey)
{
    if (!m_hKey)
        return false;
    HKEY hKey = nullptr;
    if (::RegOpenKeyExA(m_hKey, subKey.c_str(), 0, KEY_ALL_ACCESS, &hKey) != ERROR_SUCCESS)
        return false;
    MoveTo(hKey);
    return true;
}

bool CRegistryKey::CreateBelow(HKEY hParent, const std::string& subKey)
{
    if (!hParent)
        return false;
    HKEY hKey = nullptr;
    DWORD disposition = 0;
    if (::RegCreateKeyExA(hParent, subKey.c_str(), 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &hKey,
                          &disposition) != ERROR_SUCCESS)
        return false;
    MoveTo(hKey);
    return true;
}

bool CRegistryKey::Create(const std::string& subKey)
{
    return CreateBelow(m_hKey, subKey);
}

bool CRegistryKey::CreateFromRoot(const std::string& subKeyPath)
{
    return CreateBelow(m_hRootKey, subKeyPath);
}

void CRegistryKey::Close()
{
    if (m_hKey) {
        if (m_hKey != m_hRootKey)
            ::RegCloseKey(m_hKey);
        m_hKey = nullptr;
    }
}

bool CRegistryKey::SetString(const std::string& name, const std::string& text)
{
    if (!m_hKey)
        return false;
    return ::RegSetValueExA(m_hKey, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                            static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
}

bool CRegistryKey::GetString(const std::string& name, std::string& text)
{
    if (!m_hKey)
        return false;
    BYTE buffer[MaxValueBytes];
    DWORD size = sizeof buffer;
    if (::RegQueryValueExA(m_hKey, name.c_str(), nullptr, nullptr, buffer, &size) != ERROR_SUCCESS)
        return false;
    if (size > sizeof buffer)
        return false;
    const char* bytes = reinterpret_cast<const char*>(buffer);
    size_t length = 0;
    while (length < size && bytes[length] != '\0')
        ++length;
    text.assign(bytes, length);
    return true;
}
