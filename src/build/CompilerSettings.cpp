// The compiler settings store.
#include "build/CompilerSettings.h"

#include "framework/RegistryKey.h"
#include "framework/Services.h"

#include <algorithm>

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
    CRegistryKey key(root, CRegistryKey::Lifetime::Lasting);
    return OpenSettingsKey(key, services);
}

// A toolchain's values: its two paths, of any length, each changed only when its value is
// read; the rest, which are their defaults where they are missing.
void ReadToolchainValues(const CRegistryKey& key, CompilerSettings& settings)
{
    key.GetString(kCompilerValueName, settings.m_strCompilerPath);
    key.GetString(kLinkerValueName, settings.m_strLinkerPath);
    auto read = [&](const char* name) {
        std::string text;
        key.GetString(name, text);
        return text;
    };
    settings.m_strCompilerArgs = read(kCompilerArgsValueName);
    settings.m_strLinkerArgs = read(kLinkerArgsValueName);
    settings.m_strDebuggerPath = read(kDebuggerValueName);
    settings.m_bNoLink = read(kNoLinkValueName) == "1";
    settings.m_bFullSpeed51 = read(kFullSpeed51ValueName) == "1";
    settings.m_strBoard51 = read(kBoard51ValueName);
    settings.m_bBounce51 = read(kBounce51ValueName) == "1";
}

// A value that holds its default is not kept, so settings that use none of them stay as
// they always were.
bool WriteUnlessDefault(CRegistryKey& key, const char* name, const std::string& text)
{
    if (!text.empty())
        return key.SetString(name, text);
    key.DeleteValue(name);
    return true;
}

bool WriteToolchainValues(CRegistryKey& key, const CompilerSettings& settings)
{
    bool written = key.SetString(kCompilerValueName, settings.m_strCompilerPath);
    written = key.SetString(kLinkerValueName, settings.m_strLinkerPath) && written;
    written = WriteUnlessDefault(key, kCompilerArgsValueName, settings.m_strCompilerArgs) && written;
    written = WriteUnlessDefault(key, kLinkerArgsValueName, settings.m_strLinkerArgs) && written;
    written = WriteUnlessDefault(key, kDebuggerValueName, settings.m_strDebuggerPath) && written;
    written = WriteUnlessDefault(key, kFullSpeed51ValueName, settings.m_bFullSpeed51 ? "1" : "") && written;
    written = WriteUnlessDefault(key, kBoard51ValueName, settings.m_strBoard51) && written;
    written = WriteUnlessDefault(key, kBounce51ValueName, settings.m_bBounce51 ? "1" : "") && written;
    return WriteUnlessDefault(key, kNoLinkValueName, settings.m_bNoLink ? "1" : "") && written;
}

// A pace as its decimal text; anything else (a value of an older version: none) as fast as it can.
uint32_t ReadPace(const CRegistryKey& key)
{
    std::string text;
    key.GetString(kDosPaceValueName, text);
    if (text.empty() || text.size() > 7 || text.find_first_not_of("0123456789") != std::string::npos)
        return 0;
    return static_cast<uint32_t>(std::stoul(text));
}

bool IsSixteenBit(CompilerType type)
{
    return type == CompilerType::Masm || type == CompilerType::Tasm;
}

// The 16-bit toolchain chosen last; before there was one to keep, the chosen toolchain
// where it is one, else MASM.
CompilerType ReadAsmType(const CRegistryKey& key, CompilerType type)
{
    std::string text;
    key.GetString(kAsmTypeValueName, text);
    const CompilerType stored = CompilerTypeFromName(text);
    if (IsSixteenBit(stored))
        return stored;
    return IsSixteenBit(type) ? type : CompilerType::Masm;
}

// An earlier version kept the settings only until Windows restarted.
void MakeLastingWhereVolatile(HKEY root, const Services& services)
{
    CRegistryKey key(root, CRegistryKey::Lifetime::Lasting);
    if (!OpenSettingsKey(key, services) || !key.IsVolatile())
        return;
    key.Close();
    CRegistryKey::MakeLasting(root, kSettingsKeyPath);
}

enum class LoadOutcome { Loaded, LaidOut, Refused };

// Loading the settings below one root.
LoadOutcome LoadFromRoot(HKEY root, CompilerSettings& settings, const Services& services)
{
    MakeLastingWhereVolatile(root, services);
    CRegistryKey key(root, CRegistryKey::Lifetime::Lasting);
    if (OpenSettingsKey(key, services)) {
        std::string type;
        key.GetString(kTypeValueName, type);
        key.GetString(kDosEmulatorValueName, settings.m_strDosEmulatorPath);
        settings.m_nDosPace = ReadPace(key);
        key.GetString(kWritableFoldersValueName, settings.m_strWritableFolders);
        key.GetString(kFloppyValueName, settings.m_strFloppyImage);
        key.GetString(kLabBoxValueName, settings.m_strLabBox);
        settings.m_compilerType = CompilerTypeFromName(type);
        settings.m_asmType = ReadAsmType(key, settings.m_compilerType);
        if (settings.m_compilerType != CompilerType::None) {
            const char* subKey = CompilerTypeName(settings.m_compilerType);
            if (key.Open(subKey)) {
                ReadToolchainValues(key, settings);
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

std::vector<FilePath> WritableFolders(const CompilerSettings& settings)
{
    std::vector<FilePath> folders;
    const std::string& text = settings.m_strWritableFolders;
    for (size_t start = 0; start <= text.size();) {
        const size_t end = std::min(text.find(';', start), text.size());
        const size_t first = text.find_first_not_of(' ', start);
        const size_t last = text.find_last_not_of(' ', end == 0 ? 0 : end - 1);
        if (first < end && last != std::string::npos && last >= first)
            folders.push_back(FilePath::FromUtf8(text.substr(first, last - first + 1)));
        start = end + 1;
    }
    return folders;
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

Result<void> LoadCompilerSettings(CompilerSettings& settings, const Services& services)
{
    if (LoadFromRoot(MachineRoot(), settings, services) != LoadOutcome::Refused ||
        LoadFromRoot(UserRoot(), settings, services) != LoadOutcome::Refused)
        return {};
    return Problem{Problem::Kind::SettingsNotKept, {}};
}

Result<void> SaveCompilerSettings(const CompilerSettings& settings, const Services& services)
{
    CRegistryKey key(CompilerSettingsRoot(services), CRegistryKey::Lifetime::Lasting);
    if (!OpenSettingsKey(key, services))
        return Problem{Problem::Kind::SettingsNotKept, {}};
    const char* name = CompilerTypeName(settings.m_compilerType);
    const CompilerType asmType = IsSixteenBit(settings.m_compilerType) ? settings.m_compilerType : settings.m_asmType;
    bool written = key.SetString(kTypeValueName, name);
    written = key.SetString(kAsmTypeValueName, CompilerTypeName(asmType)) && written;
    written = key.SetString(kDosEmulatorValueName, settings.m_strDosEmulatorPath) && written;
    written = WriteUnlessDefault(key, kDosPaceValueName, settings.m_nDosPace ? std::to_string(settings.m_nDosPace) : "") &&
              written;
    written = WriteUnlessDefault(key, kWritableFoldersValueName, settings.m_strWritableFolders) && written;
    written = WriteUnlessDefault(key, kFloppyValueName, settings.m_strFloppyImage) && written;
    written = WriteUnlessDefault(key, kLabBoxValueName, settings.m_strLabBox) && written;
    if (*name != '\0')
        written = (key.Open(name) || key.Create(name)) && WriteToolchainValues(key, settings) && written;
    if (!written)
        return Problem{Problem::Kind::SettingsNotKept, {}};
    return {};
}

bool ReadToolchain(CompilerType type, CompilerSettings& settings, const Services& services)
{
    const char* name = CompilerTypeName(type);
    if (*name == '\0')
        return false;
    CRegistryKey key(CompilerSettingsRoot(services), CRegistryKey::Lifetime::Lasting);
    if (!OpenSettingsKey(key, services) || !key.Open(name))
        return false;
    ReadToolchainValues(key, settings);
    return true;
}
