// A wrapper over one registry key with open, create, close and string get/set.
#pragma once

#include "framework/CObject.h"

#include <windows.h>

#include <string>

class CRegistryKey : public CObject {
public:
    // The object stands on the root key until Open, Create or CreateFromRoot moves it.
    explicit CRegistryKey(HKEY hRootKey);
    ~CRegistryKey() override;

    // Opens the subkey of m_hKey (KEY_ALL_ACCESS); on success it becomes m_hKey.
    bool Open(const std::string& subKey);
    // Creates or opens the volatile subkey of m_hKey (KEY_ALL_ACCESS); on success it becomes m_hKey.
    bool Create(const std::string& subKey);
    // The same as Create, starting from m_hRootKey.
    bool CreateFromRoot(const std::string& subKeyPath);
    // Closes m_hKey when it is set and clears it. The root key is not the object's and is
    // never closed.
    void Close();

    // Writes the text as REG_SZ, with its terminating zero byte.
    bool SetString(const std::string& name, const std::string& text);
    // Reads at most 200 bytes (zero included). On success the value's bytes up to the first
    // zero byte are assigned to text; on failure (missing, too long) text is left unchanged.
    bool GetString(const std::string& name, std::string& text);

    // The limit of GetString, terminating zero byte included.
    static constexpr DWORD MaxValueBytes = 200;

    HKEY m_hRootKey;
    HKEY m_hKey;

private:
    // Makes the newly opened key current, closing the one the object stood on before.
    void MoveTo(HKEY hKey);
    bool CreateBelow(HKEY hParent, const std::string& subKey);
};
