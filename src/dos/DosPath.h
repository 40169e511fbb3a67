// DOS's rules for names and paths, with no host in sight: 8.3 names, their FCB form and
// wildcard matching, full paths from a drive's current directory, and INT 21h 29h's parse.
#pragma once

#include "dos/DosError.h"

#include <cstdint>
#include <functional>
#include <string>

namespace dos {

namespace DosPath {

// A name DOS could hold as it is: one to eight characters, an optional dot and up to three
// more, each a letter, digit or one of DOS's other allowed characters (ASCII only).
bool IsValid83(const std::string& name);
// The 11 bytes of a name in an FCB: name and extension padded with blanks, '*' as '?'s.
std::string ToFcbForm(const std::string& name);
// Whether `name` matches `pattern`, both in FCB form, '?' matching anything.
bool MatchFcb(const std::string& pattern, const std::string& name);
// Uppercases ASCII letters; other bytes (GBK among them) stay.
std::string Upper(std::string text);
// The name cut to 8.3 as DOS cuts a longer one.
std::string Truncate83(const std::string& name);
bool HasWildcards(const std::string& text);

// A full path "C:\DIR\NAME.EXT": drive 0 is A, "." and ".." gone, the names as the program
// gave them (the host side matches them and cuts them to 8.3). `currentDirectory(drive)`
// gives a drive's current directory without the drive and leading backslash ("" for the root).
struct FullPath {
    uint8_t drive = 0;
    std::string path;  // "\DIR\NAME.EXT", "\" for the root
    std::string Text() const { return std::string(1, static_cast<char>('A' + drive)) + ":" + path; }
};
DosError Resolve(const std::string& input, uint8_t currentDrive,
                 const std::function<std::string(uint8_t)>& currentDirectory, FullPath& full);

// INT 21h 29h: parses a file name at `text` into an FCB image (drive byte and 11 name bytes,
// `fcb` holding the caller's bytes for the parts left alone). Returns AL's value; `used` is
// how many bytes of `text` were taken.
uint8_t ParseFcbName(const std::string& text, uint8_t flags, const std::function<bool(uint8_t)>& driveExists,
                     uint8_t fcb[12], size_t& used);

}

}  // namespace dos
