// The compiler settings store.
#include "build/CompilerSettings.h"

#include "framework/RegistryKey.h"
#include "framework/Services.h"

namespace {

// The roots in the order they are tried.
HKEY MachineRoot()
{
    return HKEY_LOCAL_MACHINE;
}

HKEY UserRoot()
{
    return HKEY_CURRENT_USER;
}

bool IsRefused(const CRegistryKey& key, const Services& services)
{
    return key.GetRootKey() == MachineRoot() && services.bMachineWideSettingsRefused;
}

// Open of software\korvane, where a refused machine-wide root always fails.
bool OpenSettingsKey(CRegistryKey& key, const Services& services)
{
    return !IsRefused(key, services) && key.Open(kSettingsKeyPath);
}

bool CreateSettingsKey(CRegistryKey& key, const Services& services)
{
    return !IsRefused(key, services) && key.Create(kSettingsKeyPath);
}

bool KeyOpens(HKEY root, const Services& services)
{
    CRegistryKey key(root);
    return OpenSettingsKey(key, services);
}

// A toolchain's two paths, of any length; each member changes only when its value is read.
void ReadPaths(const CRegistryKey& key, std::string& compiler, std::string& linker)
{
    key.GetString(kCompilerValueName, compiler);
    key.GetString(kLinkerValueName, linker);
}

enum class LoadOutcome { Loaded, LaidOut, Refused };

// Loading the settings below one root.
LoadOutcome LoadFromRoot(HKEY root, CompilerSettings& settings, const Services& services)
{
    CRegistryKey key(root);
    if (OpenSettingsKey(key, services)) {
        std::string type;
        key.GetString(kTypeValueName, type);
        key.GetString(kDosEmulatorValueName, settings.m_strDosEmulatorPath);
        settings.m_compilerType = CompilerTypeFromName(type);
        if (settings.m_compilerType != CompilerType::None) {
            const char* subKey = CompilerTypeName(settings.m_compilerType);
            if (key.Open(subKey)) {
                ReadPaths(key, settings.m_strCompilerPath, settings.m_strLinkerPath);
            } else if (key.Create(subKey)) {
                key.SetString(kCompilerValueName, "");
                key.SetString(kLinkerValueName, "");
            }
        }
        return LoadOutcome::Loaded;
    }
    if (!CreateSettingsKey(key, services))
        return LoadOutcome::Refused;
    key.SetString(kTypeValueName, "");
    key.SetString(kDosEmulatorValueName, "");
    for (CompilerType type : {CompilerType::Masm, CompilerType::Tasm, CompilerType::Mcs51}) {
        if (key.CreateFromRoot(std::string(kSettingsKeyPath) + "\\" + CompilerTypeName(type))) {
            key.SetString(kCompilerValueName, "");
            key.SetString(kLinkerValueName, "");
        }
    }
    return LoadOutcome::LaidOut;
}

}

const char* CompilerTypeName(CompilerType type)
{
    switch (type) {
    case CompilerType::Masm:
        return "masm";
    case CompilerType::Tasm:
        return "tasm";
    case CompilerType::Mcs51:
        return "mcs";
    default:
        return "";
    }
}

CompilerType CompilerTypeFromName(const std::string& name)
{
    for (CompilerType type : {CompilerType::Masm, CompilerType::Tasm, CompilerType::Mcs51}) {
        if (name == CompilerTypeName(type))
            return type;
    }
    return CompilerType::None;
}

HKEY CompilerSettingsRoot(const Services& services)
{
    if (KeyOpens(MachineRoot(), services))
        return MachineRoot();
    if (KeyOpens(UserRoot(), services))
        return UserRoot();
    return services.bMachineWideSettingsRefused ? UserRoot() : MachineRoot();
}

bool LoadCompilerSettings(CompilerSettings& settings, const Services& services)
{
    if (LoadFromRoot(MachineRoot(), settings, services) != LoadOutcome::Refused)
        return true;
    return LoadFromRoot(UserRoot(), settings, services) != LoadOutcome::Refused;
}

bool SaveCompilerSettings(const CompilerSettings& settings, const Services& services)
{
    CRegistryKey key(CompilerSettingsRoot(services));
    if (!OpenSettingsKey(key, services))
        return false;
    const char* name = CompilerTypeName(settings.m_compilerType);
    bool written = key.SetString(kTypeValueName, name);
    written = key.SetString(kDosEmulatorValueName, settings.m_strDosEmulatorPath) && written;
    if (*name == '\0')
        return written;
    if (!key.Open(name) && !key.Create(name))
        return false;
    written = key.SetString(kCompilerValueName, settings.m_strCompilerPath) && written;
    return key.SetString(kLinkerValueName, settings.m_strLinkerPath) && written;
}

bool ReadToolchainPaths(CompilerType type, std::string& compiler, std::string& linker, const Services& services)
{
    const char* name = CompilerTypeName(type);
    if (*name == '\0')
        return false;
    CRegistryKey key(CompilerSettingsRoot(services));
    if (!OpenSettingsKey(key, services) || !key.Open(name))
        return false;
    ReadPaths(key, compiler, linker);
    return true;
}
