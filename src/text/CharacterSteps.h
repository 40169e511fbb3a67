// Where the caret goes by a character or a word: GBK and UTF-8 text is UTF-16 inside, so a
// character is one unit or a surrogate pair, and a line break (CR LF, CR CR LF, LF) is one
// step too. Words are the names of assembly source; a Chinese character counts as a letter.
#pragma once

#include "text/TextBuffer.h"

#include <utility>

bool IsWordCharacter(wchar_t c);

// The position one character after or before pos.
size_t NextCharacter(const CTextBuffer& text, size_t pos);
size_t PreviousCharacter(const CTextBuffer& text, size_t pos);
// pos, or the start of the character or line break it falls inside.
size_t CharacterStart(const CTextBuffer& text, size_t pos);

// Ctrl+Right: the start of the next word; Ctrl+Left: the start of this or the previous one.
// A line break is a stop of its own.
size_t NextWordStart(const CTextBuffer& text, size_t pos);
size_t PreviousWordStart(const CTextBuffer& text, size_t pos);
// What a double-click at pos selects: the word, the run of blanks or the run of other signs.
std::pair<size_t, size_t> WordAround(const CTextBuffer& text, size_t pos);
