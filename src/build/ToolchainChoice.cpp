// Which toolchain builds a file.
#include "build/ToolchainChoice.h"

#include "framework/RegistryKey.h"

#include <cwctype>

namespace {

constexpr const char* kFilesKeyName = "files";
constexpr const wchar_t* kMcs51Extensions[] = {L".a51", L".51", L".src"};

std::wstring Lower(std::wstring text)
{
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(std::towlower(c));
    return text;
}

bool EndsWith(const std::wstring& text, const std::wstring& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// Windows compares file names without case, so the pick does too.
std::string FileKey(const FilePath& file)
{
    return FilePath(Lower(file.Wide())).Utf8();
}

// The files subkey of the settings, created on the way when asked.
bool OpenFilesKey(CRegistryKey& key, bool create)
{
    if (!key.Open(kSettingsKeyPath))
        return false;
    return create ? key.Create(kFilesKeyName) : key.Open(kFilesKeyName);
}
}

CompilerType ToolchainOfName(const FilePath& file, const CompilerSettings& stored)
{
    const std::wstring name = Lower(file.Name());
    for (const wchar_t* extension : kMcs51Extensions) {
        if (EndsWith(name, extension))
            return CompilerType::Mcs51;
    }
    return stored.m_asmType;
}

CompilerType PickedToolchainOf(const FilePath& file, const Services& services)
{
    CRegistryKey key(CompilerSettingsRoot(services), CRegistryKey::Lifetime::Lasting);
    std::string name;
    if (file.empty() || !OpenFilesKey(key, false) || !key.GetString(FileKey(file), name))
        return CompilerType::None;
    return CompilerTypeFromName(name);
}

void RememberToolchainOf(const FilePath& file, CompilerType type, const CompilerSettings& stored,
                         const Services& services)
{
    if (file.empty())
        return;
    CRegistryKey key(CompilerSettingsRoot(services), CRegistryKey::Lifetime::Lasting);
    const bool picked = type != CompilerType::None && type != ToolchainOfName(file, stored);
    if (!OpenFilesKey(key, picked))
        return;
    if (picked)
        key.SetString(FileKey(file), CompilerTypeName(type));
    else
        key.DeleteValue(FileKey(file));
}

CompilerType ToolchainOfFile(const FilePath& file, const CompilerSettings& stored, const Services& services)
{
    const CompilerType picked = PickedToolchainOf(file, services);
    return picked != CompilerType::None ? picked : ToolchainOfName(file, stored);
}

CompilerSettings SettingsOfToolchain(const CompilerSettings& stored, CompilerType type, const Services& services)
{
    if (type == stored.m_compilerType)
        return stored;
    CompilerSettings settings;
    settings.m_strDosEmulatorPath = stored.m_strDosEmulatorPath;
    settings.m_nDosPace = stored.m_nDosPace;
    settings.m_strWritableFolders = stored.m_strWritableFolders;
    settings.m_strFloppyImage = stored.m_strFloppyImage;
    settings.m_strLabBox = stored.m_strLabBox;
    settings.m_asmType = stored.m_asmType;
    settings.m_compilerType = type;
    ReadToolchain(type, settings, services);
    return settings;
}

const char* ToolchainDisplayName(CompilerType type)
{
    switch (type) {
    case CompilerType::Masm:
        return "MASM";
    case CompilerType::Tasm:
        return "TASM";
    case CompilerType::Mcs51:
        return "MCS51";
    default:
        return "";
    }
}
