// The compiler settings store: the chosen toolchain and the paths of its compiler
// and linker, kept in registry keys that last (an earlier version's volatile keys are made
// lasting, values and all, the first time they are loaded).
//
// Layout, below the settings root: software\korvane with "type" ("masm", "tasm", "mcs" or
// empty), "asm" (the 16-bit toolchain chosen last) and "dos" (the DOS emulator's path, or
// empty), and the subkeys "masm", "tasm" and "mcs", each with "cmp" and "lnk" (and the values
// of the rest of CompilerSettings below).
//
// The settings root is HKEY_LOCAL_MACHINE. Where software\korvane can neither be opened nor
// created there (an ordinary user on current Windows, or where the services say so), the same
// layout is kept below HKEY_CURRENT_USER instead, for loading, saving and the settings
// dialog's reads alike.
#pragma once

#include "build/CompilerType.h"
#include "build/FilePath.h"
#include "build/Result.h"

#include <windows.h>

struct Services;

#include <string>
#include <vector>

// The current toolchain and the paths of its compiler and linker, and the DOS emulator that
// runs DOS programs where the system cannot, whatever the toolchain; then what else the
// toolchain keeps: its argument templates, its debugger, and whether it links at all.
struct CompilerSettings {
    CompilerSettings() = default;
    // A toolchain with its two paths and the emulator; the rest its defaults.
    CompilerSettings(CompilerType type, std::string compiler, std::string linker, std::string dosEmulator = {})
        : m_compilerType(type), m_strCompilerPath(std::move(compiler)), m_strLinkerPath(std::move(linker)),
          m_strDosEmulatorPath(std::move(dosEmulator))
    {
    }

    CompilerType m_compilerType = CompilerType::None;
    std::string m_strCompilerPath;
    std::string m_strLinkerPath;
    std::string m_strDosEmulatorPath;
    // What each step gives its tool, {file} standing for the source file's name and {name}
    // for it without its extension; empty for the tool's default (ArgumentTemplates.h).
    std::string m_strCompilerArgs;
    std::string m_strLinkerArgs;
    // The program the debug command starts the built program with; empty: debug.exe or
    // debug.com where it is found.
    std::string m_strDebuggerPath;
    // The compiler writes the program itself: there is no link step.
    bool m_bNoLink = false;
    // The 8051 simulator in the window runs as fast as it can rather than at a real 12 MHz
    // chip's pace.
    bool m_bFullSpeed51 = false;
    // The teaching board on the 8051's pins in the window: "plain", "pz" or "tx"; empty for
    // plain.
    std::string m_strBoard51;
    // The board's keys bounce for a few milliseconds as they close and open.
    bool m_bBounce51 = false;
    // The built-in DOS machine runs at most this many instructions a millisecond (in F9's
    // console and in the debugger); 0: as fast as it can.
    uint32_t m_nDosPace = 0;
    // Folders, separated by semicolons, where a program in the built-in DOS machine may change
    // files besides its own folder, the source's and the temporary one.
    std::string m_strWritableFolders;
    // The image file the built-in DOS machine's drive A: holds; empty for no disk.
    std::string m_strFloppyImage;
    // The interface lab box on the built-in machine's bus: a preset's name ("288", "300"), or
    // empty for none.
    std::string m_strLabBox;
    // The toolchain a file that is no 8051 source builds with: the 16-bit one chosen last.
    CompilerType m_asmType = CompilerType::Masm;

    friend bool operator==(const CompilerSettings&, const CompilerSettings&) = default;
};

// Key and value names of the layout.
inline constexpr const char* kSettingsKeyPath = "software\\korvane";
inline constexpr const char* kTypeValueName = "type";
inline constexpr const char* kAsmTypeValueName = "asm";
inline constexpr const char* kCompilerValueName = "cmp";
inline constexpr const char* kLinkerValueName = "lnk";
inline constexpr const char* kDosEmulatorValueName = "dos";
inline constexpr const char* kDosPaceValueName = "pace";
inline constexpr const char* kWritableFoldersValueName = "writable";
inline constexpr const char* kFloppyValueName = "floppy";
inline constexpr const char* kLabBoxValueName = "labbox";
inline constexpr const char* kCompilerArgsValueName = "cmpargs";
inline constexpr const char* kLinkerArgsValueName = "lnkargs";
inline constexpr const char* kDebuggerValueName = "dbg";
inline constexpr const char* kNoLinkValueName = "nolink";
inline constexpr const char* kFullSpeed51ValueName = "fast51";
inline constexpr const char* kBoard51ValueName = "board51";
inline constexpr const char* kBounce51ValueName = "bounce51";

// The folders of m_strWritableFolders, blanks around each cut, empty ones left out.
std::vector<FilePath> WritableFolders(const CompilerSettings& settings);

// "masm", "tasm" or "mcs": both the stored text of "type" and the name of the toolchain's
// subkey; the empty text for CompilerType::None (and any value outside the enumeration).
const char* CompilerTypeName(CompilerType type);
// The toolchain whose name is exactly (case-sensitively) this text; CompilerType::None otherwise.
CompilerType CompilerTypeFromName(const std::string& name);

// Reads the settings into the given members; lays the layout out with empty values when the
// settings key does not exist. The problem only when the key neither opens nor can be
// created, below HKEY_LOCAL_MACHINE nor below HKEY_CURRENT_USER.
Result<void> LoadCompilerSettings(CompilerSettings& settings, const Services& services);

// Writes the type and the emulator and, for a toolchain, its values into its subkey
// (created when missing); a value that holds the default is not kept. Nothing is written when
// the settings key does not open. The problem when not everything could be written.
Result<void> SaveCompilerSettings(const CompilerSettings& settings, const Services& services);

// What the settings dialog does when a toolchain is picked: opens software\korvane and the
// toolchain's subkey below the settings root and reads its values into settings: "cmp" and
// "lnk" (each path changes only when its read succeeds), and the templates, the debugger and
// "nolink", which are their defaults where missing. Returns false, reading nothing, when
// either open fails (always for CompilerType::None).
bool ReadToolchain(CompilerType type, CompilerSettings& settings, const Services& services);

// The root whose software\korvane the settings live in now: HKEY_LOCAL_MACHINE when the key
// opens there, else HKEY_CURRENT_USER when it opens there, else HKEY_LOCAL_MACHINE (unless
// the machine-wide key is refused). For a CRegistryKey of the settings dialog.
HKEY CompilerSettingsRoot(const Services& services);
