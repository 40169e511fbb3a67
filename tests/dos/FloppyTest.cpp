// Drive A: and booting: INT 13h case by case against an image that may be written, one that
// the write rule keeps write-protected, and none; the empty formatted image; a boot sector
// that prints through the BIOS and restarts into itself; a DOS program that restarts the PC;
// a boot sector alone as drive A:'s first sectors; and what cannot boot, each with the
// runner's line and code.
#include "DosTestSupport.h"

#include "dos/DosMachine.h"
#include "dos/FloppyImage.h"
#include "dos/MemoryDrive.h"
#include "doshost/HostDrive.h"
#include "dosrun/DosRunner.h"
#include "dosrun/RunnerOptions.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace dos;

namespace {

std::string Formatted()
{
    const std::vector<uint8_t> image = FloppyImage::Formatted1440();
    return {image.begin(), image.end()};
}

// The formatted image with the test's boot sector (BOOT.COM, 512 bytes) in its first sector.
std::string BootImage()
{
    std::string image = Formatted();
    const std::string boot = DosTest::ReadHostFile(DosTest::Program(L"BOOT.COM"));
    EXPECT_EQ(boot.size(), 512u);
    image.replace(0, boot.size(), boot);
    return image;
}

std::wstring Quoted(const std::wstring& path) { return L"\"" + path + L"\""; }

TEST(DiskBios, AnswersEachInt13hCaseWithTheBiosStatusInAhAndCf)
{
    // Each line: the case, AX, CF, what it read back (see disk.asm).
    const std::string common = "e:0001 0000 \r\nf:0400 0001 \r\ng:0400 0001 \r\nh:0003 0000 \r\ni:0402 0001 \r\n"
                               "j:0000 0000 0004 4F12 0101 0012 \r\nk:0200 0000 \r\nl:0000 0000 \r\nm:0000 0000 \r\n"
                               "n:0100 0001 \r\no:0100 0001 \r\n";
    struct Case {
        const char* what;
        bool floppy;
        bool writable;
        std::string expected;
    } cases[] = {
        {"an image in the start folder", true, true,
         "a:0000 0000 \r\nb:0001 0000 AA55 \r\nc:0001 0000 \r\nd:0001 0000 6E6F \r\n" + common},
        {"an image the write rule keeps from the program", true, false,
         "a:0000 0000 \r\nb:0001 0000 AA55 \r\nc:0300 0001 \r\nd:0001 0000 0000 \r\n" + common},
        {"no disk", false, false,
         "a:8000 0001 \r\nb:8000 0001 0000 \r\nc:8000 0001 \r\nd:8000 0001 0000 \r\ne:8000 0001 \r\n"
         "f:8000 0001 \r\ng:8000 0001 \r\nh:8000 0001 \r\ni:8000 0001 \r\nj:0000 0000 0000 0000 0000 0002 \r\n"
         "k:0000 0000 \r\nl:0000 0000 \r\nm:8000 0001 \r\nn:0100 0001 \r\no:8000 0001 \r\n"},
    };
    DosTest::CScratchFolder start;
    // Beside the test programs: neither the program's folder (it runs from the start folder),
    // nor the start folder, nor the temporary one.
    const std::wstring elsewhere = DosTest::Program(L"") + L"..\\sound-floppy.img";
    CopyFileW(DosTest::Program(L"DISK.COM").c_str(), (start.Path() + L"\\DISK.COM").c_str(), FALSE);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::wstring image = c.writable ? start.Path() + L"\\A.IMG" : elsewhere;
        DosTest::WriteHostFile(image, Formatted());
        const DosTest::ProcessResult run =
            DosTest::RunRunner((c.floppy ? L"--floppy " + Quoted(image) + L" " : L"") + L"DISK.COM", start.Path());
        ASSERT_TRUE(run.ended);
        EXPECT_EQ(run.exitCode, 0u) << run.error;
        EXPECT_EQ(run.output, c.expected);
        const std::string after = DosTest::ReadHostFile(image);
        const size_t written = (((1 * 2) + 1) * 18 + 4) * 512;
        EXPECT_EQ(after.substr(written, 512), c.writable ? after.substr(0, 512) : std::string(512, '\0'));
    }
    DeleteFileW(elsewhere.c_str());
}

// A boot sector as the build made it serves as a diskette's first sectors, read-only, the rest
// zeros; only where asked, and only from one sector up to a whole 1.44 MB diskette.
TEST(FloppyDrive, TakesABootSectorBuildAsADiskettesFirstSectors)
{
    struct Case {
        size_t bytes;
        bool firstSectors;
        bool disk;
        bool readOnly;
        // What sector 2 reads as: the file's bytes from 512 on, zeros beyond its end.
        CFloppyDrive::Status second;
        uint8_t secondFirst, secondLast;
    } cases[] = {
        {1000, true, true, true, CFloppyDrive::kOk, 0x02, 0x00},
        {1024, true, true, true, CFloppyDrive::kOk, 0x02, 0x02},
        {512, true, true, true, CFloppyDrive::kOk, 0x00, 0x00},
        {1474560, true, true, false, CFloppyDrive::kOk, 0x02, 0x02},
        {1000, false, false, false, CFloppyDrive::kNotReady, 0, 0},
        {511, true, false, false, CFloppyDrive::kNotReady, 0, 0},
        {1474560 + 512, true, false, false, CFloppyDrive::kNotReady, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.bytes << (c.firstSectors ? " first sectors" : ""));
        std::string image(c.bytes, '\x02');
        image.replace(0, std::min<size_t>(512, c.bytes), std::min<size_t>(512, c.bytes), '\x01');
        CMemoryDrive drive(0);
        drive.AddFile("A:\\BOOT.BIN", image);
        DosPath::FullPath path;
        ASSERT_EQ(drive.PathOf(L"A:\\BOOT.BIN", path), kErrNone);
        std::unique_ptr<IDriveFile> file;
        ASSERT_EQ(drive.Open(path, 2, OpenAction::OpenExisting, 0, file), kErrNone);
        CFloppyDrive floppy;
        floppy.Insert(std::move(file), false, c.firstSectors);
        EXPECT_EQ(floppy.HasDisk(), c.disk);
        EXPECT_EQ(floppy.ReadOnly(), c.readOnly);
        uint8_t sector[CFloppyDrive::kSectorSize] = {};
        EXPECT_EQ(floppy.Read(0, 0, 2, sector), c.second);
        EXPECT_EQ(sector[0], c.secondFirst);
        EXPECT_EQ(sector[511], c.secondLast);
        if (!c.disk)
            continue;
        EXPECT_EQ(floppy.Geometry().Bytes(), 1474560u);
        EXPECT_EQ(floppy.Read(79, 1, 18, sector), CFloppyDrive::kOk) << "the last sector is on the disk";
        EXPECT_EQ(floppy.Write(0, 0, 1, sector), c.readOnly ? CFloppyDrive::kWriteProtected : CFloppyDrive::kOk);
    }
}

TEST(FloppyImage, IsAnEmptyFat12DiskWhoseBootCodeSaysItIsNoSystemDisk)
{
    const std::string image = Formatted();
    ASSERT_EQ(image.size(), 1474560u);
    struct Field {
        size_t at;
        int size;
        uint32_t value;
        const char* what;
    } fields[] = {
        {0x0B, 2, 512, "bytes a sector"}, {0x0D, 1, 1, "sectors a cluster"}, {0x0E, 2, 1, "reserved sectors"},
        {0x10, 1, 2, "FATs"},            {0x11, 2, 224, "root entries"},    {0x13, 2, 2880, "sectors"},
        {0x15, 1, 0xF0, "media"},        {0x16, 2, 9, "sectors a FAT"},     {0x18, 2, 18, "sectors a track"},
        {0x1A, 2, 2, "heads"},           {0x26, 1, 0x29, "extended boot signature"}, {510, 2, 0xAA55, "boot signature"},
        {512, 3, 0xFFFFF0, "first FAT"}, {10 * 512, 3, 0xFFFFF0, "second FAT"},
    };
    for (const Field& f : fields) {
        uint32_t value = 0;
        for (int i = f.size - 1; i >= 0; --i)
            value = value << 8 | static_cast<uint8_t>(image[f.at + i]);
        EXPECT_EQ(value, f.value) << f.what;
    }
    EXPECT_EQ(image.substr(0x36, 8), "FAT12   ");
    EXPECT_EQ(image.find_first_not_of('\0', 19 * 512), std::string::npos) << "an empty root folder and data area";

    DosTest::CScratchFolder folder;
    const std::wstring path = folder.Path() + L"\\EMPTY.IMG";
    DosTest::WriteHostFile(path, image);
    DosTest::CRecordingHost host;
    host.pending = true;
    DosMachineSettings settings;
    settings.floppyImage = path;
    CDosMachine machine(host, std::make_unique<CHostDrive>(), settings);
    ASSERT_EQ(machine.Boot(folder.Path()), BootSector::Loaded);
    EXPECT_EQ(machine.Run(10000000), StopReason::WaitingForInput);
    EXPECT_EQ(host.output, "\r\nNon-system disk or disk error\r\nReplace and press any key when ready\r\n");
}

TEST(Boot, ABootSectorPrintsThroughTheBiosAndRestartsIntoItself)
{
    DosTest::CScratchFolder folder;
    const std::wstring image = folder.Path() + L"\\BOOT.IMG";
    DosTest::WriteHostFile(image, BootImage());
    const DosTest::ProcessResult run = DosTest::RunRunner(L"--fixed-time --boot BOOT.IMG", folder.Path());
    ASSERT_TRUE(run.ended);
    // Two restarts by INT 19h, one by FFFF:0000, then the count written to the last sector and HLT.
    EXPECT_EQ(run.output, "boot 1 DL=00\r\nboot 2 DL=00\r\nboot 3 DL=00\r\nboot 4 DL=00\r\n");
    EXPECT_EQ(run.exitCode, static_cast<DWORD>(kExitHalted)) << run.error;
    std::string counts;
    for (int i = 0; i < 256; ++i)
        counts += std::string("\x04\x00", 2);
    EXPECT_EQ(DosTest::ReadHostFile(image).substr(2879 * 512), counts);
}

// The sector alone, as nasm built it: it boots and restarts as on a diskette, but its write of
// the last sector finds the disk write-protected and the file stays as it was.
TEST(Boot, ABootSectorAloneBootsFromItsOwnFile)
{
    DosTest::CScratchFolder folder;
    const std::string boot = DosTest::ReadHostFile(DosTest::Program(L"BOOT.COM"));
    DosTest::WriteHostFile(folder.Path() + L"\\BOOT.BIN", boot);
    const DosTest::ProcessResult run = DosTest::RunRunner(L"--fixed-time --boot BOOT.BIN", folder.Path());
    ASSERT_TRUE(run.ended);
    EXPECT_EQ(run.output, "boot 1 DL=00\r\nboot 2 DL=00\r\nboot 3 DL=00\r\nboot 4 DL=00\r\n");
    EXPECT_EQ(run.exitCode, static_cast<DWORD>(kExitHalted)) << run.error;
    EXPECT_EQ(DosTest::ReadHostFile(folder.Path() + L"\\BOOT.BIN"), boot);
}

TEST(Boot, ADosProgramThatRestartsThePcBootsFromTheFloppy)
{
    DosTest::CScratchFolder folder;
    DosTest::WriteHostFile(folder.Path() + L"\\BOOT.IMG", BootImage());
    for (const wchar_t* tail : {L"", L" J"}) {
        const DosTest::ProcessResult run =
            DosTest::RunRunner(L"--fixed-time --floppy BOOT.IMG " + Quoted(DosTest::Program(L"RESTART.COM")) + tail, folder.Path());
        ASSERT_TRUE(run.ended);
        EXPECT_EQ(run.output, "restarting\r\nboot 1 DL=00\r\nboot 2 DL=00\r\nboot 3 DL=00\r\nboot 4 DL=00\r\n");
        EXPECT_EQ(run.exitCode, static_cast<DWORD>(kExitHalted)) << run.error;
    }
}

TEST(Boot, RefusesWhatCannotBootWithItsLineAndCode)
{
    DosTest::CScratchFolder folder;
    std::string unbootable = Formatted();
    unbootable[511] = 0;
    DosTest::WriteHostFile(folder.Path() + L"\\NOSIG.IMG", unbootable);
    DosTest::WriteHostFile(folder.Path() + L"\\ODD.IMG", std::string(1000, '\0'));
    DosTest::WriteHostFile(folder.Path() + L"\\EXISTS.IMG", "");
    const std::wstring restart = Quoted(DosTest::Program(L"RESTART.COM"));
    struct Case {
        std::wstring arguments;
        DWORD code;
        const char* output;
    } cases[] = {
        {L"--boot NOSIG.IMG", kExitNotBootable, ""},
        {L"--boot NOSUCH.IMG", kExitBadFloppy, ""},
        {L"--floppy ODD.IMG " + restart, kExitBadFloppy, ""},
        {restart, kExitNoBootDisk, "restarting\r\n"},
        {L"--floppy NOSIG.IMG " + restart + L" J", kExitNoBootDisk, "restarting\r\n"},
        {L"--make-floppy EXISTS.IMG", kExitCannotWrite, ""},
        {L"--boot NOSIG.IMG PROGRAM.COM", kExitUsage, ""},
    };
    for (const Case& c : cases) {
        const DosTest::ProcessResult run = DosTest::RunRunner(c.arguments, folder.Path());
        ASSERT_TRUE(run.ended);
        EXPECT_EQ(run.exitCode, c.code) << run.error;
        EXPECT_EQ(run.output, c.output);
        EXPECT_NE(run.error.find("korvane-dos"), std::string::npos) << run.error;
    }
    EXPECT_EQ(DosTest::ReadHostFile(folder.Path() + L"\\EXISTS.IMG"), "") << "never made over a file";
}

TEST(Boot, MakeFloppyWritesTheEmptyImage)
{
    DosTest::CScratchFolder folder;
    const DosTest::ProcessResult run = DosTest::RunRunner(L"--make-floppy NEW.IMG", folder.Path());
    ASSERT_TRUE(run.ended);
    EXPECT_EQ(run.exitCode, 0u) << run.error;
    EXPECT_EQ(DosTest::ReadHostFile(folder.Path() + L"\\NEW.IMG"), Formatted());
}

TEST(RunnerOptions, ReadsTheSoundAndDiskOptions)
{
    struct Case {
        const wchar_t* line;
        bool parsed;
        const wchar_t* wave;
        const wchar_t* floppy;
        bool boot;
        bool makeFloppy;
        const wchar_t* program;
    } cases[] = {
        {L"k --wave out.wav --floppy \"a b.img\" P.COM", true, L"out.wav", L"a b.img", false, false, L"P.COM"},
        {L"k --fixed-time --boot A.IMG", true, L"", L"A.IMG", true, false, L""},
        {L"k --make-floppy N.IMG", true, L"", L"N.IMG", false, true, L""},
        {L"k --boot A.IMG P.COM", false, L"", L"A.IMG", true, false, L""},
        {L"k --wave", false, L"", L"", false, false, L""},
        {L"k --floppy A.IMG", false, L"", L"A.IMG", false, false, L""},
        {L"k -- --boot", true, L"", L"", false, false, L"--boot"},
    };
    for (const Case& c : cases) {
        RunnerOptions options;
        std::wstring bad;
        EXPECT_EQ(CRunnerOptions::Parse(c.line, options, bad), c.parsed) << c.line;
        EXPECT_EQ(options.wave, c.wave) << c.line;
        EXPECT_EQ(options.floppy, c.floppy) << c.line;
        EXPECT_EQ(options.boot, c.boot) << c.line;
        EXPECT_EQ(options.makeFloppy, c.makeFloppy) << c.line;
        EXPECT_EQ(options.program, c.program) << c.line;
    }
}

}  // namespace
