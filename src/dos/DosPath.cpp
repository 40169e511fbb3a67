// DOS's rules for names and paths, kept apart from the host so they can be checked alone.
#include "dos/DosPath.h"

#include <cctype>
#include <cstring>
#include <vector>

namespace dos {

namespace DosPath {

namespace {

bool IsNameChar(unsigned char c)
{
    if (c >= 'A' && c <= 'Z')
        return true;
    if (c >= 'a' && c <= 'z')
        return true;
    if (c >= '0' && c <= '9')
        return true;
    return std::strchr("!#$%&'()-@^_`{}~", c) != nullptr && c != 0;
}

bool IsFcbTerminator(unsigned char c)
{
    return c <= ' ' || std::strchr(".\"/\\[]:|<>+=;,", c) != nullptr;
}

bool IsSeparator(unsigned char c) { return std::strchr(":.;,=+", c) != nullptr && c != 0; }

// One name part into the FCB: `width` bytes, '*' filling the rest with '?'.
size_t ParseFcbPart(const std::string& text, size_t at, size_t width, uint8_t* field)
{
    size_t filled = 0;
    while (at < text.size() && !IsFcbTerminator(static_cast<unsigned char>(text[at]))) {
        char c = text[at++];
        if (c == '*') {
            while (filled < width)
                field[filled++] = '?';
            continue;
        }
        if (filled < width)
            field[filled++] = static_cast<uint8_t>(c >= 'a' && c <= 'z' ? c - 32 : c);
    }
    while (filled < width)
        field[filled++] = ' ';
    return at;
}

}

bool IsValid83(const std::string& name)
{
    size_t dot = name.find('.');
    std::string base = name.substr(0, dot);
    std::string ext = dot == std::string::npos ? "" : name.substr(dot + 1);
    if (base.empty() || base.size() > 8 || ext.size() > 3 || (dot != std::string::npos && ext.empty()))
        return false;
    for (char c : base + ext)
        if (!IsNameChar(static_cast<unsigned char>(c)))
            return false;
    return true;
}

std::string ToFcbForm(const std::string& name)
{
    if (name == "." || name == "..")
        return name + std::string(11 - name.size(), ' ');
    size_t dot = name.rfind('.');
    std::string base = name.substr(0, dot);
    std::string ext = dot == std::string::npos ? "" : name.substr(dot + 1);
    std::string fcb(11, ' ');
    auto place = [&](const std::string& part, size_t at, size_t width) {
        for (size_t i = 0; i < part.size() && i < width; ++i) {
            if (part[i] == '*') {
                for (size_t j = i; j < width; ++j)
                    fcb[at + j] = '?';
                return;
            }
            fcb[at + i] = part[i];
        }
    };
    place(Upper(base), 0, 8);
    place(Upper(ext), 8, 3);
    return fcb;
}

bool MatchFcb(const std::string& pattern, const std::string& name)
{
    for (size_t i = 0; i < 11; ++i)
        if (pattern[i] != '?' && pattern[i] != name[i])
            return false;
    return true;
}

std::string Upper(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 32);
    return text;
}

std::string Truncate83(const std::string& name)
{
    if (name == "." || name == "..")
        return name;
    size_t dot = name.find('.');
    std::string base = name.substr(0, dot).substr(0, 8);
    if (dot == std::string::npos)
        return base;
    std::string ext = name.substr(dot + 1);
    ext = ext.substr(0, ext.find('.')).substr(0, 3);
    return ext.empty() ? base : base + "." + ext;
}

bool HasWildcards(const std::string& text) { return text.find_first_of("*?") != std::string::npos; }

DosError Resolve(const std::string& input, uint8_t currentDrive,
                 const std::function<std::string(uint8_t)>& currentDirectory, FullPath& full)
{
    std::string text = input;
    for (char& c : text)
        if (c == '/')
            c = '\\';
    if (text.empty())
        return kErrPathNotFound;
    full.drive = currentDrive;
    size_t at = 0;
    if (text.size() >= 2 && text[1] == ':') {
        char letter = Upper(text.substr(0, 1))[0];
        if (letter < 'A' || letter > 'Z')
            return kErrInvalidDrive;
        full.drive = static_cast<uint8_t>(letter - 'A');
        at = 2;
    }
    std::vector<std::string> parts;
    bool valid = true;
    auto split = [&parts, &valid](const std::string& path) {
        size_t start = 0;
        while (start <= path.size()) {
            size_t end = path.find('\\', start);
            if (end == std::string::npos)
                end = path.size();
            std::string part = path.substr(start, end - start);
            if (part == "..") {
                if (!parts.empty())
                    parts.pop_back();
            } else if (!part.empty() && part != ".") {
                // The host drops a name's trailing blanks and dots: drop them here, so that
                // "..." or ".. " cannot reach the host as a way up.
                part.erase(part.find_last_not_of(". ") + 1);
                if (part.empty())
                    valid = false;
                parts.push_back(part);
            }
            start = end + 1;
        }
    };
    if (at >= text.size() || text[at] != '\\')
        split(currentDirectory(full.drive));
    split(text.substr(at));
    if (!valid)
        return kErrPathNotFound;
    full.path.clear();
    for (const std::string& part : parts) {
        for (char c : part)
            if (static_cast<unsigned char>(c) < ' ' || std::strchr("\"+,;=[]|<>:", c))
                return kErrPathNotFound;
        full.path += "\\" + part;
    }
    if (full.path.empty())
        full.path = "\\";
    return kErrNone;
}

uint8_t ParseFcbName(const std::string& text, uint8_t flags, const std::function<bool(uint8_t)>& driveExists,
                     uint8_t fcb[12], size_t& used)
{
    size_t at = 0;
    auto skipBlanks = [&] {
        while (at < text.size() && (text[at] == ' ' || text[at] == '\t'))
            ++at;
    };
    if (flags & 1) {
        skipBlanks();
        if (at < text.size() && IsSeparator(static_cast<unsigned char>(text[at])))
            ++at;
        skipBlanks();
    }
    uint8_t result = 0;
    if (at + 1 < text.size() && text[at + 1] == ':' && std::isalpha(static_cast<unsigned char>(text[at]))) {
        uint8_t drive = static_cast<uint8_t>(Upper(text.substr(at, 1))[0] - 'A' + 1);
        if (!driveExists(drive))
            result = 0xFF;
        fcb[0] = drive;
        at += 2;
    } else if (!(flags & 2)) {
        fcb[0] = 0;
    }
    uint8_t name[8];
    size_t nameEnd = ParseFcbPart(text, at, 8, name);
    if (nameEnd > at || !(flags & 4))
        std::memcpy(fcb + 1, name, 8);
    at = nameEnd;
    uint8_t ext[3];
    if (at < text.size() && text[at] == '.') {
        at = ParseFcbPart(text, at + 1, 3, ext);
        std::memcpy(fcb + 9, ext, 3);
    } else if (!(flags & 8)) {
        std::memset(fcb + 9, ' ', 3);
    }
    used = at;
    if (result == 0 && std::memchr(fcb + 1, '?', 11))
        result = 1;
    return result;
}

}

}  // namespace dos
