// A wrapper over one registry key with open, create, close and value access: the one way the
// program reads and writes the registry (compiler settings, per-user profile, shell
// registration).
#pragma once

#include "framework/CObject.h"
#include "framework/Handles.h"

#include <windows.h>

#include <string>
#include <vector>

class CRegistryKey : public CObject {
public:
    // Whether the keys that Create makes last until the system restarts, or for good.
    enum class Lifetime { Volatile, Lasting };

    // The object stands on the root key until Open, Create or CreateFromRoot moves it.
    explicit CRegistryKey(HKEY hRootKey, Lifetime lifetime = Lifetime::Volatile);
    CRegistryKey(CRegistryKey&& other) noexcept;

    // Opens the subkey of the current key; on success it becomes the current key.
    bool Open(const std::string& subKey, REGSAM access = KEY_ALL_ACCESS);
    // Creates or opens the subkey of the current key (KEY_ALL_ACCESS); on success it becomes
    // the current key.
    bool Create(const std::string& subKey);
    // The same as Create, starting from the root key.
    bool CreateFromRoot(const std::string& subKeyPath);
    // Closes the current key; the object then stands nowhere. The root key is not the
    // object's and is never closed.
    void Close();
    HKEY GetRootKey() const { return m_hRootKey; }

    // Writes the text as REG_SZ, with its terminating zero byte. An empty name is the key's
    // default value.
    bool SetString(const std::string& name, const std::string& text);
    // Reads a string value of at most maxBytes bytes, its zero included. On success text is
    // the value's bytes up to the first zero byte; on failure (missing, not a string, too
    // long) text is left unchanged.
    bool GetString(const std::string& name, std::string& text, size_t maxBytes = kAnyLength) const;
    bool DeleteValue(const std::string& name);
    // A value as stored, of any type: for copying values whose meaning does not matter.
    bool GetRaw(const std::string& name, DWORD& type, std::string& bytes) const;
    bool SetRaw(const std::string& name, DWORD type, const std::string& bytes);
    // The names of the current key's values and of its subkeys.
    std::vector<std::string> ValueNames() const;
    std::vector<std::string> SubKeyNames() const;

    // Whether the current key lasts only until the system restarts.
    bool IsVolatile() const;

    // Removes the key at path below root with everything in it; true also when there was none.
    static bool DeleteTree(HKEY root, const std::string& path);
    // Makes the key at path below root, with everything in it, last: a volatile key is
    // copied, removed and made again. False, the key left as it was, when it cannot be read.
    static bool MakeLasting(HKEY root, const std::string& path);

    static constexpr size_t kAnyLength = static_cast<size_t>(-1);

private:
    // Makes the newly opened key current, closing the one the object stood on before.
    void MoveTo(HKEY hKey);
    bool CreateBelow(HKEY hParent, const std::string& subKey);

    HKEY m_hRootKey;
    Lifetime m_lifetime;
    HKEY m_hKey;
    UniqueHkey m_ownedKey;
};
