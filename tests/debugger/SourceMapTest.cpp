// Source lines and data labels found in real listings and maps of MASM 5.10 and LINK 3.65:
// plain segments with an INCLUDE file, simplified segments with a macro and a page break; a
// segment table, and where the modules of a program of several put their parts of each segment.
#include "debug/LinkMap.h"
#include "debug/MasmListing.h"
#include "debug/NasmListing.h"
#include "debug/SegmentPlacement.h"
#include "debug/SourceMap.h"

#include <gtest/gtest.h>

#include <map>

namespace {
// HELLO.ASM as MASM 5.10 listed it, and the map LINK 3.65 wrote for it (/MAP /LI).
const char kHelloListing[] =
    "\f\bMicrosoft (R) Macro Assembler Version 5.10                  12/9/26 09:33:09\r\n"
    "                                                             Page     1-1\r\n"
    "\r\n"
    "\r\n"
    "\t\t\t\t;sample\r\n"
    " 0000\t\t\t\tSSEG SEGMENT PARA STACK 'stack'\r\n"
    " 0000  0100[\t\t\t\tdw 100h dup(0)\r\n"
    "\t   0000\t\t\t\r\n"
    "\t\t\t ]\t\r\n"
    "\t\t\t\t\r\n"
    " 0200\t\t\t\tSSEG ENDS\r\n"
    "\t\t\t\t\r\n"
    " 0000\t\t\t\tDSEG SEGMENT\r\n"
    " 0000  48 65 6C 6C 6F 2C\tMSG\tdb 'Hello, world!', 13, 10, '$'\r\n"
    "       20 77 6F 72 6C 64\t\r\n"
    "       21 0D 0A 24\t\t\r\n"
    " 0010  0001 0002 0003 0004\tNUMS\tdw 1, 2, 3, 4, 5\r\n"
    "       0005\t\t\t\r\n"
    " 001A  0000\t\t\tTOTAL\tdw ?\r\n"
    " 001C\t\t\t\tDSEG ENDS\r\n"
    "\t\t\t\t\r\n"
    " 0000\t\t\t\tCSEG SEGMENT\r\n"
    "\t\t\t\t\tassume  cs:CSEG, ds:DSEG, ss:SSEG\r\n"
    "\t\t\t\t\tINCLUDE PRINT.INC\r\n"
    "\t\t\t     C\t; printing helpers\r\n"
    " 0000                        C\tPRINTS PROC NEAR\r\n"
    " 0000  50                    C\t\tpush ax\r\n"
    " 0001  B4 09                 C\t\tmov ah, 9\r\n"
    " 0003  CD 21                 C\t\tint 21h\r\n"
    " 0005  58                    C\t\tpop ax\r\n"
    " 0006  C3                    C\t\tret\r\n"
    " 0007                        C\tPRINTS ENDP\r\n"
    " 0007\t\t\t\tMAIN PROC FAR\r\n"
    " 0007  B8 ---- R\t\t\tmov ax, dseg\r\n"
    " 000A  8E D8\t\t\t\tmov ds, ax\r\n"
    " 000C  B9 0005\t\t\t\tmov cx, 5\r\n"
    " 000F  33 C0\t\t\t\txor ax, ax\r\n"
    " 0011  8D 36 0010 R\t\t\tlea si, NUMS\r\n"
    " 0015  03 04\t\t\tNEXT:\tadd ax, [si]\r\n"
    " 0017  83 C6 02\t\t\t\tadd si, 2\r\n"
    " 001A  E2 F9\t\t\t\tloop NEXT\r\n"
    " 001C  A3 001A R\t\t\tmov TOTAL, ax\r\n"
    " 001F  8D 16 0000 R\t\t\tlea dx, MSG\r\n"
    " 0023  E8 0000 R\t\t\tcall PRINTS\r\n"
    " 0026  B8 4C00\t\t\t\tmov ax, 4c00h\r\n"
    " 0029  CD 21\t\t\t\tint 21h\r\n"
    " 002B\t\t\t\tMAIN ENDP\r\n"
    " 002B\t\t\t\tCSEG ENDS\r\n"
    "\t\t\t\tEND MAIN\r\n"
    "\f\bMicrosoft (R) Macro Assembler Version 5.10                  12/9/26 09:33:09\r\n"
    "                                                             Symbols-1\r\n"
    "\r\n"
    "\r\n"
    "Segments and Groups:\r\n"
    "\r\n"
    "                N a m e         \tLength\t Align\tCombine Class\r\n"
    "\r\n"
    "CSEG . . . . . . . . . . . . . .  \t002B\tPARA\tNONE\t\r\n"
    "DSEG . . . . . . . . . . . . . .  \t001C\tPARA\tNONE\t\r\n"
    "SSEG . . . . . . . . . . . . . .  \t0200\tPARA\tSTACK\t'STACK'\r\n"
    "\r\n"
    "Symbols:            \r\n"
    "\r\n"
    "                N a m e         \tType\t Value\t Attr\r\n"
    "\r\n"
    "MAIN . . . . . . . . . . . . . .  \tF PROC\t0007\tCSEG\tLength = 0024\r\n"
    "MSG  . . . . . . . . . . . . . .  \tL BYTE\t0000\tDSEG\r\n"
    "\r\n"
    "NEXT . . . . . . . . . . . . . .  \tL NEAR\t0015\tCSEG\r\n"
    "NUMS . . . . . . . . . . . . . .  \tL WORD\t0010\tDSEG\r\n"
    "\r\n"
    "PRINTS . . . . . . . . . . . . .  \tN PROC\t0000\tCSEG\tLength = 0007\r\n"
    "\r\n"
    "TOTAL  . . . . . . . . . . . . .  \tL WORD\t001A\tDSEG\r\n"
    "\r\n"
    "@CPU . . . . . . . . . . . . . .  \tTEXT  0101h\t\t\r\n"
    "@FILENAME  . . . . . . . . . . .  \tTEXT  hello\t\t\r\n"
    "@VERSION . . . . . . . . . . . .  \tTEXT  510\t\t\r\n"
    "\r\n"
    "\r\n"
    "     39 Source  Lines\r\n"
    "     39 Total   Lines\r\n"
    "     15 Symbols\r\n"
    "\r\n"
    "  47916 + 463439 Bytes symbol space free\r\n"
    "\r\n"
    "      0 Warning Errors\r\n"
    "      0 Severe  Errors\r\n"
    "\r\n";
const char kHelloMap[] =
    "\r\n"
    " Start  Stop   Length Name                   Class\r\n"
    " 00000H 001FFH 00200H SSEG                   STACK\r\n"
    " 00200H 0021BH 0001CH DSEG                   \r\n"
    " 00220H 0024AH 0002BH CSEG                   \r\n"
    "\r\n"
    "  Address         Publics by Name\r\n"
    "\r\n"
    "\r\n"
    "  Address         Publics by Value\r\n"
    "\r\n"
    "\r\n"
    "Line numbers for HELLO.OBJ(hello.asm) segment CSEG\r\n"
    "\r\n"
    "     3 0022:0000     4 0022:0001     5 0022:0003     6 0022:0005\r\n"
    "     7 0022:0006    16 0022:0007    17 0022:000A    18 0022:000C\r\n"
    "    19 0022:000F    20 0022:0011    21 0022:0015    22 0022:0017\r\n"
    "    23 0022:001A    24 0022:001C    25 0022:001F    26 0022:0023\r\n"
    "    27 0022:0026    28 0022:0029\r\n"
    "\r\n"
    "Program entry point at 0022:0007\r\n"
    "\r\n";

const std::map<std::string, std::vector<std::string>> kHelloSources = {
    {"hello.asm",
     {";sample", "SSEG SEGMENT PARA STACK 'stack'", "\tdw 100h dup(0)", "SSEG ENDS", "", "DSEG SEGMENT",
      "MSG\tdb 'Hello, world!', 13, 10, '$'", "NUMS\tdw 1, 2, 3, 4, 5", "TOTAL\tdw ?", "DSEG ENDS", "",
      "CSEG SEGMENT", "\tassume  cs:CSEG, ds:DSEG, ss:SSEG", "\tINCLUDE PRINT.INC", "MAIN PROC FAR",
      "\tmov ax, dseg", "\tmov ds, ax", "\tmov cx, 5", "\txor ax, ax", "\tlea si, NUMS", "NEXT:\tadd ax, [si]",
      "\tadd si, 2", "\tloop NEXT", "\tmov TOTAL, ax", "\tlea dx, MSG", "\tcall PRINTS", "\tmov ax, 4c00h",
      "\tint 21h", "MAIN ENDP", "CSEG ENDS", "END MAIN"}},
    {"PRINT.INC",
     {"; printing helpers", "PRINTS PROC NEAR", "\tpush ax", "\tmov ah, 9", "\tint 21h", "\tpop ax", "\tret",
      "PRINTS ENDP"}},
};

std::vector<std::string> ReadFixture(const std::map<std::string, std::vector<std::string>>& sources,
                                     const std::string& file)
{
    const auto found = sources.find(file);
    return found == sources.end() ? std::vector<std::string>{} : found->second;
}

CSourceMap HelloMap()
{
    const CMasmListing listing(kHelloListing, "hello.asm",
                               [](const std::string& file) { return ReadFixture(kHelloSources, file); });
    return CSourceMap::FromMasm(listing, CLinkMap(kHelloMap));
}

struct PlaceCase {
    uint32_t imageOffset;
    const char* file;
    int line;
};

TEST(SourceMap, MasmLinesAndIncludedLinesAtTheirImageOffsets)
{
    const CSourceMap map = HelloMap();
    // CSEG starts at 220h; PRINT.INC's procedure comes first in it, MAIN at 7.
    const PlaceCase kCases[] = {
        {0x220, "PRINT.INC", 3}, {0x221, "PRINT.INC", 4}, {0x226, "PRINT.INC", 7}, {0x227, "hello.asm", 16},
        {0x228, "hello.asm", 16}, {0x235, "hello.asm", 21}, {0x23A, "hello.asm", 23}, {0x243, "hello.asm", 26},
        {0x249, "hello.asm", 28},
    };
    for (const PlaceCase& c : kCases) {
        const auto line = map.LineAt(c.imageOffset);
        ASSERT_TRUE(line.has_value()) << std::hex << c.imageOffset;
        EXPECT_EQ(SourceLine({c.file, c.line}), *line) << std::hex << c.imageOffset;
    }
    EXPECT_FALSE(map.LineAt(0x24B).has_value());
    EXPECT_FALSE(map.LineAt(0x100).has_value()) << "the stack's dup makes no line of code";
}

TEST(SourceMap, BreakpointLinesTakeTheirOwnOrTheNextCode)
{
    const CSourceMap map = HelloMap();
    EXPECT_EQ(0x227u, map.OffsetOf({"hello.asm", 15}).value()) << "MAIN PROC stops at its first instruction";
    EXPECT_EQ(0x235u, map.OffsetOf({"hello.asm", 21}).value());
    EXPECT_EQ(0x220u, map.OffsetOf({"print.inc", 1}).value()) << "file names compare as DOS compares them";
    EXPECT_FALSE(map.OffsetOf({"hello.asm", 29}).has_value());
}

TEST(SourceMap, DataLabelsWithTheirTypesAndLengths)
{
    const CSourceMap map = HelloMap();
    const auto& symbols = map.Symbols();
    ASSERT_EQ(3u, symbols.size());
    EXPECT_EQ("MSG", symbols[0].name);
    EXPECT_EQ("BYTE", symbols[0].type);
    EXPECT_EQ(0x200u, symbols[0].imageOffset);
    EXPECT_EQ(16u, symbols[0].length) << "the bytes its line defined";
    EXPECT_EQ("NUMS", symbols[1].name);
    EXPECT_EQ(0x210u, symbols[1].imageOffset);
    EXPECT_EQ(10u, symbols[1].length);
    EXPECT_EQ("TOTAL", symbols[2].name);
    EXPECT_EQ("WORD", symbols[2].type);
    EXPECT_EQ(0x21Au, symbols[2].imageOffset);
    EXPECT_EQ(2u, symbols[2].length);
}

// Simplified segments, a macro's expansion and a page break between two lines of code, as
// MASM 5.10 lists them.
const char kSmallListing[] =
    "\f\bMicrosoft (R) Macro Assembler Version 5.10                  12/9/26 09:33:35\r\n"
    "                                                             Page     1-1\r\n"
    "\r\n"
    "\r\n"
    "\t\t\t\t\t.MODEL SMALL\r\n"
    "\t\t\t\t\t.STACK 100h\r\n"
    "\t\t\t\tSHOW\tMACRO\tTEXT\r\n"
    "\t\t\t\t\tlea dx, TEXT\r\n"
    "\t\t\t\t\tENDM\r\n"
    "\t\t\t\t\t.DATA\r\n"
    " 0000  48 69 24\t\t\tMSG\tdb 'Hi$'\r\n"
    "\t\t\t\t\t.CODE\r\n"
    " 0000  B8 ---- R\t\tSTART:\tmov ax, @data\r\n"
    "\t\t\t\t; between\r\n"
    "\f\bMicrosoft (R) Macro Assembler Version 5.10                  12/9/26 09:33:35\r\n"
    "                                                             Page     1-2\r\n"
    "\r\n"
    "\r\n"
    " 0003  8E D8\t\t\t\tmov ds, ax\r\n"
    "\t\t\t\t\tSHOW\tMSG\r\n"
    " 0005  8D 16 0000 R          1\t\tlea dx, MSG \r\n"
    " 0009  B8 4C00\t\t\t\tmov ax, 4c00h\r\n"
    "\t\t\t\t\tEND START\r\n"
    "\r\n"
    "\f\bMicrosoft (R) Macro Assembler Version 5.10                  12/9/26 09:33:35\r\n"
    "                                                             Symbols-1\r\n"
    "\r\n"
    "\r\n"
    "Symbols:            \r\n"
    "\r\n"
    "                N a m e         \tType\t Value\t Attr\r\n"
    "\r\n"
    "MSG  . . . . . . . . . . . . . .  \tL BYTE\t0000\t_DATA\r\n"
    "\r\n"
    "START  . . . . . . . . . . . . .  \tL NEAR\t0000\t_TEXT\r\n";

const char kSmallMap[] =
    "\r\n"
    " Start  Stop   Length Name                   Class\r\n"
    " 00000H 0000BH 0000CH _TEXT                  CODE\r\n"
    " 00010H 00012H 00003H _DATA                  DATA\r\n"
    " 00020H 0011FH 00100H STACK                  STACK\r\n"
    "\r\n"
    " Origin   Group\r\n"
    " 0001:0   DGROUP\r\n"
    "\r\n"
    "Program entry point at 0000:0000\r\n";

TEST(SourceMap, SimplifiedSegmentsMacrosAndPageBreaks)
{
    const std::map<std::string, std::vector<std::string>> sources = {
        {"small.asm",
         {"\t.MODEL SMALL", "\t.STACK 100h", "SHOW\tMACRO\tTEXT", "\tlea dx, TEXT", "\tENDM", "\t.DATA",
          "MSG\tdb 'Hi$'", "\t.CODE", "START:\tmov ax, @data", "; between", "\tmov ds, ax", "IF 0", "\tnop",
          "ENDIF", "\tSHOW\tMSG", "\tmov ax, 4c00h", "\tEND START"}}};
    const CMasmListing listing(kSmallListing, "small.asm",
                               [&](const std::string& file) { return ReadFixture(sources, file); });
    const CLinkMap linkMap(kSmallMap);
    const CSourceMap map = CSourceMap::FromMasm(listing, linkMap);
    EXPECT_EQ(0u, linkMap.EntryPoint().value());
    EXPECT_EQ(SourceLine({"small.asm", 9}), map.LineAt(0x0).value());
    EXPECT_EQ(SourceLine({"small.asm", 11}), map.LineAt(0x3).value()) << "after the page break";
    EXPECT_EQ(SourceLine({"small.asm", 15}), map.LineAt(0x5).value()) << "the macro's bytes are its call's";
    EXPECT_EQ(SourceLine({"small.asm", 16}), map.LineAt(0x9).value()) << "past the unlisted false IF";
    ASSERT_EQ(1u, map.Symbols().size());
    EXPECT_EQ(0x10u, map.Symbols()[0].imageOffset) << "_DATA's own start";
}
}

namespace {
// A .COM as nasm -l lists it: a macro's rows carry its definition's numbers, an %include's rows
// its file's.
const char kNasmListing[] =
    "     1                                  org 100h\n"
    "     2                                  %macro exit 1\n"
    "     3                                    mov ax, 4c00h + %1\n"
    "     4                                    int 21h\n"
    "     5                                  %endmacro\n"
    "     6 00000000 BA[1000]                start: mov dx, msg\n"
    "     7 00000003 E80500                         call show\n"
    "     8                                         exit 0\n"
    "     3 00000006 B8004C              <1>  mov ax, 4c00h + %1\n"
    "     4 00000009 CD21                <1>  int 21h\n"
    "     9                                  %include \"n.inc\"\n"
    "     1 0000000B B409                <1> show: mov ah, 9\n"
    "     2 0000000D CD21                <1>       int 21h\n"
    "     3 0000000F C3                  <1>       ret\n"
    "    10 00000010 486924                  msg db 'Hi$'\n"
    "    11 00000013 00<rep 4h>              buf times 4 db 0\n";

TEST(SourceMap, NasmListingsOfComPrograms)
{
    const CSourceMap map = SourceMapFromNasm(kNasmListing, "n.asm");
    const PlaceCase kCases[] = {
        {0x100, "n.asm", 6}, {0x105, "n.asm", 7}, {0x106, "n.asm", 8}, {0x109, "n.asm", 8},
        {0x10B, "n.inc", 1}, {0x10F, "n.inc", 3}, {0x110, "n.asm", 10}, {0x116, "n.asm", 11},
    };
    for (const PlaceCase& c : kCases)
        EXPECT_EQ(SourceLine({c.file, c.line}), map.LineAt(c.imageOffset).value_or(SourceLine{})) << std::hex << c.imageOffset;
    EXPECT_FALSE(map.LineAt(0x117).has_value());
    ASSERT_EQ(2u, map.Symbols().size());
    EXPECT_EQ("msg", map.Symbols()[0].name);
    EXPECT_EQ(0x110u, map.Symbols()[0].imageOffset);
    EXPECT_EQ(3u, map.Symbols()[0].length);
    EXPECT_EQ(4u, map.Symbols()[1].length);
}
}

namespace {
// MASM 5.10 cuts a row at the listing's width and goes on with the source text on the next
// rows, in the main file and in an INCLUDE file alike.
const char kCutListing[] =
    "\f\bMicrosoft (R) Macro Assembler Version 5.10                  12/9/26 11:03:23\r\n"
    "                                                             Page     1-1\r\n"
    "\r\n"
    "\r\n"
    "\t\t\t\t; Adds a table of words, keeps the total, print\r\n"
    "\t\t\t\ts a greeting through a procedure of PRINT.INC\r\n"
    " 0000\t\t\t\tCSEG    SEGMENT\r\n"
    "\t\t\t\t        INCLUDE PRINT.INC\r\n"
    "\t\t\t     C\t; Printing helpers: PRINTS prints the '$'-ended\r\n"
    "\t\t\t\t text at DS:DX\r\n"
    " 0000                        C\tPRINTS  PROC    NEAR\r\n"
    " 0000  CD 21                 C\t        INT     21H\r\n"
    " 0002  C3                    C\t        RET\r\n"
    " 0003                        C\tPRINTS  ENDP\r\n"
    " 0003  E8 0000 R\t\t        CALL    PRINTS\r\n"
    " 0006  CD 21\t\t\t        INT     21H\r\n"
    " 0008\t\t\t\tCSEG    ENDS\r\n"
    "\t\t\t\t        END\r\n";

TEST(SourceMap, MasmRowsCutAtTheListingsWidth)
{
    const std::map<std::string, std::vector<std::string>> sources = {
        {"cut.asm",
         {"; Adds a table of words, keeps the total, prints a greeting through a procedure of PRINT.INC",
          "CSEG    SEGMENT", "        INCLUDE PRINT.INC", "        CALL    PRINTS", "        INT     21H",
          "CSEG    ENDS", "        END"}},
        {"PRINT.INC",
         {"; Printing helpers: PRINTS prints the '$'-ended text at DS:DX", "PRINTS  PROC    NEAR",
          "        INT     21H", "        RET", "PRINTS  ENDP"}}};
    const CMasmListing listing(kCutListing, "cut.asm", [&](const std::string& file) { return ReadFixture(sources, file); });
    const CSourceMap map = CSourceMap::FromMasm(listing, CLinkMap(" Start  Stop   Length Name   Class\r\n"
                                                                  " 00000H 00007H 00008H CSEG\r\n"));
    const PlaceCase kCases[] = {{0x0, "PRINT.INC", 3}, {0x2, "PRINT.INC", 4}, {0x3, "cut.asm", 4}, {0x6, "cut.asm", 5}};
    for (const PlaceCase& c : kCases)
        EXPECT_EQ(SourceLine({c.file, c.line}), map.LineAt(c.imageOffset).value_or(SourceLine{})) << std::hex << c.imageOffset;
}
}

namespace {
// The segment table MASM 5.10 listed for a .386 module: sizes before the lengths, a group, an
// AT segment, COMMON and PUBLIC segments of each alignment.
const char kSegmentTable[] =
    "\f\bMicrosoft (R) Macro Assembler Version 5.10                  12/10/26 02:46:5\r\n"
    "                                                             Symbols-1\r\n"
    "\r\n"
    "\r\n"
    "Segments and Groups:\r\n"
    "\r\n"
    "                N a m e         \tSize\tLength\t Align\tCombine Class\r\n"
    "\r\n"
    "BIOS . . . . . . . . . . . . . .  \t32 Bit\t0001\tAT\t0040\t\r\n"
    "C32  . . . . . . . . . . . . . .  \t32 Bit\t0005\tPAGE\tPUBLIC\t'CODE'\r\n"
    "DGROUP . . . . . . . . . . . . .  \tGROUP\r\n"
    "  D1 . . . . . . . . . . . . . .  \t16 Bit\t0001\tWORD\tPUBLIC\t'DATA'\r\n"
    "  D2 . . . . . . . . . . . . . .  \t32 Bit\t0001\tBYTE\tCOMMON\t\r\n"
    "\r\n"
    "Symbols:            \r\n"
    "\r\n"
    "                N a m e         \tType\t Value\t Attr\r\n"
    "\r\n"
    "X  . . . . . . . . . . . . . . .  \tL BYTE\t0000\tD1\r\n";

bool operator==(const ListedSegment& a, const ListedSegment& b)
{
    return a.name == b.name && a.length == b.length && a.align == b.align && a.combine == b.combine;
}
}

TEST(SourceMap, TheListingsSegmentTableTellsHowLinkCombinesEachSegment)
{
    const CMasmListing listing(kSegmentTable, "seg386.asm", [](const std::string&) { return std::vector<std::string>{}; });
    using Combine = ListedSegment::Combine;
    const std::vector<ListedSegment> expected = {
        {"C32", 5, 256, Combine::Concatenated}, {"D1", 1, 2, Combine::Concatenated}, {"D2", 1, 1, Combine::Common}};
    ASSERT_EQ(listing.Segments().size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_TRUE(listing.Segments()[i] == expected[i]) << listing.Segments()[i].name;
    ASSERT_EQ(listing.Symbols().size(), 1u);
}

// Each module's part of each segment, module after module in link order.
TEST(SegmentPlacement, EachModulesPartFollowsThePartsBeforeItOrHasASegmentOfItsOwn)
{
    const CLinkMap map(" Start  Stop   Length Name                   Class\r\n"
                       " 00000H 00125H 00126H CODE                   CODE\r\n"
                       " 00130H 00133H 00004H DATA                   DATA\r\n"
                       " 00140H 00145H 00006H DATA                   DATA\r\n"
                       " 00150H 00157H 00008H SHARED                 \r\n"
                       " 00160H 0017FH 00020H STACK                  STACK\r\n");
    using Combine = ListedSegment::Combine;
    const struct {
        std::vector<ListedSegment> segments;
        std::map<std::string, std::pair<uint32_t, uint32_t>> parts;
    } modules[] = {
        {{{"CODE", 0x13, 2, Combine::Concatenated}, {"DATA", 4, 16, Combine::Private},
          {"SHARED", 8, 16, Combine::Common}, {"STACK", 0x10, 16, Combine::Concatenated}},
         {{"CODE", {0x00, 0x00}}, {"DATA", {0x130, 0x130}}, {"SHARED", {0x150, 0x150}}, {"STACK", {0x160, 0x160}}}},
        // WORD after 13H bytes, a private DATA of its own, STACK's second paragraph.
        {{{"CODE", 0x12, 2, Combine::Concatenated}, {"DATA", 6, 16, Combine::Private},
          {"SHARED", 4, 16, Combine::Common}, {"STACK", 0x10, 16, Combine::Concatenated},
          {"ELSEWHERE", 2, 16, Combine::Private}},
         {{"CODE", {0x14, 0x00}}, {"DATA", {0x140, 0x140}}, {"SHARED", {0x150, 0x150}}, {"STACK", {0x170, 0x160}}}},
        // PAGE after 26H bytes.
        {{{"CODE", 0x26, 256, Combine::Concatenated}}, {{"CODE", {0x100, 0x00}}}},
    };
    CSegmentPlacement placement(map);
    for (size_t i = 0; i < std::size(modules); ++i) {
        std::map<std::string, std::pair<uint32_t, uint32_t>> parts;
        for (const auto& [name, part] : placement.PlaceModule(modules[i].segments))
            parts[name] = {part.partStart, part.segmentStart};
        EXPECT_EQ(parts, modules[i].parts) << "module " << i;
    }
}
