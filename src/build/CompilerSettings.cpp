// The compiler settings store.
#include "build/CompilerSettings.h"

#include "framework/RegistryKey.h"

#include <atomic>

namespace {

std::atomic<bool> g_machineWideRefused{false};

// The roots in the order they are tried.
HKEY MachineRoot()
{
    return HKEY_LOCAL_MACHINE;
}

HKEY UserRoot()
{
    return HKEY_CURRENT_USER;
}

// Open of software\korvane, where a refused machine-wide root always fails.
bool OpenSettingsKey(CRegistryKey& key)
{
    if (key.GetRootKey() == MachineRoot() && g_machineWideRefused)
        return false;
    return key.Open(kSettingsKeyPath);
}

bool CreateSettingsKey(CRegistryKey& key)
{
    if (key.GetRootKey() == MachineRoot() && g_machineWideRefused)
        return false;
    return key.Create(kSettingsKeyPath);
}

bool KeyOpens(HKEY root)
{
    CRegistryKey key(root);
    return OpenSettingsKey(key);
}

// A toolchain's two paths, of any length; each member changes only when its value is read.
void ReadPaths(const CRegistryKey& key, std::string& compiler, std::string& linker)
{
    key.GetString(kCompilerValueName, compiler);
    key.GetString(kLinkerValueName, linker);
}

enum class LoadOutcome { Loaded, LaidOut, Refused };

// Loading the settings below one root.
LoadOutcome LoadFromRoot(HKEY root, CompilerSettings& settings)
{
    CRegistryKey key(root);
    if (OpenSettingsKey(key)) {
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
    if (!CreateSettingsKey(key))
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

void SetMachineWideSettingsRefused(bool refused)
{
    g_machineWideRefused = refused;
}

bool IsMachineWideSettingsRefused()
{
    return g_machineWideRefused;
}

HKEY CompilerSettingsRoot()
{
    if (KeyOpens(MachineRoot()))
        return MachineRoot();
    if (KeyOpens(UserRoot()))
        return UserRoot();
    return g_machineWideRefused ? UserRoot() : MachineRoot();
}

bool LoadCompilerSettings(CompilerSettings& settings)
{
    if (LoadFromRoot(MachineRoot(), settings) != LoadOutcome::Refused)
        return true;
    return LoadFromRoot(UserRoot(), settings) != LoadOutcome::Refused;
}

void SaveCompilerSettings(const CompilerSettings& settings)
{
    CRegistryKey key(CompilerSettingsRoot());
    if (!OpenSettingsKey(key))
        return;
    const char* name = CompilerTypeName(settings.m_compilerType);
    key.SetString(kTypeValueName, name);
    key.SetString(kDosEmulatorValueName, settings.m_strDosEmulatorPath);
    if (*name == '\0')
        return;
    if (key.Open(name) || key.Create(name)) {
        key.SetString(kCompilerValueName, settings.m_strCompilerPath);
        key.SetString(kLinkerValueName, settings.m_strLinkerPath);
    }
}

bool ReadToolchainPaths(CompilerType type, std::string& compiler, std::string& linker)
{
    const char* name = CompilerTypeName(type);
    if (*name == '\0')
        return false;
    CRegistryKey key(CompilerSettingsRoot());
    if (!OpenSettingsKey(key) || !key.Open(name))
        return false;
    ReadPaths(key, compiler, linker);
    return true;
}
