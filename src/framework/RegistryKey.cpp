// A wrapper over one registry key.
#include "framework/RegistryKey.h"

#include "framework/Unicode.h"

#include <utility>
#include <vector>

CRegistryKey::CRegistryKey(HKEY hRootKey, Lifetime lifetime)
    : m_hRootKey(hRootKey), m_lifetime(lifetime), m_hKey(hRootKey)
{
}

CRegistryKey::CRegistryKey(CRegistryKey&& other) noexcept
    : m_hRootKey(other.m_hRootKey), m_lifetime(other.m_lifetime), m_hKey(std::exchange(other.m_hKey, nullptr)),
      m_ownedKey(std::move(other.m_ownedKey))
{
}

void CRegistryKey::MoveTo(HKEY hKey)
{
    m_ownedKey.reset(hKey);
    m_hKey = hKey;
}

bool CRegistryKey::Open(const std::string& subKey, REGSAM access)
{
    HKEY hKey = nullptr;
    if (!m_hKey || ::RegOpenKeyExW(m_hKey, Widen(subKey).c_str(), 0, access, &hKey) != ERROR_SUCCESS)
        return false;
    MoveTo(hKey);
    return true;
}

bool CRegistryKey::CreateBelow(HKEY hParent, const std::string& subKey)
{
    DWORD options = m_lifetime == Lifetime::Volatile ? REG_OPTION_VOLATILE : REG_OPTION_NON_VOLATILE;
    HKEY hKey = nullptr;
    if (!hParent || ::RegCreateKeyExW(hParent, Widen(subKey).c_str(), 0, nullptr, options, KEY_ALL_ACCESS, nullptr, &hKey,
                                      nullptr) != ERROR_SUCCESS)
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
    m_ownedKey.reset();
    m_hKey = nullptr;
}

bool CRegistryKey::SetString(const std::string& name, const std::string& text)
{
    std::wstring wide = Widen(text);
    return m_hKey && ::RegSetValueExW(m_hKey, Widen(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(wide.c_str()),
                                      static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool CRegistryKey::GetString(const std::string& name, std::string& text, size_t maxBytes) const
{
    const std::wstring wideName = Widen(name);
    DWORD type = REG_NONE;
    DWORD size = 0;
    if (!m_hKey || ::RegQueryValueExW(m_hKey, wideName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return false;
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return false;
    std::vector<wchar_t> chars(size / sizeof(wchar_t) + 1, L'\0');
    if (::RegQueryValueExW(m_hKey, wideName.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(chars.data()), &size) !=
        ERROR_SUCCESS)
        return false;
    std::string value = Narrow(std::wstring_view(chars.data(), std::char_traits<wchar_t>::length(chars.data())));
    // The limit counts the text as it was stored before the registry held UTF-16: GBK bytes
    // and a terminating zero.
    if (maxBytes != kAnyLength && GbkLength(value) + 1 > maxBytes)
        return false;
    text = value;
    return true;
}

bool CRegistryKey::DeleteValue(const std::string& name)
{
    return m_hKey && ::RegDeleteValueW(m_hKey, Widen(name).c_str()) == ERROR_SUCCESS;
}

bool CRegistryKey::GetRaw(const std::string& name, DWORD& type, std::string& bytes) const
{
    const std::wstring wideName = Widen(name);
    DWORD size = 0;
    if (!m_hKey || ::RegQueryValueExW(m_hKey, wideName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return false;
    bytes.assign(size, '\0');
    if (::RegQueryValueExW(m_hKey, wideName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(bytes.data()), &size) !=
        ERROR_SUCCESS)
        return false;
    bytes.resize(size);
    return true;
}

bool CRegistryKey::SetRaw(const std::string& name, DWORD type, const std::string& bytes)
{
    return m_hKey && ::RegSetValueExW(m_hKey, Widen(name).c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                                      static_cast<DWORD>(bytes.size())) == ERROR_SUCCESS;
}

std::vector<std::string> CRegistryKey::ValueNames() const
{
    std::vector<std::string> names;
    // Value names are at most 16,383 characters long.
    std::vector<wchar_t> name(16384);
    for (DWORD index = 0; m_hKey; ++index) {
        DWORD length = static_cast<DWORD>(name.size());
        if (::RegEnumValueW(m_hKey, index, name.data(), &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        names.push_back(Narrow(std::wstring_view(name.data(), length)));
    }
    return names;
}

std::vector<std::string> CRegistryKey::SubKeyNames() const
{
    std::vector<std::string> names;
    // Key names are at most 255 characters long.
    wchar_t name[256];
    for (DWORD index = 0; m_hKey; ++index) {
        DWORD length = static_cast<DWORD>(std::size(name));
        if (::RegEnumKeyExW(m_hKey, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        names.push_back(Narrow(std::wstring_view(name, length)));
    }
    return names;
}

bool CRegistryKey::DeleteTree(HKEY root, const std::string& path)
{
    LONG result = ::RegDeleteTreeW(root, Widen(path).c_str());
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
}

bool CRegistryKey::IsVolatile() const
{
    // Only a volatile key refuses a lasting subkey; the probe is removed at once.
    constexpr wchar_t kProbe[] = L"~lasting probe";
    HKEY probe = nullptr;
    const LONG result = ::RegCreateKeyExW(m_hKey, kProbe, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                                          &probe, nullptr);
    if (result == ERROR_SUCCESS) {
        ::RegCloseKey(probe);
        ::RegDeleteKeyW(m_hKey, kProbe);
    }
    return result == ERROR_CHILD_MUST_BE_VOLATILE;
}

namespace {
struct KeyCopy {
    struct Value {
        std::string name;
        DWORD type;
        std::string bytes;
    };
    std::vector<Value> values;
    std::vector<std::pair<std::string, KeyCopy>> subKeys;
};

KeyCopy CopyOf(const CRegistryKey& key, HKEY root, const std::string& path)
{
    KeyCopy copy;
    for (const std::string& name : key.ValueNames()) {
        KeyCopy::Value value{name, REG_NONE, {}};
        if (key.GetRaw(name, value.type, value.bytes))
            copy.values.push_back(std::move(value));
    }
    for (const std::string& name : key.SubKeyNames()) {
        CRegistryKey sub(root);
        if (sub.Open(path + "\\" + name, KEY_READ))
            copy.subKeys.emplace_back(name, CopyOf(sub, root, path + "\\" + name));
    }
    return copy;
}

void Write(const KeyCopy& copy, HKEY root, const std::string& path)
{
    CRegistryKey key(root, CRegistryKey::Lifetime::Lasting);
    if (!key.CreateFromRoot(path))
        return;
    for (const KeyCopy::Value& value : copy.values)
        key.SetRaw(value.name, value.type, value.bytes);
    for (const auto& [name, sub] : copy.subKeys)
        Write(sub, root, path + "\\" + name);
}
}

bool CRegistryKey::MakeLasting(HKEY root, const std::string& path)
{
    CRegistryKey key(root);
    if (!key.Open(path, KEY_READ))
        return false;
    const KeyCopy copy = CopyOf(key, root, path);
    key.Close();
    if (!DeleteTree(root, path))
        return false;
    Write(copy, root, path);
    return true;
}
