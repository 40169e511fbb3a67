// The listing in ASM51's layout: LOC, OBJ, LINE and SOURCE columns (four bytes of object code a
// line, the rest on lines of their own), an included file's lines marked "=n" with their own
// numbers, each line's messages after it, then the symbol table. LINE is the main file's line
// number, which the debugger's source map (CListing51) takes it for.
#pragma once

#include "asm51/Assembler51.h"

#include <functional>
#include <string>

namespace asm51 {

class CListingWriter51 {
public:
    // The text of a message as the listing shows it (the front end's language).
    using MessageText = std::function<std::string(const Diagnostic51&)>;

    static std::string Write(const CAssembler51& assembler, const std::string& title, const MessageText& messageText);

private:
    static std::string SourceLine(const ListedLine51& line);
    static std::string SymbolTable(const CAssembler51& assembler);
};

}  // namespace asm51
