// The DOS machine's parts on their own: program files, memory blocks, DOS names, keys and
// korvane-dos.exe's command line, each a table of cases.
#include "dos/DosPath.h"
#include "dos/InterruptController.h"
#include "dos/MemoryArena.h"
#include "dos/ProgramImage.h"
#include "doshost/PcKeyboardMap.h"
#include "dosrun/RunnerOptions.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

using namespace dos;

namespace {

// An MZ header of 28 bytes and a module: pages and last-page bytes from `total`.
std::vector<uint8_t> Mz(size_t total, uint16_t headerParagraphs = 2, uint16_t relocations = 0, size_t fileSize = 0)
{
    std::vector<uint8_t> file(fileSize ? fileSize : total, 0);
    auto word = [&](size_t at, uint16_t value) {
        if (at + 1 < file.size()) {
            file[at] = static_cast<uint8_t>(value);
            file[at + 1] = static_cast<uint8_t>(value >> 8);
        }
    };
    file[0] = 'M';
    file[1] = 'Z';
    word(2, static_cast<uint16_t>(total % 512));
    word(4, static_cast<uint16_t>((total + 511) / 512));
    word(6, relocations);
    word(8, headerParagraphs);
    word(0x18, 0x1C);
    return file;
}

std::vector<uint8_t> Windows()
{
    std::vector<uint8_t> file = Mz(256, 4);
    file[0x18] = 0x40;
    file[0x3C] = 0x80;
    std::memcpy(file.data() + 0x80, "PE\0\0", 4);
    return file;
}

TEST(ProgramImage, TellsProgramsFromFilesThatAreNot)
{
    struct Case {
        const char* name;
        std::vector<uint8_t> file;
        ImageError error;
        bool exe;
        size_t module;
    } cases[] = {
        {"com", std::vector<uint8_t>(100, 0x90), ImageError::None, false, 100},
        {"com at the limit", std::vector<uint8_t>(0xFF00, 0x90), ImageError::None, false, 0xFF00},
        {"com one byte over", std::vector<uint8_t>(0xFF01, 0x90), ImageError::ComTooLarge, false, 0},
        {"exe", Mz(600), ImageError::None, true, 600 - 32},
        {"exe with extra data after its image", Mz(600, 2, 0, 900), ImageError::None, true, 600 - 32},
        {"header cut short", std::vector<uint8_t>{'M', 'Z', 0, 0}, ImageError::CorruptHeader, false, 0},
        {"image longer than the file", Mz(2000, 2, 0, 700), ImageError::CorruptHeader, false, 0},
        {"header longer than the image", Mz(100, 10), ImageError::CorruptHeader, false, 0},
        {"relocations outside the file", Mz(64, 2, 100), ImageError::CorruptHeader, false, 0},
        {"windows program", Windows(), ImageError::WindowsProgram, false, 0},
    };
    for (Case& c : cases) {
        CProgramImage image;
        EXPECT_EQ(image.Parse(c.file), c.error) << c.name;
        if (c.error != ImageError::None)
            continue;
        EXPECT_EQ(image.IsExe(), c.exe) << c.name;
        EXPECT_EQ(image.Module().size(), c.module) << c.name;
    }
}

TEST(MemoryArena, AllocatesFreesAndResizesAsDosDoes)
{
    // Steps on an arena of 1000h paragraphs from 100h: allocate (a), free (f), resize (r),
    // strategy (s); the result, and the segment or largest block it gives back.
    struct Step {
        char what;
        uint16_t argument;
        DosError error;
        uint16_t answer;
    } steps[] = {
        {'a', 0x100, kErrNone, 0x101},
        {'a', 0x100, kErrNone, 0x202},
        {'a', 0x1000, kErrNotEnoughMemory, 0xDFD},
        {'f', 0x101, kErrNone, 0},
        {'s', CMemoryArena::kBestFit, kErrNone, 0},
        {'a', 0x80, kErrNone, 0x101},
        {'s', CMemoryArena::kLastFit, kErrNone, 0},
        {'a', 0x10, kErrNone, 0x10F0},
        {'r', 0x40, kErrNone, 0},
        // A block that cannot grow as asked grows as far as it can, as DOS 2.1 to 6 do.
        {'r', 0xF00, kErrNotEnoughMemory, 0xEED},
        {'f', 0x999, kErrInvalidBlock, 0},
    };
    CMemory memory;
    CMemoryArena arena(memory);
    arena.Reset(0x100, 0x1100);
    for (const Step& step : steps) {
        uint16_t segment = 0, largest = 0;
        DosError error = kErrNone;
        uint16_t answer = 0;
        switch (step.what) {
        case 'a':
            error = arena.Allocate(step.argument, 0x55, segment, largest);
            answer = error == kErrNone ? segment : largest;
            break;
        case 'f':
            error = arena.Free(step.argument);
            break;
        case 'r':
            error = arena.Resize(0x202, step.argument, largest);
            answer = error == kErrNone ? 0 : largest;
            break;
        case 's':
            arena.SetStrategy(step.argument);
            break;
        }
        EXPECT_EQ(error, step.error) << step.what << " " << std::hex << step.argument;
        EXPECT_EQ(answer, step.answer) << step.what << " " << std::hex << step.argument;
    }
    EXPECT_EQ(arena.BlockSize(0x202), 0xEED);
    // A program that writes over a control block breaks the chain.
    memory.Write8(CMemory::Linear(0x181, 0), 'X');
    uint16_t segment = 0, largest = 0;
    EXPECT_EQ(arena.Allocate(0x10, 0x55, segment, largest), kErrArenaTrashed);
}

TEST(DosPath, NamesAsDosHoldsThem)
{
    struct Case {
        const char* name;
        bool valid;
        const char* fcb;
        const char* cut;
    } cases[] = {
        {"HELLO.ASM", true, "HELLO   ASM", "HELLO.ASM"},
        {"hello.asm", true, "HELLO   ASM", "hello.asm"},
        {"A", true, "A          ", "A"},
        {"LONGFILENAME.TEXT", false, "LONGFILETEX", "LONGFILE.TEX"},
        {"two words.txt", false, "TWO WORDTXT", "two word.txt"},
        {"*.*", false, "???????????", "*.*"},
        {"TEST?.DAT", false, "TEST?   DAT", "TEST?.DAT"},
        {"a.b.c", false, "A.B     C  ", "a.b"},
        {"\xd6\xd0\xce\xc4.TXT", false, "\xd6\xd0\xce\xc4    TXT", "\xd6\xd0\xce\xc4.TXT"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DosPath::IsValid83(c.name), c.valid) << c.name;
        if (std::strcmp(c.name, "a.b.c") != 0) {
            EXPECT_EQ(DosPath::ToFcbForm(c.name), c.fcb) << c.name;
        }
        EXPECT_EQ(DosPath::Truncate83(c.name), c.cut) << c.name;
    }
    EXPECT_TRUE(DosPath::MatchFcb(DosPath::ToFcbForm("*.ASM"), DosPath::ToFcbForm("HELLO.ASM")));
    EXPECT_TRUE(DosPath::MatchFcb(DosPath::ToFcbForm("H?LLO.*"), DosPath::ToFcbForm("HALLO")));
    EXPECT_FALSE(DosPath::MatchFcb(DosPath::ToFcbForm("*.ASM"), DosPath::ToFcbForm("HELLO.OBJ")));
}

TEST(DosPath, FullPathsFromTheCurrentFolder)
{
    struct Case {
        const char* input;
        DosError error;
        const char* full;
    } cases[] = {
        {"hello.asm", kErrNone, "C:\\WORK\\SRC\\hello.asm"},
        {"..\\lib\\x.inc", kErrNone, "C:\\WORK\\lib\\x.inc"},
        {"\\", kErrNone, "C:\\"},
        {"/masm/masm.exe", kErrNone, "C:\\masm\\masm.exe"},
        {"D:file", kErrNone, "D:\\TOOLS\\file"},
        {"d:\\..\\..\\a", kErrNone, "D:\\a"},
        {".\\.\\b", kErrNone, "C:\\WORK\\SRC\\b"},
        // The host drops trailing dots and blanks; a name of nothing else is no way up.
        {"a.\\b..", kErrNone, "C:\\WORK\\SRC\\a\\b"},
        {"...\\x", kErrPathNotFound, ""},
        {"\\.. \\x", kErrPathNotFound, ""},
        {"bad|name", kErrPathNotFound, ""},
        {"", kErrPathNotFound, ""},
        {"1:x", kErrInvalidDrive, ""},
    };
    auto current = [](uint8_t drive) { return std::string(drive == 2 ? "WORK\\SRC" : "TOOLS"); };
    for (const Case& c : cases) {
        DosPath::FullPath full;
        EXPECT_EQ(DosPath::Resolve(c.input, 2, current, full), c.error) << c.input;
        if (c.error == kErrNone) {
            EXPECT_EQ(full.Text(), c.full) << c.input;
        }
    }
}

TEST(DosPath, ParsesFileNamesIntoFcbsAsInt21Function29)
{
    struct Case {
        const char* text;
        uint8_t flags;
        uint8_t result;
        const char* fcb;
        size_t used;
    } cases[] = {
        {"hello.asm;", 0, 0, "\0HELLO   ASM", 9},
        {"  ,b:x*.?  rest", 1, 1, "\2X????????  ", 9},
        {"q:file", 0, 0xFF, "\x11" "FILE       ", 6},
        {"", 0, 0, "\0           ", 0},
        {"  /Zi", 1, 0, "\0           ", 2},
    };
    auto exists = [](uint8_t drive) { return drive <= 3; };
    for (const Case& c : cases) {
        uint8_t fcb[12];
        std::memset(fcb, '#', sizeof fcb);
        size_t used = 0;
        EXPECT_EQ(DosPath::ParseFcbName(c.text, c.flags, exists, fcb, used), c.result) << c.text;
        EXPECT_EQ(std::string(reinterpret_cast<char*>(fcb), 12), std::string(c.fcb, 12)) << c.text;
        EXPECT_EQ(used, c.used) << c.text;
    }
}

TEST(PcKeyboardMap, GivesTheBiosCodesOfEachKey)
{
    auto key = [](uint16_t virtualKey, uint8_t scan, std::vector<uint8_t> character, bool shift = false,
                  bool control = false, bool alt = false, bool enhanced = false) {
        return HostKey{virtualKey, scan, std::move(character), shift, control, alt, enhanced};
    };
    struct Case {
        const char* name;
        HostKey key;
        std::vector<uint16_t> codes;
    } cases[] = {
        {"a", key('A', 0x1E, {'a'}), {0x1E61}},
        {"Enter", key(VK_RETURN, 0x1C, {13}), {0x1C0D}},
        {"Ctrl+Enter", key(VK_RETURN, 0x1C, {10}, false, true), {0x1C0A}},
        {"Ctrl+C", key('C', 0x2E, {3}, false, true), {0x2E03}},
        {"Esc", key(VK_ESCAPE, 0x01, {27}), {0x011B}},
        {"F1", key(VK_F1, 0x3B, {}), {0x3B00}},
        {"Shift+F1", key(VK_F1, 0x3B, {}, true), {0x5400}},
        {"Alt+F10", key(VK_F10, 0x44, {}, false, false, true), {0x7100}},
        {"F12", key(VK_F12, 0x58, {}), {0x8600}},
        {"keypad Up", key(VK_UP, 0x48, {}), {0x4800}},
        {"grey Up", key(VK_UP, 0x48, {}, false, false, false, true), {0x48E0}},
        {"Ctrl+Left", key(VK_LEFT, 0x4B, {}, false, true), {0x7300}},
        {"Alt+X", key('X', 0x2D, {'x'}, false, false, true), {0x2D00}},
        {"Alt+1", key('1', 0x02, {'1'}, false, false, true), {0x7800}},
        {"Shift+Tab", key(VK_TAB, 0x0F, {9}, true), {0x0F00}},
        {"Shift alone", key(VK_SHIFT, 0x2A, {}), {}},
        {"a Chinese character", key(VK_PROCESSKEY, 0, {0xD6, 0xD0}), {0x00D6, 0x00D0}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PcKeyboardMap::BiosKeys(c.key), c.codes) << c.name;
    EXPECT_EQ(PcKeyboardMap::ShiftFlags(false, true, true, false, false, true, false), 0x26);
}

// A program that sets the PC's controller up again: the words after ICW1 at port 21h are its
// set-up, not the mask; the mask is the word after them.
TEST(InterruptController, TakesTheSetUpWordsAtPort21hBeforeTheMask)
{
    const struct {
        const char* what;
        std::vector<uint8_t> words;
        uint8_t mask;
    } cases[] = {
        {"single, with ICW4", {0x13, 0x08, 0x01}, 0x00},
        {"cascade, with ICW4", {0x11, 0x08, 0x04, 0x01}, 0x00},
        {"single, no ICW4", {0x12, 0x08}, 0x00},
        {"the mask after the set-up", {0x13, 0x08, 0x01, 0xFA}, 0xFA},
    };
    for (const auto& c : cases) {
        CInterruptController pic;
        pic.Reset();
        pic.Out(0x20, c.words[0]);
        for (size_t i = 1; i < c.words.size(); ++i)
            pic.Out(0x21, c.words[i]);
        EXPECT_EQ(pic.In(0x21), c.mask) << c.what;
    }
}

// How fast the machine runs, how its time passes, and when its devices are looked at.
TEST(RunnerOptions, ReadsThePaceTheFixedTimeAndTheTimesToObserve)
{
    struct Case {
        const wchar_t* line;
        const wchar_t* bad;
        uint32_t pace;
        bool fixed;
        std::vector<uint64_t> observe;
    } cases[] = {
        {L"k P.COM", L"", 0, false, {}},
        {L"k --pace 3000 --fixed-time P.COM", L"", 3000, true, {}},
        {L"k --pace 3000 --pace max P.COM", L"", 0, false, {}},
        {L"k --observe 100,0,55,100 P.COM --pace 1", L"", 0, false, {0, 55, 100}},
        {L"k --pace 0 P.COM", L"--pace 0", 0, false, {}},
        {L"k --pace fast P.COM", L"--pace fast", 0, false, {}},
        {L"k --observe 1,,2 P.COM", L"--observe 1,,2", 0, false, {}},
        {L"k --observe -1 P.COM", L"--observe -1", 0, false, {}},
    };
    for (const Case& c : cases) {
        RunnerOptions options;
        std::wstring bad;
        EXPECT_EQ(CRunnerOptions::Parse(c.line, options, bad), *c.bad == L'\0') << c.line;
        EXPECT_EQ(bad, c.bad);
        if (*c.bad)
            continue;
        EXPECT_EQ(options.pace.instructionsPerMs, c.pace) << c.line;
        EXPECT_EQ(options.pace.fixed, c.fixed) << c.line;
        EXPECT_EQ(options.observe, c.observe) << c.line;
    }
}

// The lab box's preset, its wiring and the hands on it at their times.
TEST(RunnerOptions, ReadsTheLabBoxAndTheHandsOnIt)
{
    using Kind = BoxSetting::Kind;
    struct Case {
        const wchar_t* line;
        const wchar_t* bad;
        const char* labbox;
        std::vector<BoxSetting> settings;
        const char* wiring = "";
    } cases[] = {
        {L"k --labbox 288 --wiring \"led0-7 = pb0-7; pb0-7 = switch0-7\" P.COM", L"", "288", {}, "led0-7 = pb0-7; pb0-7 = switch0-7"},
        {L"k --labbox 288 --wiring \"led0-7 = pz0-7\" P.COM", L"--wiring led0-7 = pz0-7", "", {}},
        {L"k --wiring led0=pa0 P.COM", L"--wiring", "", {}},
        {L"k --labbox 288 P.COM", L"", "288", {}},
        {L"k --labbox 300 --set switches=10000001@20 --set pulse@5 P.COM", L"", "300",
         {{Kind::Switches, 20, 0x81, 0, 0}, {Kind::Pulse, 5, 0, 0, 0}}},
        {L"k --labbox 288 --set adc=2.5@100 --set adc3=1@0 P.COM", L"", "288", {{Kind::Analog, 100, 0, 0, 2.5}, {Kind::Analog, 0, 0, 3, 1.0}}},
        {L"k --labbox 299 P.COM", L"--labbox 299", "", {}},
        {L"k --set pulse@5 P.COM", L"--set", "", {}},
        {L"k --labbox 288 --set switches=1000000@5 P.COM", L"--set switches=1000000@5", "", {}},
        {L"k --labbox 288 --set switches=10000002@5 P.COM", L"--set switches=10000002@5", "", {}},
        {L"k --labbox 288 --set adc8=1@5 P.COM", L"--set adc8=1@5", "", {}},
        {L"k --labbox 288 --set adc=5.5@5 P.COM", L"--set adc=5.5@5", "", {}},
        {L"k --labbox 288 --set adc=1..2@5 P.COM", L"--set adc=1..2@5", "", {}},
        {L"k --labbox 288 --set pulse P.COM", L"--set pulse", "", {}},
        {L"k --labbox 288 --set pulse=1@5 P.COM", L"--set pulse=1@5", "", {}},
        {L"k --labbox 288 --set led@5 P.COM", L"--set led@5", "", {}},
    };
    for (const Case& c : cases) {
        RunnerOptions options;
        std::wstring bad;
        EXPECT_EQ(CRunnerOptions::Parse(c.line, options, bad), *c.bad == L'\0') << c.line;
        EXPECT_EQ(bad, c.bad);
        if (*c.bad)
            continue;
        EXPECT_EQ(options.labbox, c.labbox) << c.line;
        EXPECT_EQ(options.settings, c.settings) << c.line;
        EXPECT_EQ(options.wiring, c.wiring) << c.line;
    }
}

TEST(RunnerOptions, ReadsTheCommandLineAndKeepsTheTailAsItStands)
{
    struct Case {
        const wchar_t* line;
        bool ok;
        const wchar_t* program;
        const wchar_t* tail;
        uint16_t memory;
        uint8_t major, minor;
        bool pause;
        const wchar_t* bad;
        std::vector<std::wstring> writable;
    } cases[] = {
        {L"korvane-dos.exe C:\\MASM\\MASM.EXE hello.asm;", true, L"C:\\MASM\\MASM.EXE", L" hello.asm;", 640, 5, 0, false, L"", {}},
        {L"\"C:\\k d\\korvane-dos.exe\" \"C:\\My Tools\\LINK.EXE\"  a,\"b c\";", true, L"C:\\My Tools\\LINK.EXE", L"  a,\"b c\";", 640, 5, 0, false, L"", {}},
        {L"k --mem 128 --dos-version 3.30 --pause P.COM", true, L"P.COM", L"", 128, 3, 30, true, L"", {}},
        {L"k -- --pause", true, L"--pause", L"", 640, 5, 0, false, L"", {}},
        {L"k --allow-writes C:\\OUT --allow-writes \"D:\\My Lab\" P.COM x", true, L"P.COM", L" x", 640, 5, 0, false, L"",
         {L"C:\\OUT", L"D:\\My Lab"}},
        {L"k --mem 999 P.COM", false, L"", L"", 640, 5, 0, false, L"--mem 999", {}},
        {L"k --dos-version five P.COM", false, L"", L"", 640, 5, 0, false, L"--dos-version five", {}},
        {L"k --fast P.COM", false, L"", L"", 640, 5, 0, false, L"--fast", {}},
        {L"k --allow-writes", false, L"", L"", 640, 5, 0, false, L"--allow-writes", {}},
        {L"k", false, L"", L"", 640, 5, 0, false, L"", {}},
    };
    for (const Case& c : cases) {
        RunnerOptions options;
        std::wstring bad;
        ASSERT_EQ(CRunnerOptions::Parse(c.line, options, bad), c.ok);
        EXPECT_EQ(bad, c.bad);
        if (!c.ok)
            continue;
        EXPECT_EQ(options.program, c.program);
        EXPECT_EQ(options.tail, c.tail);
        EXPECT_EQ(options.memoryKb, c.memory);
        EXPECT_EQ(options.versionMajor, c.major);
        EXPECT_EQ(options.versionMinor, c.minor);
        EXPECT_EQ(options.pause, c.pause);
        EXPECT_EQ(options.writableFolders, c.writable);
    }
}

}
