// The colours of the syntax kinds, chosen to be told apart on a light window and moved
// towards the window's text colour until they read well on whatever window colour the
// system has.
#pragma once

#include "text/AsmLexer.h"

#include <windows.h>

COLORREF ColorOfToken(TokenKind kind, COLORREF background, COLORREF text);
// The colour, moved towards the text colour as far as it takes to read well on the background.
COLORREF ReadableColor(COLORREF color, COLORREF background, COLORREF text);
// A colour between two others: weight 0 gives from, 256 gives to.
COLORREF MixColors(COLORREF from, COLORREF to, int weight);
