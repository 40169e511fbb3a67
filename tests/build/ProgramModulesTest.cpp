// The list of a program's modules: what a list's text names, the files it makes of them, and
// which program (and built program) a module belongs to.
#include "build/ProgramModules.h"

#include "build/ProgramLauncher.h"
#include "framework/Unicode.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
std::vector<std::wstring> Names(std::initializer_list<const char*> names)
{
    std::vector<std::wstring> wide;
    for (const char* name : names)
        wide.push_back(Widen(name));
    return wide;
}

class ProgramModules : public ::testing::Test {
protected:
    FilePath File(const std::string& name) const { return FilePath::FromUtf8(m_dir.File(name)); }
    FilePath Write(const std::string& name, const std::string& bytes = "nop\r\n") const
    {
        WriteFileBytes(m_dir.File(name), bytes);
        return File(name);
    }
    std::vector<std::wstring> Paths(const Result<std::vector<ProgramModule>>& modules) const
    {
        std::vector<std::wstring> paths;
        for (const ProgramModule& module : *modules)
            paths.push_back(module.path.Wide());
        return paths;
    }

    ScratchDir m_dir{"program-modules"};
};
}

TEST(ModuleList, NamesOneALineWithoutBlanksCommentsAndEmptyLines)
{
    const struct {
        std::string text;
        std::vector<std::wstring> names;
    } cases[] = {
        {"MAIN.ASM\r\nCALC.ASM\r\n", Names({"MAIN.ASM", "CALC.ASM"})},
        {"MAIN.ASM\nCALC.ASM", Names({"MAIN.ASM", "CALC.ASM"})},
        {"; the program\r\n\r\n  MAIN.ASM \t\r\n   \r\n;CALC.ASM\r\nIO.ASM\r\n", Names({"MAIN.ASM", "IO.ASM"})},
        {"lib\\io.asm\r\n..\\common\\print.asm\r\n", Names({"lib\\io.asm", "..\\common\\print.asm"})},
        {"", {}},
        {"; nothing but a comment\r\n", {}},
        // A name in UTF-8 and the same in GBK, as either editor may have saved the list.
        {"主程序.asm\r\n", Names({"主程序.asm"})},
        {ToGbk("主程序.asm\r\n计算.asm"), Names({"主程序.asm", "计算.asm"})},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseModuleList(c.text), c.names) << c.text;
}

TEST_F(ProgramModules, TheMainSourceComesFirstAndEachFileOnce)
{
    const FilePath main = Write("MAIN.ASM");
    Write("CALC.ASM");
    Write("IO.ASM");
    const struct {
        const char* list;
        std::vector<std::string> files;
    } cases[] = {
        {nullptr, {"MAIN.ASM"}},
        {"MAIN.ASM\r\nCALC.ASM\r\nIO.ASM\r\n", {"MAIN.ASM", "CALC.ASM", "IO.ASM"}},
        // A list that forgets the main source, names it later or in other letters, or twice.
        {"CALC.ASM\r\n", {"MAIN.ASM", "CALC.ASM"}},
        {"IO.ASM\r\nmain.asm\r\nCALC.ASM\r\n", {"MAIN.ASM", "IO.ASM", "CALC.ASM"}},
        {"MAIN.ASM\r\nCALC.ASM\r\ncalc.asm\r\n", {"MAIN.ASM", "CALC.ASM"}},
        {"MAIN.ASM\r\n", {"MAIN.ASM"}},
    };
    for (const auto& c : cases) {
        ::DeleteFileW(File("MAIN.kvp").c_str());
        if (c.list)
            Write("MAIN.kvp", c.list);
        const Result<std::vector<ProgramModule>> modules = ProgramModulesOf(main);
        ASSERT_TRUE(modules) << (c.list ? c.list : "no list");
        std::vector<std::wstring> expected;
        for (const std::string& file : c.files)
            expected.push_back(File(file).Wide());
        EXPECT_EQ(Paths(modules), expected) << (c.list ? c.list : "no list");
        EXPECT_EQ(modules->front().listedName, L"MAIN.ASM");
    }
}

TEST_F(ProgramModules, AModuleInAnotherFolderKeepsTheNameTheListGivesIt)
{
    const FilePath main = Write("MAIN.ASM");
    MakeFolder(m_dir.File("lib"));
    Write("lib\\IO.ASM");
    Write("MAIN.kvp", "MAIN.ASM\r\nlib\\IO.ASM\r\n");
    const Result<std::vector<ProgramModule>> modules = ProgramModulesOf(main);
    ASSERT_TRUE(modules);
    ASSERT_EQ(modules->size(), 2u);
    EXPECT_EQ((*modules)[1], (ProgramModule{File("lib\\IO.ASM"), L"lib\\IO.ASM"}));
}

TEST_F(ProgramModules, AListedFileThatDoesNotExistIsTheProblemWithItsPath)
{
    const FilePath main = Write("MAIN.ASM");
    Write("CALC.ASM");
    Write("MAIN.kvp", "MAIN.ASM\r\nCALC.ASM\r\nCLAC.ASM\r\nIO.ASM\r\n");
    const Result<std::vector<ProgramModule>> modules = ProgramModulesOf(main);
    ASSERT_FALSE(modules);
    EXPECT_EQ(modules.Error().kind, Problem::Kind::ModuleMissing);
    EXPECT_EQ(modules.Error().subject, File("CLAC.ASM").Wide());
}

TEST_F(ProgramModules, AModuleBelongsToTheProgramWhoseListNamesIt)
{
    const FilePath main = Write("MAIN.ASM");
    const FilePath calc = Write("CALC.ASM");
    const FilePath alone = Write("ALONE.ASM");
    const FilePath other = Write("OTHER.ASM");
    Write("MAIN.kvp", "MAIN.ASM\r\ncalc.asm\r\n");
    Write("OTHER.kvp", "OTHER.ASM\r\n");
    const struct {
        FilePath source;
        FilePath main;
    } cases[] = {{main, main}, {calc, main}, {alone, alone}, {other, other}};
    for (const auto& c : cases)
        EXPECT_EQ(MainSourceOf(c.source), c.main) << Narrow(c.source.Wide());
}

TEST_F(ProgramModules, TheListLiesBesideTheMainSourceUnderItsName)
{
    EXPECT_EQ(ModuleListOf(File("MAIN.ASM")), File("MAIN.kvp"));
}

TEST(ModulePaths, APathInsideAFolderIsNamedFromThere)
{
    const struct {
        const wchar_t* path;
        const wchar_t* folder;
        const wchar_t* relative;
    } cases[] = {
        {L"c:\\work\\CALC.ASM", L"c:\\work", L"CALC.ASM"},
        {L"C:\\WORK\\LIB\\IO.ASM", L"c:\\work", L"LIB\\IO.ASM"},
        {L"c:\\CALC.ASM", L"c:", L"CALC.ASM"},
        {L"c:\\workshop\\CALC.ASM", L"c:\\work", L""},
        {L"d:\\work\\CALC.ASM", L"c:\\work", L""},
        {L"c:\\work", L"c:\\work", L""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FilePath(c.path).RelativeTo(FilePath(c.folder)), c.relative) << Narrow(c.path);
}

TEST_F(ProgramModules, AModulesProgramIsItsMainSources)
{
    const FilePath main = Write("MAIN.ASM");
    const FilePath calc = Write("CALC.ASM");
    const FilePath alone = Write("ALONE.ASM");
    Write("MAIN.kvp", "MAIN.ASM\r\nCALC.ASM\r\n");
    EXPECT_EQ(BuiltProgram(calc), File("MAIN.exe"));
    EXPECT_EQ(BuiltProgram(main), File("MAIN.exe"));
    EXPECT_EQ(BuiltProgram(alone), File("ALONE.exe"));
}
