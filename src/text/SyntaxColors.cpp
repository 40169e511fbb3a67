// Colours of the syntax kinds.
#include "text/SyntaxColors.h"

#include <algorithm>
#include <cmath>

namespace {
// WCAG's contrast of 4.5 to 1, the least for text of ordinary size.
constexpr double kReadableContrast = 4.5;

double Luminance(COLORREF color)
{
    auto channel = [](int value) {
        const double c = value / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(GetRValue(color)) + 0.7152 * channel(GetGValue(color)) + 0.0722 * channel(GetBValue(color));
}

double Contrast(COLORREF a, COLORREF b)
{
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

COLORREF BaseColor(TokenKind kind)
{
    switch (kind) {
    case TokenKind::Comment: return RGB(0, 128, 0);
    case TokenKind::String: return RGB(163, 21, 21);
    case TokenKind::Number: return RGB(176, 80, 0);
    case TokenKind::Instruction: return RGB(0, 0, 255);
    case TokenKind::Register: return RGB(0, 118, 128);
    case TokenKind::Directive: return RGB(128, 0, 128);
    case TokenKind::Label: return RGB(110, 60, 0);
    case TokenKind::Plain: break;
    }
    return CLR_INVALID;
}
}

COLORREF MixColors(COLORREF from, COLORREF to, int weight)
{
    auto mix = [weight](int a, int b) { return static_cast<BYTE>(a + (b - a) * weight / 256); };
    return RGB(mix(GetRValue(from), GetRValue(to)), mix(GetGValue(from), GetGValue(to)), mix(GetBValue(from), GetBValue(to)));
}

COLORREF ColorOfToken(TokenKind kind, COLORREF background, COLORREF text)
{
    const COLORREF base = BaseColor(kind);
    return base == CLR_INVALID ? text : ReadableColor(base, background, text);
}

COLORREF ReadableColor(COLORREF base, COLORREF background, COLORREF text)
{
    // On a dark or coloured window the hue stays while the colour comes nearer the text's.
    for (int weight = 0; weight < 256; weight += 32) {
        const COLORREF color = MixColors(base, text, weight);
        if (Contrast(color, background) >= kReadableContrast)
            return color;
    }
    return text;
}
