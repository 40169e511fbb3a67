// Folder and name of a path.
#include "framework/PathName.h"

#include <gtest/gtest.h>

TEST(PathName, SplitsAtTheLastSeparator)
{
    PathParts parts = SplitPath("c:\\work\\hello.asm");
    EXPECT_EQ(parts.folder, "c:\\work");
    EXPECT_EQ(parts.name, "hello.asm");
    EXPECT_EQ(SplitPath("c:\\hello.asm").folder, "c:");
    EXPECT_EQ(SplitPath("c:/work/a.asm").folder, "c:/work");
    PathParts bare = SplitPath("hello.asm");
    EXPECT_EQ(bare.folder, "");
    EXPECT_EQ(bare.name, "hello.asm");
}

TEST(PathName, ChineseNamesSplitWhole)
{
    PathParts parts = SplitPath("c:\\淺\\汇编.asm");
    EXPECT_EQ(parts.folder, "c:\\淺");
    EXPECT_EQ(parts.name, "汇编.asm");
    EXPECT_EQ(SeparatorPositions("c:\\淺\\x"), (std::vector<size_t>{2, 6}));
}
