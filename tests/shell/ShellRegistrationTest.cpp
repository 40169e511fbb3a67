// The document type's registration with the shell: written once the program first waits for
// input (or as it ends, if it ends before that), and corrected where it is wrong.
#include "ShellFixture.h"

#include "framework/RegistryKey.h"
#include "framework/Unicode.h"

namespace {
const char kTypeKey[] = "Korvane.Document";
const char kExtensionKey[] = ".asm";

std::string ClassesValue(const std::string& key, const std::string& name = "")
{
    CRegistryKey classes(HKEY_CLASSES_ROOT);
    std::string value = "<none>";
    if (classes.Open(key, KEY_READ))
        classes.GetString(name, value);
    return value;
}

void SetClassesValue(const std::string& key, const std::string& name, const std::string& value)
{
    CRegistryKey classes(HKEY_CLASSES_ROOT, CRegistryKey::Lifetime::Lasting);
    ASSERT_TRUE(classes.Create(key) && classes.SetString(name, value));
}

// The program that registers itself here: the test executable.
std::string ThisProgram()
{
    wchar_t path[MAX_PATH] = L"";
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    return Narrow(path);
}

class ShellRegistration : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        Unregister();
    }
    void TearDown() override
    {
        ShellTest::TearDown();
        Unregister();
    }
    static void Unregister()
    {
        CRegistryKey::DeleteTree(HKEY_CLASSES_ROOT, kTypeKey);
        CRegistryKey::DeleteTree(HKEY_CLASSES_ROOT, kExtensionKey);
    }

    // Starts and closes the program; Start lets it wait for input once.
    void RunOnce(const std::string& arguments = "")
    {
        Start(arguments);
        Close();
    }

    static void ExpectRegistered()
    {
        const std::string program = Quoted(ThisProgram());
        const std::string type = kTypeKey;
        EXPECT_EQ(ClassesValue(type), "Asm Document");
        EXPECT_EQ(ClassesValue(type + "\\DefaultIcon"), ThisProgram() + ",1");
        EXPECT_EQ(ClassesValue(type + "\\shell\\open\\command"), program + " \"%1\"");
        EXPECT_EQ(ClassesValue(type + "\\shell\\print\\command"), program + " /p \"%1\"");
        EXPECT_EQ(ClassesValue(type + "\\shell\\printto\\command"), program + " /pt \"%1\" \"%2\" \"%3\" \"%4\"");
        EXPECT_EQ(ClassesValue(type + "\\shell\\open\\ddeexec"), "[open(\"%1\")]");
        EXPECT_EQ(ClassesValue(kExtensionKey), type);
        EXPECT_EQ(ClassesValue(std::string(kExtensionKey) + "\\ShellNew", "NullFile"), "");
    }
};
}

TEST_F(ShellRegistration, IsWrittenOnceTheProgramWaitsForInput)
{
    RunOnce();
    ExpectRegistered();
}

TEST_F(ShellRegistration, WrongValuesAreCorrected)
{
    RunOnce();
    SetClassesValue(std::string(kTypeKey) + "\\shell\\open\\command", "", "elsewhere.exe \"%1\"");
    SetClassesValue(std::string(kTypeKey) + "\\DefaultIcon", "", "elsewhere.exe,0");
    RunOnce();
    ExpectRegistered();
}

TEST_F(ShellRegistration, AnExtensionOfAnotherProgramStaysItsOwn)
{
    SetClassesValue(kExtensionKey, "", "Other.Document");
    RunOnce();
    EXPECT_EQ(ClassesValue(kExtensionKey), "Other.Document");
    EXPECT_EQ(ClassesValue(std::string(kExtensionKey) + "\\ShellNew", "NullFile"), "<none>");
    EXPECT_EQ(ClassesValue(std::string(kTypeKey) + "\\shell\\open\\command"), Quoted(ThisProgram()) + " \"%1\"");
}

TEST_F(ShellRegistration, AProgramThatEndsAtOnceStillRegisters)
{
    ScratchDir dir("registration");
    EXPECT_FALSE(Start(Quoted(dir.File("missing.asm"))));
    EXPECT_EQ(m_boxes.Texts().size(), 1u);
    ExpectRegistered();
}

TEST_F(ShellRegistration, UnregisteringLeavesNothingToComeBack)
{
    RunOnce();
    EXPECT_FALSE(Start("/Unregister"));
    EXPECT_EQ(ClassesValue(kTypeKey), "<none>");
    EXPECT_EQ(ClassesValue(kExtensionKey), "<none>");
}
