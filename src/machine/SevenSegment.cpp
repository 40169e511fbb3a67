// The patterns of the characters the courses' digits show.
#include "machine/SevenSegment.h"

namespace machine {

namespace {
struct Pattern {
    uint8_t segments;
    char character;
};
// Several spellings of 6, 7 and 9 among them.
const Pattern kPatterns[] = {
    {0x00, ' '}, {0x3F, '0'}, {0x06, '1'}, {0x5B, '2'}, {0x4F, '3'}, {0x66, '4'}, {0x6D, '5'}, {0x7D, '6'},
    {0x7C, 'b'}, {0x07, '7'}, {0x27, '7'}, {0x7F, '8'}, {0x6F, '9'}, {0x67, '9'}, {0x77, 'A'}, {0x39, 'C'},
    {0x5E, 'd'}, {0x79, 'E'}, {0x71, 'F'}, {0x76, 'H'}, {0x38, 'L'}, {0x73, 'P'}, {0x3E, 'U'}, {0x40, '-'},
    {0x08, '_'}, {0x5C, 'o'}, {0x54, 'n'}, {0x50, 'r'}, {0x1C, 'u'}, {0x3D, 'G'}, {0x1E, 'J'}, {0x78, 't'},
};
}

char SevenSegment::CharacterOf(uint8_t segments)
{
    for (const Pattern& pattern : kPatterns)
        if (pattern.segments == (segments & 0x7F))
            return pattern.character;
    return '?';
}

}  // namespace machine
