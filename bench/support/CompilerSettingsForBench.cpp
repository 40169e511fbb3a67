// Compiler settings for the benches.
#include "support/CompilerSettingsForBench.h"

namespace {
const char kSettingsKey[] = "software\\korvane";
}

void KeepCompilerSettings(RegistryKeepsake& keepsake)
{
    // The settings live below HKEY_CURRENT_USER where the machine-wide key is refused.
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER})
        keepsake.Keep(root, kSettingsKey, CRegistryKey::Lifetime::Volatile);
}

void SetToolchain(const std::string& compiler)
{
    CRegistryKey key(HKEY_LOCAL_MACHINE);
    if (key.Create(kSettingsKey)) {
        key.SetString("type", "masm");
        if (key.Create("masm"))
            key.SetString("cmp", compiler);
    }
}
