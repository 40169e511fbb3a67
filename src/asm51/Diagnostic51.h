// What the assembler says about a source: each message's number (the n of "A51-n", and the
// string the front end shows for it), the file and line, and the words it names.
#pragma once

#include <cstdint>
#include <string>

namespace asm51 {

enum class Message51 : uint8_t {
    kSyntax = 1,
    kUndefined = 2,
    kRedefined = 3,
    kUnknownMnemonic = 4,
    kBadOperands = 5,
    kOutOfRange = 6,
    kJumpTooFar = 7,
    kOtherPage = 8,
    kNotBitAddressable = 9,
    kCannotInclude = 10,
    kOpenString = 11,
    kBadNumber = 12,
    kDivideByZero = 13,
    kForwardReference = 14,
    kOverlap = 15,
    kBeyondCode = 16,
    kUnsupported = 17,
    kIncludeDepth = 18,
    kNoBytesHere = 19,
    // Warnings from here on.
    kNoEnd = 40,
};

inline bool IsWarning(Message51 message) { return static_cast<int>(message) >= static_cast<int>(Message51::kNoEnd); }

struct Diagnostic51 {
    Message51 message = Message51::kSyntax;
    // The file as the source or its $INCLUDE names it, and its line from 1.
    std::string file;
    unsigned line = 0;
    // What %1 stands for in the message's text (a name, a number), or empty.
    std::string detail;
};

}  // namespace asm51
