// Registration of the document type with the desktop shell.
#include "framework/ShellRegistration.h"

#include "framework/CSingleDocTemplate.h"
#include "framework/Handles.h"

#include <windows.h>

#include <string>

namespace {
bool SetKeyValue(const std::string& key, const char* valueName, const std::string& value)
{
    UniqueHkey hkey;
    if (::RegCreateKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr,
                          hkey.put(), nullptr) != ERROR_SUCCESS)
        return false;
    return ::RegSetValueExA(hkey.get(), valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                            static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
}

std::string KeyDefaultValue(const std::string& key)
{
    char buffer[512] = "";
    LONG size = sizeof buffer;
    if (::RegQueryValueA(HKEY_CLASSES_ROOT, key.c_str(), buffer, &size) != ERROR_SUCCESS)
        return {};
    return buffer;
}

std::string ModulePath()
{
    char path[MAX_PATH * 4] = "";
    ::GetModuleFileNameA(nullptr, path, sizeof path);
    return path;
}
}

void RegisterShellFileTypes(const CSingleDocTemplate& docTemplate, bool shellOpen)
{
    std::string typeId = docTemplate.GetDocString(CSingleDocTemplate::regFileTypeId);
    std::string typeName = docTemplate.GetDocString(CSingleDocTemplate::regFileTypeName);
    std::string extension = docTemplate.GetDocString(CSingleDocTemplate::filterExt);
    if (typeId.empty())
        return;
    std::string program = "\"" + ModulePath() + "\"";
    SetKeyValue(typeId, nullptr, typeName);
    SetKeyValue(typeId + "\\DefaultIcon", nullptr, ModulePath() + ",1");
    SetKeyValue(typeId + "\\shell\\open\\command", nullptr, program + " \"%1\"");
    SetKeyValue(typeId + "\\shell\\print\\command", nullptr, program + " /p \"%1\"");
    SetKeyValue(typeId + "\\shell\\printto\\command", nullptr, program + " /pt \"%1\" \"%2\" \"%3\" \"%4\"");
    if (shellOpen)
        SetKeyValue(typeId + "\\shell\\open\\ddeexec", nullptr, "[open(\"%1\")]");
    if (extension.empty())
        return;
    std::string current = KeyDefaultValue(extension);
    if (current.empty() || current == typeId) {
        SetKeyValue(extension, nullptr, typeId);
        SetKeyValue(extension + "\\ShellNew", "NullFile", "");
    }
}

bool UnregisterShellFileTypes(const CSingleDocTemplate& docTemplate)
{
    std::string typeId = docTemplate.GetDocString(CSingleDocTemplate::regFileTypeId);
    std::string extension = docTemplate.GetDocString(CSingleDocTemplate::filterExt);
    bool done = true;
    if (!typeId.empty()) {
        LONG result = ::RegDeleteTreeA(HKEY_CLASSES_ROOT, typeId.c_str());
        done = result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
    }
    if (!extension.empty() && KeyDefaultValue(extension) == typeId) {
        LONG result = ::RegDeleteTreeA(HKEY_CLASSES_ROOT, extension.c_str());
        done = done && (result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND);
    }
    return done;
}
