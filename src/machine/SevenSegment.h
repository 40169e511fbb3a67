// What a seven-segment digit's lit segments (a = bit 0 ... g = bit 6, the point bit 7) read as.
#pragma once

#include <cstdint>

namespace machine {

namespace SevenSegment {

// The character a person reads in the pattern (the point ignored): ' ' for a dark digit, '?'
// for a pattern that is no character.
char CharacterOf(uint8_t segments);

}

}  // namespace machine
