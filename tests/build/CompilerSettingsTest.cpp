// The compiler settings store on the test's private Wine prefix. The real key
// software\korvane is the one under test: it is removed before and after every test, below
// HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER alike.
#include "build/CompilerSettings.h"
#include "framework/RegistryKey.h"
#include "framework/Services.h"

#include "support/HandleCount.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

// Settings as a failed expectation shows them.
void PrintTo(const CompilerSettings& settings, std::ostream* out)
{
    *out << "{" << CompilerTypeName(settings.m_compilerType) << ", " << settings.m_strCompilerPath << ", "
         << settings.m_strLinkerPath << "}";
}

namespace {

bool KeyExists(HKEY root, const std::string& path)
{
    HKEY key = nullptr;
    if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(key);
    return true;
}

struct RawValue {
    bool exists = false;
    DWORD type = REG_NONE;
    std::string data; // every byte, terminating zero included
};

RawValue ReadRaw(HKEY root, const std::string& path, const std::string& name)
{
    RawValue value;
    HKEY key = nullptr;
    if (::RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return value;
    BYTE buffer[4096];
    DWORD size = sizeof buffer;
    if (::RegQueryValueExA(key, name.c_str(), nullptr, &value.type, buffer, &size) == ERROR_SUCCESS) {
        value.exists = true;
        value.data.assign(reinterpret_cast<const char*>(buffer), size);
    }
    ::RegCloseKey(key);
    return value;
}

// The stored text of a REG_SZ value, without its terminating zero; "<missing>" when absent.
std::string StoredText(HKEY root, const std::string& path, const std::string& name)
{
    RawValue value = ReadRaw(root, path, name);
    if (!value.exists)
        return "<missing>";
    std::string text = value.data;
    if (!text.empty() && text.back() == '\0')
        text.pop_back();
    return text;
}

void WriteRaw(HKEY root, const std::string& path, const std::string& name, const std::string& text,
              DWORD options = REG_OPTION_NON_VOLATILE)
{
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExA(root, path.c_str(), 0, nullptr, options, KEY_ALL_ACCESS, nullptr, &key,
                                               nullptr));
    ASSERT_EQ(ERROR_SUCCESS, ::RegSetValueExA(key, name.c_str(), 0, REG_SZ,
                                              reinterpret_cast<const BYTE*>(text.c_str()),
                                              static_cast<DWORD>(text.size() + 1)));
    ::RegCloseKey(key);
}

std::string Sub(const char* name)
{
    return std::string(kSettingsKeyPath) + "\\" + name;
}

CompilerSettings Settings(CompilerType type, const std::string& compiler, const std::string& linker)
{
    CompilerSettings settings;
    settings.m_compilerType = type;
    settings.m_strCompilerPath = compiler;
    settings.m_strLinkerPath = linker;
    // As a load gives it: a 16-bit toolchain is the one chosen last.
    if (type == CompilerType::Masm || type == CompilerType::Tasm)
        settings.m_asmType = type;
    return settings;
}

// Saves the settings; a save that fails counts as a failure.
void Save(const CompilerSettings& settings)
{
    EXPECT_TRUE(SaveCompilerSettings(settings, AppServices()));
}

// Loads into settings and gives them back; a load that fails counts as a failure.
const CompilerSettings& Load(CompilerSettings& settings)
{
    EXPECT_TRUE(LoadCompilerSettings(settings, AppServices()));
    return settings;
}

// Checks that the whole layout is there below root with "type" = type and each toolchain's
// two paths empty, every value stored as REG_SZ with its terminating zero.
void ExpectEmptyLayout(HKEY root)
{
    ASSERT_TRUE(KeyExists(root, kSettingsKeyPath));
    RawValue type = ReadRaw(root, kSettingsKeyPath, "type");
    EXPECT_TRUE(type.exists);
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), type.type);
    EXPECT_EQ(std::string(1, '\0'), type.data);
    EXPECT_EQ(std::string(1, '\0'), ReadRaw(root, kSettingsKeyPath, "dos").data);
    for (const char* sub : {"masm", "tasm", "mcs"}) {
        SCOPED_TRACE(sub);
        ASSERT_TRUE(KeyExists(root, Sub(sub)));
        for (const char* value : {"cmp", "lnk"}) {
            RawValue raw = ReadRaw(root, Sub(sub), value);
            EXPECT_TRUE(raw.exists) << value;
            EXPECT_EQ(static_cast<DWORD>(REG_SZ), raw.type) << value;
            EXPECT_EQ(std::string(1, '\0'), raw.data) << value;
        }
    }
}

// Creating a non-volatile subkey below a volatile key fails with ERROR_CHILD_MUST_BE_VOLATILE.
LONG CreateNonVolatileBelow(HKEY root, const std::string& path)
{
    HKEY key = nullptr;
    LONG result = ::RegCreateKeyExA(root, (path + "\\probe").c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                    KEY_ALL_ACCESS, nullptr, &key, nullptr);
    if (result == ERROR_SUCCESS) {
        ::RegCloseKey(key);
        ::RegDeleteKeyA(root, (path + "\\probe").c_str());
    }
    return result;
}

// What the settings dialog reads when a toolchain is picked, its two paths.
bool ReadPaths(CompilerType type, std::string& compiler, std::string& linker)
{
    CompilerSettings settings{CompilerType::None, compiler, linker, ""};
    const bool read = ReadToolchain(type, settings, AppServices());
    compiler = settings.m_strCompilerPath;
    linker = settings.m_strLinkerPath;
    return read;
}

class CompilerSettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        AppServices().bMachineWideSettingsRefused = false;
        ClearCompilerSettings();
    }
    void TearDown() override
    {
        AppServices().bMachineWideSettingsRefused = false;
        ClearCompilerSettings();
    }

    // The layout of a first start, below HKEY_LOCAL_MACHINE.
    void LayOut()
    {
        CompilerSettings settings;
        ASSERT_TRUE(LoadCompilerSettings(settings, AppServices()));
        ASSERT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kSettingsKeyPath));
    }
};

}

TEST(CompilerTypeTest, NamesMatchExactly)
{
    for (CompilerType type : {CompilerType::Masm, CompilerType::Tasm, CompilerType::Mcs51})
        EXPECT_EQ(type, CompilerTypeFromName(CompilerTypeName(type)));
    EXPECT_STREQ("", CompilerTypeName(CompilerType::None));
    EXPECT_STREQ("", CompilerTypeName(static_cast<CompilerType>(7)));
    for (const char* name : {"", "MASM", "mcs51", "masm "})
        EXPECT_EQ(CompilerType::None, CompilerTypeFromName(name)) << name;
}

TEST_F(CompilerSettingsTest, FirstStartLaysOutEmptyKeys)
{
    CompilerSettings settings;
    EXPECT_TRUE(LoadCompilerSettings(settings, AppServices()));
    EXPECT_EQ(CompilerType::None, settings.m_compilerType);
    EXPECT_EQ("", settings.m_strCompilerPath);
    EXPECT_EQ("", settings.m_strLinkerPath);
    ExpectEmptyLayout(HKEY_LOCAL_MACHINE);
    // Where the machine-wide key works, nothing goes below HKEY_CURRENT_USER.
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kSettingsKeyPath));
}

TEST_F(CompilerSettingsTest, FirstStartKeepsTheMembersAsTheyWere)
{
    CompilerSettings settings = Settings(CompilerType::Tasm, "c:\\t\\tasm.exe", "c:\\t\\tlink.exe");
    EXPECT_TRUE(LoadCompilerSettings(settings, AppServices()));
    EXPECT_EQ(CompilerType::Tasm, settings.m_compilerType);
    EXPECT_EQ("c:\\t\\tasm.exe", settings.m_strCompilerPath);
    EXPECT_EQ("c:\\t\\tlink.exe", settings.m_strLinkerPath);
    ExpectEmptyLayout(HKEY_LOCAL_MACHINE);
}

TEST_F(CompilerSettingsTest, SecondLoadAfterLayoutFindsNoType)
{
    LayOut();
    CompilerSettings settings = Settings(CompilerType::Masm, "keep-c", "keep-l");
    EXPECT_TRUE(LoadCompilerSettings(settings, AppServices()));
    EXPECT_EQ(CompilerType::None, settings.m_compilerType);
    EXPECT_EQ("keep-c", settings.m_strCompilerPath);
    EXPECT_EQ("keep-l", settings.m_strLinkerPath);
    ExpectEmptyLayout(HKEY_LOCAL_MACHINE);
}

TEST_F(CompilerSettingsTest, UpperCaseOrUnknownTypeLoadsAsNoneAndLeavesPaths)
{
    LayOut();
    WriteRaw(HKEY_LOCAL_MACHINE, Sub("masm"), "cmp", "c:\\masm\\masm.exe");
    WriteRaw(HKEY_LOCAL_MACHINE, Sub("masm"), "lnk", "c:\\masm\\link.exe");
    for (const char* stored : {"MASM", "Tasm", "mcs51", "other", " masm"}) {
        SCOPED_TRACE(stored);
        WriteRaw(HKEY_LOCAL_MACHINE, kSettingsKeyPath, "type", stored);
        CompilerSettings settings = Settings(CompilerType::Masm, "prev-c", "prev-l");
        EXPECT_TRUE(LoadCompilerSettings(settings, AppServices()));
        EXPECT_EQ(CompilerType::None, settings.m_compilerType);
        EXPECT_EQ("prev-c", settings.m_strCompilerPath);
        EXPECT_EQ("prev-l", settings.m_strLinkerPath);
    }
    CompilerSettings fresh;
    EXPECT_TRUE(LoadCompilerSettings(fresh, AppServices()));
    EXPECT_EQ("", fresh.m_strCompilerPath);
    EXPECT_EQ("", fresh.m_strLinkerPath);
}

TEST_F(CompilerSettingsTest, MissingTypeValueLoadsAsNone)
{
    LayOut();
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSettingsKeyPath, 0, KEY_ALL_ACCESS, &key));
    ASSERT_EQ(ERROR_SUCCESS, ::RegDeleteValueA(key, "type"));
    ::RegCloseKey(key);
    CompilerSettings settings = Settings(CompilerType::Mcs51, "c", "l");
    EXPECT_TRUE(LoadCompilerSettings(settings, AppServices()));
    EXPECT_EQ(CompilerType::None, settings.m_compilerType);
    EXPECT_EQ("c", settings.m_strCompilerPath);
    EXPECT_EQ("l", settings.m_strLinkerPath);
}

TEST_F(CompilerSettingsTest, EachToolchainLoadsItsOwnPaths)
{
    LayOut();
    WriteRaw(HKEY_LOCAL_MACHINE, Sub("masm"), "cmp", "c:\\masm\\masm.exe");
    WriteRaw(HKEY_LOCAL_MACHINE, Sub("masm"), "lnk", "c:\\masm\\link.exe");
    WriteRaw(HKEY_LOCAL_MACHINE, Sub("tasm"), "cmp", "c:\\tasm\\tasm.exe");
    WriteRaw(HKEY_LOCAL_MACHINE, Sub("tasm"), "lnk", "c:\\tasm\\tlink.exe");
    WriteRaw(HKEY_LOCAL_MACHINE, Sub("mcs"), "cmp", "c:\\mcs\\asm51.exe");
    WriteRaw(HKEY_LOCAL_MACHINE, Sub("mcs"), "lnk", "c:\\mcs\\oh.exe");
    struct Case {
        const char* stored;
        CompilerType type;
        const char* compiler;
        const char* linker;
    } cases[] = {
        {"masm", CompilerType::Masm, "c:\\masm\\masm.exe", "c:\\masm\\link.exe"},
        {"tasm", CompilerType::Tasm, "c:\\tasm\\tasm.exe", "c:\\tasm\\tlink.exe"},
        {"mcs", CompilerType::Mcs51, "c:\\mcs\\asm51.exe", "c:\\mcs\\oh.exe"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        WriteRaw(HKEY_LOCAL_MACHINE, kSettingsKeyPath, "type", c.stored);
        CompilerSettings settings;
        EXPECT_TRUE(LoadCompilerSettings(settings, AppServices()));
        EXPECT_EQ(c.type, settings.m_compilerType);
        EXPECT_EQ(c.compiler, settings.m_strCompilerPath);
        EXPECT_EQ(c.linker, settings.m_strLinkerPath);
    }
}

TEST_F(CompilerSettingsTest, MissingValueKeepsItsMember)
{
    LayOut();
    WriteRaw(HKEY_LOCAL_MACHINE, kSettingsKeyPath, "type", "masm");
    WriteRaw(HKEY_LOCAL_MACHINE, Sub("masm"), "cmp", "c:\\masm\\masm.exe");
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, Sub("masm").c_str(), 0, KEY_ALL_ACCESS, &key));
    ASSERT_EQ(ERROR_SUCCESS, ::RegDeleteValueA(key, "lnk"));
    ::RegCloseKey(key);
    CompilerSettings settings = Settings(CompilerType::None, "old-c", "old-l");
    EXPECT_TRUE(LoadCompilerSettings(settings, AppServices()));
    EXPECT_EQ(CompilerType::Masm, settings.m_compilerType);
    EXPECT_EQ("c:\\masm\\masm.exe", settings.m_strCompilerPath);
    EXPECT_EQ("old-l", settings.m_strLinkerPath);
}

TEST_F(CompilerSettingsTest, StoredTypeWithMissingSubkeyCreatesItEmpty)
{
    LayOut();
    ASSERT_EQ(ERROR_SUCCESS, ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, Sub("tasm").c_str()));
    ASSERT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, Sub("tasm")));
    WriteRaw(HKEY_LOCAL_MACHINE, kSettingsKeyPath, "type", "tasm");

    CompilerSettings settings; // right after start
    EXPECT_TRUE(LoadCompilerSettings(settings, AppServices()));
    EXPECT_EQ(CompilerType::Tasm, settings.m_compilerType);
    EXPECT_EQ("", settings.m_strCompilerPath);
    EXPECT_EQ("", settings.m_strLinkerPath);
    ASSERT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, Sub("tasm")));
    EXPECT_EQ(std::string(1, '\0'), ReadRaw(HKEY_LOCAL_MACHINE, Sub("tasm"), "cmp").data);
    EXPECT_EQ(std::string(1, '\0'), ReadRaw(HKEY_LOCAL_MACHINE, Sub("tasm"), "lnk").data);
    EXPECT_EQ(ERROR_SUCCESS, CreateNonVolatileBelow(HKEY_LOCAL_MACHINE, Sub("tasm")));
    // Nothing was written into the settings key itself.
    EXPECT_FALSE(ReadRaw(HKEY_LOCAL_MACHINE, kSettingsKeyPath, "cmp").exists);
    EXPECT_EQ("tasm", StoredText(HKEY_LOCAL_MACHINE, kSettingsKeyPath, "type"));

    // With paths already in the members, they are kept.
    ASSERT_EQ(ERROR_SUCCESS, ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, Sub("tasm").c_str()));
    CompilerSettings earlier = Settings(CompilerType::Masm, "c:\\a.exe", "c:\\b.exe");
    EXPECT_TRUE(LoadCompilerSettings(earlier, AppServices()));
    EXPECT_EQ(CompilerType::Tasm, earlier.m_compilerType);
    EXPECT_EQ("c:\\a.exe", earlier.m_strCompilerPath);
    EXPECT_EQ("c:\\b.exe", earlier.m_strLinkerPath);
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, Sub("tasm")));
}

TEST_F(CompilerSettingsTest, SaveStoresTheTypeTextAndPathsUnderItsSubkey)
{
    LayOut();
    struct Case {
        CompilerType type;
        const char* stored;
    } cases[] = {{CompilerType::Masm, "masm"}, {CompilerType::Tasm, "tasm"}, {CompilerType::Mcs51, "mcs"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        std::string compiler = std::string("c:\\") + c.stored + "\\compiler.exe";
        std::string linker = std::string("c:\\") + c.stored + "\\linker.exe";
        Save(Settings(c.type, compiler, linker));
        RawValue type = ReadRaw(HKEY_LOCAL_MACHINE, kSettingsKeyPath, "type");
        EXPECT_EQ(static_cast<DWORD>(REG_SZ), type.type);
        EXPECT_EQ(std::string(c.stored) + '\0', type.data);
        RawValue cmp = ReadRaw(HKEY_LOCAL_MACHINE, Sub(c.stored), "cmp");
        EXPECT_EQ(static_cast<DWORD>(REG_SZ), cmp.type);
        EXPECT_EQ(compiler + '\0', cmp.data);
        EXPECT_EQ(linker, StoredText(HKEY_LOCAL_MACHINE, Sub(c.stored), "lnk"));

        CompilerSettings loaded;
        EXPECT_TRUE(LoadCompilerSettings(loaded, AppServices()));
        EXPECT_EQ(c.type, loaded.m_compilerType);
        EXPECT_EQ(compiler, loaded.m_strCompilerPath);
        EXPECT_EQ(linker, loaded.m_strLinkerPath);
    }
}

TEST_F(CompilerSettingsTest, SaveWithNoneStoresEmptyTypeAndTouchesNoPath)
{
    LayOut();
    Save(Settings(CompilerType::Masm, "c:\\masm\\masm.exe", "c:\\masm\\link.exe"));
    Save(Settings(CompilerType::None, "c:\\other\\x.exe", "c:\\other\\y.exe"));
    EXPECT_EQ(std::string(1, '\0'), ReadRaw(HKEY_LOCAL_MACHINE, kSettingsKeyPath, "type").data);
    EXPECT_EQ("c:\\masm\\masm.exe", StoredText(HKEY_LOCAL_MACHINE, Sub("masm"), "cmp"));
    EXPECT_EQ("c:\\masm\\link.exe", StoredText(HKEY_LOCAL_MACHINE, Sub("masm"), "lnk"));
    for (const char* sub : {"tasm", "mcs"}) {
        EXPECT_EQ("", StoredText(HKEY_LOCAL_MACHINE, Sub(sub), "cmp")) << sub;
        EXPECT_EQ("", StoredText(HKEY_LOCAL_MACHINE, Sub(sub), "lnk")) << sub;
    }
    EXPECT_FALSE(ReadRaw(HKEY_LOCAL_MACHINE, kSettingsKeyPath, "cmp").exists);
    EXPECT_FALSE(ReadRaw(HKEY_LOCAL_MACHINE, kSettingsKeyPath, "lnk").exists);

    CompilerSettings loaded = Settings(CompilerType::Masm, "kept", "kept too");
    EXPECT_EQ(Load(loaded), Settings(CompilerType::None, "kept", "kept too"));
}

TEST_F(CompilerSettingsTest, EachToolchainKeepsItsOwnPaths)
{
    LayOut();
    Save(Settings(CompilerType::Masm, "c:\\masm\\masm.exe", "c:\\masm\\link.exe"));
    Save(Settings(CompilerType::Tasm, "c:\\tasm\\tasm.exe", "c:\\tasm\\tlink.exe"));
    EXPECT_EQ("tasm", StoredText(HKEY_LOCAL_MACHINE, kSettingsKeyPath, "type"));
    EXPECT_EQ("c:\\masm\\masm.exe", StoredText(HKEY_LOCAL_MACHINE, Sub("masm"), "cmp"));
    EXPECT_EQ("c:\\masm\\link.exe", StoredText(HKEY_LOCAL_MACHINE, Sub("masm"), "lnk"));
    EXPECT_EQ("c:\\tasm\\tasm.exe", StoredText(HKEY_LOCAL_MACHINE, Sub("tasm"), "cmp"));
    EXPECT_EQ("c:\\tasm\\tlink.exe", StoredText(HKEY_LOCAL_MACHINE, Sub("tasm"), "lnk"));
    EXPECT_EQ("", StoredText(HKEY_LOCAL_MACHINE, Sub("mcs"), "cmp"));

    CompilerSettings loaded;
    EXPECT_EQ(Load(loaded), Settings(CompilerType::Tasm, "c:\\tasm\\tasm.exe", "c:\\tasm\\tlink.exe"));

    // Switching back to MASM restores the paths entered for it earlier.
    std::string compiler, linker;
    EXPECT_TRUE(ReadPaths(CompilerType::Masm, compiler, linker));
    EXPECT_EQ("c:\\masm\\masm.exe", compiler);
    EXPECT_EQ("c:\\masm\\link.exe", linker);
    Save(Settings(CompilerType::Masm, compiler, linker));
    EXPECT_EQ(Load(loaded), Settings(CompilerType::Masm, "c:\\masm\\masm.exe", "c:\\masm\\link.exe"));
    EXPECT_EQ("c:\\tasm\\tasm.exe", StoredText(HKEY_LOCAL_MACHINE, Sub("tasm"), "cmp"));
}

TEST_F(CompilerSettingsTest, SaveCreatesAMissingSubkeyThatLasts)
{
    LayOut();
    ASSERT_EQ(ERROR_SUCCESS, ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, Sub("mcs").c_str()));
    Save(Settings(CompilerType::Mcs51, "c:\\mcs\\asm51.exe", "c:\\mcs\\oh.exe"));
    EXPECT_EQ("mcs", StoredText(HKEY_LOCAL_MACHINE, kSettingsKeyPath, "type"));
    EXPECT_EQ("c:\\mcs\\asm51.exe", StoredText(HKEY_LOCAL_MACHINE, Sub("mcs"), "cmp"));
    EXPECT_EQ("c:\\mcs\\oh.exe", StoredText(HKEY_LOCAL_MACHINE, Sub("mcs"), "lnk"));
    EXPECT_EQ(ERROR_SUCCESS, CreateNonVolatileBelow(HKEY_LOCAL_MACHINE, Sub("mcs")));
}

TEST_F(CompilerSettingsTest, SaveWithoutTheSettingsKeyWritesNothing)
{
    const Result<void> saved =
        SaveCompilerSettings(Settings(CompilerType::Masm, "c:\\masm\\masm.exe", "c:\\masm\\link.exe"), AppServices());
    ASSERT_FALSE(saved);
    EXPECT_EQ(saved.Error().kind, Problem::Kind::SettingsNotKept);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kSettingsKeyPath));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kSettingsKeyPath));
}

TEST_F(CompilerSettingsTest, PathsInAnyScriptRoundTrip)
{
    LayOut();
    // Chinese, and a letter that GBK does not have.
    std::string compiler = "c:\\汇编\\Jörg\\masm.exe";
    Save(Settings(CompilerType::Masm, compiler, "c:\\link.exe"));

    CompilerSettings loaded;
    EXPECT_TRUE(LoadCompilerSettings(loaded, AppServices()));
    EXPECT_EQ(compiler, loaded.m_strCompilerPath);
    EXPECT_EQ("c:\\link.exe", loaded.m_strLinkerPath);
}

// Paths of 200 bytes or more were once dropped on reading.
TEST_F(CompilerSettingsTest, PathsOfAnyLengthAreRead)
{
    LayOut();
    const std::string compiler = "c:\\" + std::string(300, 'm') + "\\masm.exe";
    std::string linker = "c:\\";
    for (int i = 0; i < 60; ++i)
        linker += "汇编";
    linker += "\\link.exe";
    const std::string emulator = "c:\\" + std::string(250, 'd') + "\\dosbox.exe";
    Save(CompilerSettings{CompilerType::Masm, compiler, linker, emulator});
    CompilerSettings loaded;
    EXPECT_EQ(Load(loaded), (CompilerSettings{CompilerType::Masm, compiler, linker, emulator}));
    std::string readCompiler, readLinker;
    EXPECT_TRUE(ReadPaths(CompilerType::Masm, readCompiler, readLinker));
    EXPECT_EQ(readCompiler, compiler);
    EXPECT_EQ(readLinker, linker);
}

TEST_F(CompilerSettingsTest, TheEmulatorIsKeptBesideTheTypeWhateverTheToolchain)
{
    LayOut();
    Save(CompilerSettings{CompilerType::None, "c:\\x.exe", "", "c:\\dos box\\msdos.exe"});
    EXPECT_EQ("c:\\dos box\\msdos.exe", StoredText(HKEY_LOCAL_MACHINE, kSettingsKeyPath, "dos"));
    EXPECT_EQ("", StoredText(HKEY_LOCAL_MACHINE, Sub("masm"), "cmp"));
    CompilerSettings loaded = Settings(CompilerType::Tasm, "c", "l");
    EXPECT_EQ(Load(loaded), (CompilerSettings{CompilerType::None, "c", "l", "c:\\dos box\\msdos.exe"}));

    // Below the user's key where the machine-wide one is refused.
    ClearCompilerSettings();
    AppServices().bMachineWideSettingsRefused = true;
    EXPECT_TRUE(LoadCompilerSettings(loaded, AppServices()));
    Save(CompilerSettings{CompilerType::Masm, "", "", "c:\\dosbox\\dosbox.exe"});
    EXPECT_EQ("c:\\dosbox\\dosbox.exe", StoredText(HKEY_CURRENT_USER, kSettingsKeyPath, "dos"));
    CompilerSettings fresh;
    EXPECT_EQ(Load(fresh).m_strDosEmulatorPath, "c:\\dosbox\\dosbox.exe");
}

// The DOS machine's pace, writable folders, floppy image and lab box are kept beside the
// emulator, whatever the toolchain; a pace that is not a number is the default, as fast as it can.
TEST_F(CompilerSettingsTest, TheDosMachinesPaceAndWritableFoldersAreKeptBesideTheEmulator)
{
    LayOut();
    CompilerSettings saved{CompilerType::Masm, "c", "l"};
    saved.m_nDosPace = 3000;
    saved.m_strWritableFolders = "d:\\labs ; ;e:\\data";
    saved.m_strFloppyImage = "d:\\labs\\boot.img";
    saved.m_strLabBox = "288";
    Save(saved);
    EXPECT_EQ("3000", StoredText(HKEY_LOCAL_MACHINE, kSettingsKeyPath, "pace"));
    EXPECT_EQ("d:\\labs\\boot.img", StoredText(HKEY_LOCAL_MACHINE, kSettingsKeyPath, "floppy"));
    EXPECT_EQ("288", StoredText(HKEY_LOCAL_MACHINE, kSettingsKeyPath, "labbox"));
    CompilerSettings loaded;
    EXPECT_EQ(Load(loaded), saved);
    EXPECT_EQ(WritableFolders(loaded), (std::vector<FilePath>{FilePath(L"d:\\labs"), FilePath(L"e:\\data")}));

    saved.m_nDosPace = 0;
    saved.m_strWritableFolders.clear();
    saved.m_strFloppyImage.clear();
    saved.m_strLabBox.clear();
    Save(saved);
    CompilerSettings fresh;
    EXPECT_EQ(Load(fresh), saved) << "the defaults are kept as no values";
}

// The settings last across a restart of Windows; an earlier version's volatile keys are made
// lasting at the first load, every value kept, and another process reads them.
TEST_F(CompilerSettingsTest, KeysLastAndAnEarlierVersionsVolatileKeysAreMadeLasting)
{
    LayOut();
    EXPECT_EQ(ERROR_SUCCESS, CreateNonVolatileBelow(HKEY_LOCAL_MACHINE, kSettingsKeyPath));
    for (const char* sub : {"masm", "tasm", "mcs"})
        EXPECT_EQ(ERROR_SUCCESS, CreateNonVolatileBelow(HKEY_LOCAL_MACHINE, Sub(sub))) << sub;

    ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, kSettingsKeyPath);
    WriteRaw(HKEY_LOCAL_MACHINE, kSettingsKeyPath, "type", "tasm", REG_OPTION_VOLATILE);
    WriteRaw(HKEY_LOCAL_MACHINE, kSettingsKeyPath, "dos", "c:\\dosbox\\dosbox.exe", REG_OPTION_VOLATILE);
    WriteRaw(HKEY_LOCAL_MACHINE, Sub("tasm"), "cmp", "c:\\tasm\\tasm.exe", REG_OPTION_VOLATILE);
    WriteRaw(HKEY_LOCAL_MACHINE, Sub("masm"), "lnk", "c:\\masm\\link.exe", REG_OPTION_VOLATILE);
    ASSERT_EQ(ERROR_CHILD_MUST_BE_VOLATILE, CreateNonVolatileBelow(HKEY_LOCAL_MACHINE, kSettingsKeyPath));

    CompilerSettings settings;
    Load(settings);
    EXPECT_EQ(CompilerType::Tasm, settings.m_compilerType);
    EXPECT_EQ("c:\\tasm\\tasm.exe", settings.m_strCompilerPath);
    EXPECT_EQ("c:\\dosbox\\dosbox.exe", settings.m_strDosEmulatorPath);
    EXPECT_EQ(ERROR_SUCCESS, CreateNonVolatileBelow(HKEY_LOCAL_MACHINE, kSettingsKeyPath));
    EXPECT_EQ(ERROR_SUCCESS, CreateNonVolatileBelow(HKEY_LOCAL_MACHINE, Sub("masm")));
    EXPECT_EQ("c:\\masm\\link.exe", StoredText(HKEY_LOCAL_MACHINE, Sub("masm"), "lnk"));

    FILE* query = ::_wpopen(L"reg query \"HKLM\\software\\korvane\\tasm\" /v cmp", L"r");
    ASSERT_NE(query, nullptr);
    std::string printed;
    for (char buffer[256]; std::fgets(buffer, sizeof buffer, query);)
        printed += buffer;
    ::_pclose(query);
    EXPECT_NE(printed.find("c:\\tasm\\tasm.exe"), std::string::npos) << printed;
}

// The 16-bit toolchain chosen last is what a file that is no 8051 source builds with, also
// after the 8051's was chosen; before one was kept, the chosen one where it is 16-bit.
TEST_F(CompilerSettingsTest, TheSixteenBitToolchainChosenLastIsKept)
{
    const struct {
        const char* storedType;
        const char* storedAsm;
        CompilerType loaded;
    } kCases[] = {
        {"", nullptr, CompilerType::Masm},      {"tasm", nullptr, CompilerType::Tasm},
        {"mcs", nullptr, CompilerType::Masm},   {"mcs", "tasm", CompilerType::Tasm},
        {"masm", "tasm", CompilerType::Tasm},   {"mcs", "mcs", CompilerType::Masm},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(std::string(c.storedType) + "/" + (c.storedAsm ? c.storedAsm : "-"));
        ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, kSettingsKeyPath);
        LayOut();
        WriteRaw(HKEY_LOCAL_MACHINE, kSettingsKeyPath, "type", c.storedType);
        if (c.storedAsm)
            WriteRaw(HKEY_LOCAL_MACHINE, kSettingsKeyPath, "asm", c.storedAsm);
        CompilerSettings settings;
        EXPECT_EQ(Load(settings).m_asmType, c.loaded);
    }
    for (CompilerType saved : {CompilerType::Tasm, CompilerType::Mcs51}) {
        CompilerSettings settings;
        Load(settings);
        settings.m_compilerType = saved;
        Save(settings);
    }
    EXPECT_EQ("tasm", StoredText(HKEY_LOCAL_MACHINE, kSettingsKeyPath, "asm")) << "the 8051's leaves it";
}

TEST_F(CompilerSettingsTest, ReadingAToolchainReadsOnlyWhenBothKeysOpen)
{
    std::string compiler = "on screen c", linker = "on screen l";
    // No settings key at all.
    EXPECT_FALSE(ReadPaths(CompilerType::Masm, compiler, linker));
    EXPECT_EQ("on screen c", compiler);
    EXPECT_EQ("on screen l", linker);

    LayOut();
    WriteRaw(HKEY_LOCAL_MACHINE, Sub("tasm"), "cmp", "c:\\tasm\\tasm.exe");
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, Sub("tasm").c_str(), 0, KEY_ALL_ACCESS, &key));
    ASSERT_EQ(ERROR_SUCCESS, ::RegDeleteValueA(key, "lnk"));
    ::RegCloseKey(key);
    EXPECT_TRUE(ReadPaths(CompilerType::Tasm, compiler, linker));
    EXPECT_EQ("c:\\tasm\\tasm.exe", compiler);
    EXPECT_EQ("on screen l", linker); // missing value: unchanged

    // Missing subkey: nothing read, not created.
    ASSERT_EQ(ERROR_SUCCESS, ::RegDeleteTreeA(HKEY_LOCAL_MACHINE, Sub("mcs").c_str()));
    compiler = "x";
    linker = "y";
    EXPECT_FALSE(ReadPaths(CompilerType::Mcs51, compiler, linker));
    EXPECT_EQ("x", compiler);
    EXPECT_EQ("y", linker);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, Sub("mcs")));

    EXPECT_FALSE(ReadPaths(CompilerType::None, compiler, linker));
    EXPECT_EQ("x", compiler);

    // Empty stored values are read as empty.
    EXPECT_TRUE(ReadPaths(CompilerType::Masm, compiler, linker));
    EXPECT_EQ("", compiler);
    EXPECT_EQ("", linker);
}

TEST_F(CompilerSettingsTest, UserKeyIsUsedWhenMachineWideKeyIsRefused)
{
    AppServices().bMachineWideSettingsRefused = true;
    EXPECT_EQ(HKEY_CURRENT_USER, CompilerSettingsRoot(AppServices()));

    CompilerSettings settings;
    EXPECT_TRUE(LoadCompilerSettings(settings, AppServices()));
    EXPECT_EQ(CompilerType::None, settings.m_compilerType);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kSettingsKeyPath));
    ExpectEmptyLayout(HKEY_CURRENT_USER);
    EXPECT_EQ(ERROR_SUCCESS, CreateNonVolatileBelow(HKEY_CURRENT_USER, kSettingsKeyPath));
    for (const char* sub : {"masm", "tasm", "mcs"})
        EXPECT_EQ(ERROR_SUCCESS, CreateNonVolatileBelow(HKEY_CURRENT_USER, Sub(sub))) << sub;
    EXPECT_EQ(HKEY_CURRENT_USER, CompilerSettingsRoot(AppServices()));

    Save(Settings(CompilerType::Tasm, "c:\\tasm\\tasm.exe", "c:\\tasm\\tlink.exe"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kSettingsKeyPath));
    EXPECT_EQ("tasm", StoredText(HKEY_CURRENT_USER, kSettingsKeyPath, "type"));
    EXPECT_EQ("c:\\tasm\\tasm.exe", StoredText(HKEY_CURRENT_USER, Sub("tasm"), "cmp"));
    EXPECT_EQ("c:\\tasm\\tlink.exe", StoredText(HKEY_CURRENT_USER, Sub("tasm"), "lnk"));

    CompilerSettings loaded;
    EXPECT_EQ(Load(loaded), Settings(CompilerType::Tasm, "c:\\tasm\\tasm.exe", "c:\\tasm\\tlink.exe"));

    std::string compiler, linker;
    EXPECT_TRUE(ReadPaths(CompilerType::Tasm, compiler, linker));
    EXPECT_EQ("c:\\tasm\\tasm.exe", compiler);
    EXPECT_EQ("c:\\tasm\\tlink.exe", linker);

    Save(Settings(CompilerType::None, "", ""));
    EXPECT_EQ("", StoredText(HKEY_CURRENT_USER, kSettingsKeyPath, "type"));
    EXPECT_EQ("c:\\tasm\\tasm.exe", StoredText(HKEY_CURRENT_USER, Sub("tasm"), "cmp"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kSettingsKeyPath));
}

TEST_F(CompilerSettingsTest, MachineWideKeyIsPreferredOverTheUserKey)
{
    // A user key left from a refused machine-wide key is not used once the machine-wide key works.
    WriteRaw(HKEY_CURRENT_USER, kSettingsKeyPath, "type", "mcs");
    WriteRaw(HKEY_CURRENT_USER, Sub("mcs"), "cmp", "user-c");
    CompilerSettings settings;
    EXPECT_TRUE(LoadCompilerSettings(settings, AppServices()));
    EXPECT_EQ(CompilerType::None, settings.m_compilerType);
    EXPECT_EQ("", settings.m_strCompilerPath);
    ExpectEmptyLayout(HKEY_LOCAL_MACHINE);
    EXPECT_EQ(HKEY_LOCAL_MACHINE, CompilerSettingsRoot(AppServices()));
    Save(Settings(CompilerType::Masm, "machine-c", "machine-l"));
    EXPECT_EQ("masm", StoredText(HKEY_LOCAL_MACHINE, kSettingsKeyPath, "type"));
    EXPECT_EQ("mcs", StoredText(HKEY_CURRENT_USER, kSettingsKeyPath, "type"));
    EXPECT_EQ("machine-c", StoredText(HKEY_LOCAL_MACHINE, Sub("masm"), "cmp"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, Sub("masm")));
}

// CRegistryKey on its own, on a scratch key below HKEY_CURRENT_USER.
class RegistryKeyTest : public ::testing::Test {
protected:
    static constexpr const char* kScratch = "software\\korvane-test-registrykey";
    void SetUp() override { CRegistryKey::DeleteTree(HKEY_CURRENT_USER, kScratch); }
    void TearDown() override { CRegistryKey::DeleteTree(HKEY_CURRENT_USER, kScratch); }
};

TEST_F(RegistryKeyTest, OpenAndCreateMoveDownAndCloseEndsEverything)
{
    const std::string a = std::string(kScratch) + "\\a";
    const std::string b = std::string(kScratch) + "\\b";
    CRegistryKey key(HKEY_CURRENT_USER);
    EXPECT_FALSE(key.Open(kScratch));
    EXPECT_TRUE(key.CreateFromRoot(kScratch));
    EXPECT_TRUE(key.Create("a"));
    EXPECT_TRUE(key.SetString("v", "in a"));
    // A failed open keeps the key the object stood on.
    EXPECT_FALSE(key.Open("missing"));
    EXPECT_TRUE(key.SetString("w", "still in a"));
    EXPECT_TRUE(key.CreateFromRoot(b));
    EXPECT_TRUE(key.SetString("v", "in b"));
    EXPECT_EQ("in a", StoredText(HKEY_CURRENT_USER, a, "v"));
    EXPECT_EQ("still in a", StoredText(HKEY_CURRENT_USER, a, "w"));
    EXPECT_EQ("in b", StoredText(HKEY_CURRENT_USER, b, "v"));
    EXPECT_EQ(ERROR_CHILD_MUST_BE_VOLATILE, CreateNonVolatileBelow(HKEY_CURRENT_USER, kScratch));

    // A moved key goes on where the other stood.
    CRegistryKey moved(std::move(key));
    EXPECT_TRUE(moved.SetString("x", "moved"));
    EXPECT_EQ("moved", StoredText(HKEY_CURRENT_USER, b, "x"));

    moved.Close();
    moved.Close();
    EXPECT_FALSE(moved.SetString("v", "x"));
    std::string text = "same";
    EXPECT_FALSE(moved.GetString("v", text));
    EXPECT_EQ("same", text);
    EXPECT_FALSE(moved.Open(kScratch));
}

TEST_F(RegistryKeyTest, LastingKeysAreNotVolatile)
{
    CRegistryKey key(HKEY_CURRENT_USER, CRegistryKey::Lifetime::Lasting);
    ASSERT_TRUE(key.CreateFromRoot(kScratch));
    // Below a key that lasts, a key may last too; below a volatile one it may not.
    EXPECT_EQ(ERROR_SUCCESS, CreateNonVolatileBelow(HKEY_CURRENT_USER, kScratch));
}

TEST_F(RegistryKeyTest, StringsAreReadWholeUpToTheirFirstZeroWithinTheLimit)
{
    CRegistryKey key(HKEY_CURRENT_USER);
    ASSERT_TRUE(key.CreateFromRoot(kScratch));
    std::string text = "unchanged";
    EXPECT_FALSE(key.GetString("missing", text));
    EXPECT_EQ("unchanged", text);

    EXPECT_TRUE(key.SetString("long", std::string(5000, 'a')));
    EXPECT_TRUE(key.GetString("long", text));
    EXPECT_EQ(std::string(5000, 'a'), text);
    // A limit counts the terminating zero and leaves the text alone when the value is longer.
    EXPECT_TRUE(key.SetString("five", "12345"));
    EXPECT_FALSE(key.GetString("five", text, 5));
    EXPECT_EQ(std::string(5000, 'a'), text);
    EXPECT_TRUE(key.GetString("five", text, 6));
    EXPECT_EQ("12345", text);

    EXPECT_TRUE(key.SetString("empty", ""));
    EXPECT_TRUE(key.GetString("empty", text));
    EXPECT_EQ("", text);

    UniqueHkey raw;
    ASSERT_EQ(ERROR_SUCCESS, ::RegOpenKeyExA(HKEY_CURRENT_USER, kScratch, 0, KEY_ALL_ACCESS, raw.put()));
    const char cut[] = "xy\0z";
    ASSERT_EQ(ERROR_SUCCESS, ::RegSetValueExA(raw.get(), "cut", 0, REG_SZ, reinterpret_cast<const BYTE*>(cut), sizeof cut));
    EXPECT_TRUE(key.GetString("cut", text));
    EXPECT_EQ("xy", text);
    // Values of other types are not text.
    const BYTE binary[] = {'p', 'q', 'r'};
    ASSERT_EQ(ERROR_SUCCESS, ::RegSetValueExA(raw.get(), "binary", 0, REG_BINARY, binary, sizeof binary));
    EXPECT_FALSE(key.GetString("binary", text));
    EXPECT_EQ("xy", text);
}

TEST_F(RegistryKeyTest, ValuesAndTrees)
{
    CRegistryKey key(HKEY_CURRENT_USER);
    ASSERT_TRUE(key.CreateFromRoot(std::string(kScratch) + "\\deep\\er"));
    ASSERT_TRUE(key.SetString("s", "text"));
    EXPECT_TRUE(key.DeleteValue("s"));
    EXPECT_EQ("<missing>", StoredText(HKEY_CURRENT_USER, std::string(kScratch) + "\\deep\\er", "s"));
    EXPECT_FALSE(key.DeleteValue("s"));

    key.Close();
    EXPECT_TRUE(CRegistryKey::DeleteTree(HKEY_CURRENT_USER, kScratch));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kScratch));
    EXPECT_TRUE(CRegistryKey::DeleteTree(HKEY_CURRENT_USER, kScratch));
}

TEST_F(RegistryKeyTest, ManyKeysLeakNoHandles)
{
    {
        CRegistryKey key(HKEY_CURRENT_USER);
        ASSERT_TRUE(key.CreateFromRoot(std::string(kScratch) + "\\sub"));
    }
    DWORD before = OwnHandleCount();
    ASSERT_GT(before, 0u);
    for (int i = 0; i < 500; ++i) {
        CRegistryKey key(HKEY_CURRENT_USER);
        ASSERT_TRUE(key.Open(kScratch));
        ASSERT_TRUE(key.Open("sub"));
        ASSERT_TRUE(key.Create("deeper"));
        ASSERT_TRUE(key.CreateFromRoot(kScratch));
    }
    DWORD after = OwnHandleCount();
    EXPECT_LE(after, before + 5);
}

// The templates, the debugger and "nolink" belong to their toolchain, are kept only where they
// are not the default, and come back as the defaults for a toolchain that keeps none.
TEST_F(CompilerSettingsTest, EachToolchainKeepsItsTemplatesDebuggerAndLinkChoice)
{
    LayOut();
    CompilerSettings jwasm = Settings(CompilerType::Masm, "c:\\jwasm\\jwasm.exe", "");
    jwasm.m_strCompilerArgs = "-mz {file}";
    jwasm.m_strDebuggerPath = "c:\\freedos\\debug.com";
    jwasm.m_bNoLink = true;
    ASSERT_TRUE(SaveCompilerSettings(jwasm, AppServices()));
    EXPECT_EQ("-mz {file}", StoredText(HKEY_LOCAL_MACHINE, Sub("masm"), "cmpargs"));
    EXPECT_EQ("1", StoredText(HKEY_LOCAL_MACHINE, Sub("masm"), "nolink"));
    EXPECT_EQ("c:\\freedos\\debug.com", StoredText(HKEY_LOCAL_MACHINE, Sub("masm"), "dbg"));
    EXPECT_EQ("<missing>", StoredText(HKEY_LOCAL_MACHINE, Sub("masm"), "lnkargs"));
    CompilerSettings loaded;
    EXPECT_EQ(Load(loaded), jwasm);

    // Another toolchain, keeping none, reads as the defaults, whatever the fields held.
    CompilerSettings shown = jwasm;
    EXPECT_TRUE(ReadToolchain(CompilerType::Tasm, shown, AppServices()));
    EXPECT_EQ(shown.m_strCompilerArgs, "");
    EXPECT_EQ(shown.m_strDebuggerPath, "");
    EXPECT_FALSE(shown.m_bNoLink);

    // Back to the defaults: nothing of them stays stored.
    ASSERT_TRUE(SaveCompilerSettings(Settings(CompilerType::Masm, "c:\\masm\\masm.exe", ""), AppServices()));
    for (const char* name : {"cmpargs", "lnkargs", "dbg", "nolink"})
        EXPECT_EQ("<missing>", StoredText(HKEY_LOCAL_MACHINE, Sub("masm"), name)) << name;
}

// The 8051's board and its keys' bounce belong to its toolchain, as its pace does.
TEST_F(CompilerSettingsTest, TheToolchainKeepsItsBoard)
{
    LayOut();
    CompilerSettings mcs = Settings(CompilerType::Mcs51, "c:\\mcs51\\asm51.exe", "c:\\mcs51\\oh.exe");
    mcs.m_strBoard51 = "pz";
    mcs.m_bBounce51 = true;
    ASSERT_TRUE(SaveCompilerSettings(mcs, AppServices()));
    EXPECT_EQ("pz", StoredText(HKEY_LOCAL_MACHINE, Sub("mcs"), "board51"));
    EXPECT_EQ("1", StoredText(HKEY_LOCAL_MACHINE, Sub("mcs"), "bounce51"));
    CompilerSettings loaded;
    EXPECT_EQ(Load(loaded), mcs);
    mcs.m_strBoard51.clear();
    mcs.m_bBounce51 = false;
    ASSERT_TRUE(SaveCompilerSettings(mcs, AppServices()));
    for (const char* name : {"board51", "bounce51"})
        EXPECT_EQ("<missing>", StoredText(HKEY_LOCAL_MACHINE, Sub("mcs"), name)) << name;
}
