// Folder and name of a path, with double-byte characters whose second byte is 0x5C.
#include "framework/PathName.h"

#include "support/TestSupport.h"

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

TEST(PathName, ATrailByteLikeABackslashSplitsNothing)
{
    // The second byte of this character in code page 936 is 0x5C, the backslash.
    const std::string shallow = Gbk("淺");
    ASSERT_EQ(shallow, "\x9C\x5C");
    PathParts parts = SplitPath("c:\\" + shallow + "\\" + shallow + ".asm");
    EXPECT_EQ(parts.folder, "c:\\" + shallow);
    EXPECT_EQ(parts.name, shallow + ".asm");
    EXPECT_EQ(SeparatorPositions("c:\\" + shallow + "\\x"), (std::vector<size_t>{2, 5}));
}
