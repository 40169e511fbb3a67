// Registration of the document type with the desktop shell.
#include "framework/docview/ShellRegistration.h"

#include "framework/RegistryKey.h"
#include "framework/Unicode.h"

#include <windows.h>

#include <string>

namespace {
// Writes one value of a key below HKEY_CLASSES_ROOT (the default value for an empty name),
// unless the key already holds that text: a registration that is right stays untouched.
bool SetKeyValue(const std::string& key, const std::string& valueName, const std::string& value)
{
    CRegistryKey existing(HKEY_CLASSES_ROOT);
    std::string current;
    if (existing.Open(key, KEY_READ) && existing.GetString(valueName, current) && current == value)
        return true;
    CRegistryKey classes(HKEY_CLASSES_ROOT, CRegistryKey::Lifetime::Lasting);
    return classes.Create(key) && classes.SetString(valueName, value);
}

std::string KeyDefaultValue(const std::string& key)
{
    CRegistryKey classes(HKEY_CLASSES_ROOT);
    std::string value;
    if (classes.Open(key, KEY_READ))
        classes.GetString("", value);
    return value;
}

std::string ModulePath()
{
    wchar_t path[32768] = L"";
    ::GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
    return Narrow(path);
}
}

void RegisterShellFileTypes(const ShellFileType& type, bool shellOpen)
{
    const std::string& typeId = type.typeId;
    const std::string& extension = type.extension;
    if (typeId.empty())
        return;
    std::string program = "\"" + ModulePath() + "\"";
    SetKeyValue(typeId, "", type.typeName);
    SetKeyValue(typeId + "\\DefaultIcon", "", ModulePath() + ",1");
    SetKeyValue(typeId + "\\shell\\open\\command", "", program + " \"%1\"");
    SetKeyValue(typeId + "\\shell\\print\\command", "", program + " /p \"%1\"");
    SetKeyValue(typeId + "\\shell\\printto\\command", "", program + " /pt \"%1\" \"%2\" \"%3\" \"%4\"");
    if (shellOpen)
        SetKeyValue(typeId + "\\shell\\open\\ddeexec", "", "[open(\"%1\")]");
    if (extension.empty())
        return;
    std::string current = KeyDefaultValue(extension);
    if (current.empty() || current == typeId) {
        SetKeyValue(extension, "", typeId);
        SetKeyValue(extension + "\\ShellNew", "NullFile", "");
    }
}

bool UnregisterShellFileTypes(const ShellFileType& type)
{
    const std::string& typeId = type.typeId;
    const std::string& extension = type.extension;
    bool done = true;
    if (!typeId.empty())
        done = CRegistryKey::DeleteTree(HKEY_CLASSES_ROOT, typeId);
    if (!extension.empty() && KeyDefaultValue(extension) == typeId)
        done = CRegistryKey::DeleteTree(HKEY_CLASSES_ROOT, extension) && done;
    return done;
}
