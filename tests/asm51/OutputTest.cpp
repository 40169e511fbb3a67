// The HEX and the listing, read back by the simulator's own readers: the loader gets the image,
// the debugger's listing reader finds each source line's address.
#include "Asm51TestSupport.h"
#include "asm51/HexWriter51.h"
#include "asm51/ListingWriter51.h"
#include "mcs51/IntelHex51.h"
#include "mcs51/Listing51.h"

#include <gtest/gtest.h>

using namespace asm51;

namespace {
const char kProgram[] = "; a comment\n"
                        "$INCLUDE(defs.inc)\n"
                        "\tORG\t10H\n"
                        "START:\tMOV\tSP,#STACK\n"
                        "\tLJMP\tMAIN\n"
                        "\tORG\t100H\n"
                        "TEXT:\tDB\t'Hello, 8051',0\n"
                        "MAIN:\tMOV\tA,#1\n"
                        "\tDS\t2\n"
                        "HERE:\tSJMP\tHERE\n"
                        "\tEND\n";
}

TEST(Output, TheLoaderReadsTheHexAsTheImage)
{
    const auto assembler = AssembleText(kProgram, {{"defs.inc", "STACK EQU 60H\n\tNOP\n"}});
    ASSERT_EQ(assembler->ErrorCount(), 0u);
    mcs51::CIntelHex51::Code code{};
    const mcs51::HexResult51 result = mcs51::CIntelHex51::Parse(CHexWriter51::Write(assembler->Image()), code);
    ASSERT_TRUE(result.Ok());
    unsigned used = 0;
    for (uint32_t address = 0; address < CCodeImage51::kSize; ++address) {
        if (assembler->Image().Used(address)) {
            ++used;
            EXPECT_EQ(code[address], assembler->Image().At(address)) << address;
        }
    }
    EXPECT_EQ(result.bytes, used);
    const std::string binary = CHexWriter51::Binary(assembler->Image());
    EXPECT_EQ(binary.size(), 0x112u);
    EXPECT_EQ(static_cast<uint8_t>(binary[0x10E]), 0xFF);
}

TEST(Output, TheDebuggersListingReaderFindsEachLine)
{
    const auto assembler = AssembleText(kProgram, {{"defs.inc", "STACK EQU 60H\n\tNOP\n"}});
    const std::string listing = CListingWriter51::Write(*assembler, "test.a51", [](const Diagnostic51&) { return std::string(); });
    mcs51::CListing51 reader;
    reader.Parse(listing);
    EXPECT_EQ(reader.Format(), mcs51::ListingFormat51::kAsm51);
    // Line, address, bytes: the include's NOP (its own line 2) is no line of the main file; the
    // reader counts a long DB's bytes on its first line alone.
    const std::vector<mcs51::ListingLine51> expected = {{4, 0x0010, 3}, {5, 0x0013, 3}, {7, 0x0100, 4}, {8, 0x010C, 2}, {10, 0x0110, 2}};
    ASSERT_EQ(reader.Lines().size(), expected.size()) << listing;
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(reader.Lines()[i].line, expected[i].line) << listing;
        EXPECT_EQ(reader.Lines()[i].address, expected[i].address) << listing;
        EXPECT_EQ(reader.Lines()[i].bytes, expected[i].bytes) << listing;
    }
}
