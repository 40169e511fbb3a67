// The machine for a program file, and the reasons a load failed in words.
#include "debug/DebugTargets.h"

#include "debug/DebugResources.h"
#include "debug/DebugSession.h"
#include "debug/DosTarget.h"
#include "debug/Target51.h"

#include "dos/FloppyDrive.h"

#include <algorithm>
#include <cwctype>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

// ".hex" for C:\work\LEDS.HEX.
std::wstring Extension(const std::wstring& path)
{
    std::wstring extension = std::filesystem::path(path).extension().wstring();
    std::transform(extension.begin(), extension.end(), extension.begin(), [](wchar_t c) { return std::towlower(c); });
    return extension;
}

// What nasm -f bin (or any assembler's flat output) makes of a boot sector: a .bin, or an .img
// that may be a whole diskette.
bool IsBootSector(const std::wstring& path)
{
    const std::wstring extension = Extension(path);
    return extension == L".bin" || extension == L".img";
}

std::string Utf8(const std::wstring& path)
{
    const std::u8string text = std::filesystem::path(path).u8string();
    return std::string(text.begin(), text.end());
}

bool ReadWholeFile(const std::wstring& path, std::string& text)
{
    std::ifstream file(path.c_str(), std::ios::binary);
    if (!file)
        return false;
    text.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return true;
}

uint32_t DosLoadText(dos::LoadError error)
{
    switch (error) {
    case dos::LoadError::NotFound: return IDS_LOAD_NOT_FOUND;
    case dos::LoadError::Unreadable: return IDS_LOAD_UNREADABLE;
    case dos::LoadError::WindowsProgram: return IDS_LOAD_WINDOWS_PROGRAM;
    case dos::LoadError::CorruptHeader: return IDS_LOAD_CORRUPT_HEADER;
    case dos::LoadError::ComTooLarge: return IDS_LOAD_COM_TOO_LARGE;
    case dos::LoadError::NotEnoughMemory: return IDS_LOAD_NO_MEMORY;
    case dos::LoadError::None: break;
    }
    return IDS_LOAD_UNREADABLE;
}

uint32_t HexLoadText(mcs51::HexError51 error)
{
    switch (error) {
    case mcs51::HexError51::kNotHex: return IDS_LOAD_NOT_HEX;
    case mcs51::HexError51::kChecksum: return IDS_LOAD_HEX_CHECKSUM;
    case mcs51::HexError51::kTruncated: return IDS_LOAD_HEX_TRUNCATED;
    case mcs51::HexError51::kBeyondCode:
    case mcs51::HexError51::kTooLarge: return IDS_LOAD_HEX_BEYOND_CODE;
    case mcs51::HexError51::kRecordType: return IDS_LOAD_HEX_RECORD_TYPE;
    case mcs51::HexError51::kNone: break;
    }
    return IDS_LOAD_NOT_HEX;
}

std::unique_ptr<IDebugTarget> Load51(const DebugLaunch& launch, const std::string& name, Sentence& failure)
{
    std::string hex;
    if (!ReadWholeFile(launch.program, hex)) {
        failure = {IDS_LOAD_UNREADABLE, {name}};
        return nullptr;
    }
    auto target = std::make_unique<mcs51::CTarget51>();
    target->SetRealTime(launch.realTime);
    target->SetBoard(mcs51::CBoard51::KindOf(launch.board51).value_or(mcs51::BoardKind51::kPlain));
    target->Board()->SetBounce(launch.bounce51);
    const mcs51::HexResult51 result = target->Load(hex);
    if (!result.Ok()) {
        failure = {HexLoadText(result.error), {name, std::to_string(result.line)}};
        return nullptr;
    }
    return target;
}

std::unique_ptr<IDebugTarget> WithLabBox(std::unique_ptr<dos::CDosTarget> target, const DebugLaunch& launch)
{
    if (!launch.labBox.empty())
        target->PlugLabBox(launch.labBox, launch.labWiring);
    return target;
}

std::unique_ptr<IDebugTarget> LoadDos(const DebugLaunch& launch, const std::string& name, Sentence& failure)
{
    auto target = std::make_unique<dos::CDosTarget>(launch.instructionsPerMs, launch.writableFolders, launch.floppy);
    const dos::LoadError error = target->Load(launch.program, launch.folder, launch.tail);
    if (error != dos::LoadError::None) {
        failure = {DosLoadText(error), {name}};
        return nullptr;
    }
    return WithLabBox(std::move(target), launch);
}

// The boot sector is drive A:'s image too, so that it can read the sectors after it.
std::unique_ptr<IDebugTarget> LoadBoot(const DebugLaunch& launch, const std::string& name, Sentence& failure)
{
    std::error_code error;
    const uintmax_t size = std::filesystem::file_size(std::filesystem::path(launch.program), error);
    if (error) {
        failure = {IDS_LOAD_NOT_FOUND, {name}};
        return nullptr;
    }
    if (size < dos::CFloppyDrive::kSectorSize) {
        failure = {IDS_LOAD_BOOT_SHORT, {name, std::to_string(size)}};
        return nullptr;
    }
    if (dos::FloppyGeometry::OfFirstSectors(size).sectors == 0) {
        failure = {IDS_LOAD_BOOT_TOO_LARGE, {name}};
        return nullptr;
    }
    auto target = std::make_unique<dos::CDosTarget>(launch.instructionsPerMs, launch.writableFolders, launch.program, true);
    switch (target->Boot(launch.folder)) {
    case dos::BootSector::Loaded:
        return WithLabBox(std::move(target), launch);
    case dos::BootSector::NotBootable:
        failure = {IDS_LOAD_NOT_BOOTABLE, {name}};
        return nullptr;
    case dos::BootSector::NoDisk:
        break;
    }
    failure = {IDS_LOAD_UNREADABLE, {name}};
    return nullptr;
}

}

std::unique_ptr<IDebugTarget> DebugTargets::Load(const DebugLaunch& launch, Sentence& failure)
{
    const std::string name = Utf8(launch.program);
    if (Extension(launch.program) == L".hex")
        return Load51(launch, name, failure);
    return IsBootSector(launch.program) ? LoadBoot(launch, name, failure) : LoadDos(launch, name, failure);
}
