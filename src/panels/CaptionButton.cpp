// The close button of a panel's caption strip.
#include "panels/CaptionButton.h"

#include "framework/Drawing.h"
#include "framework/Handles.h"

#include <cmath>

namespace {
const wchar_t kSymbolFace[] = L"Marlett";
// In the symbol font, "r" is the close cross.
const wchar_t kCloseGlyph[] = L"r";

// The symbol font at 6 points for 96 pixels per inch, so the glyph stays 8 pixels high.
GdiObject<HFONT> CreateSymbolFont(HDC dc)
{
    int tenths = static_cast<int>(std::lround(60.0 * 96.0 / ::GetDeviceCaps(dc, LOGPIXELSX)));
    LOGFONTW lf{};
    lf.lfHeight = -::MulDiv(tenths, ::GetDeviceCaps(dc, LOGPIXELSY), 720);
    lf.lfCharSet = SYMBOL_CHARSET;
    lstrcpynW(lf.lfFaceName, kSymbolFace, LF_FACESIZE);
    return GdiObject<HFONT>(::CreateFontIndirectW(&lf));
}

bool HasFace(HDC dc, const wchar_t* face)
{
    wchar_t actual[LF_FACESIZE] = L"";
    ::GetTextFaceW(dc, LF_FACESIZE, actual);
    return lstrcmpiW(actual, face) == 0;
}
}

void CCaptionButton::PaintCross(HDC dc) const
{
    GdiObject<HFONT> font = CreateSymbolFont(dc);
    SelectGuard select(dc, font.get());
    if (HasFace(dc, kSymbolFace)) {
        ::TextOutW(dc, m_ptOrigin.x + 3, m_ptOrigin.y + 3, kCloseGlyph, 1);
        return;
    }
    // Without the symbol font, the same 8-pixel cross drawn where its glyph would be.
    COLORREF color = ::GetSysColor(COLOR_BTNTEXT);
    int x = m_ptOrigin.x + 3;
    int y = m_ptOrigin.y + 3;
    for (int i = 0; i < 8; ++i) {
        FillSolidRect(dc, x + i, y + i, 2, 1, color);
        FillSolidRect(dc, x + 7 - i, y + i, 2, 1, color);
    }
}

bool CCaptionButton::SetState(bool pushed, bool raised)
{
    if (pushed == m_bPushed && raised == m_bRaised)
        return false;
    m_bPushed = pushed;
    m_bRaised = raised;
    return true;
}

void CCaptionButton::Paint(HDC dc) const
{
    RECT r = GetRect();
    if (m_bPushed)
        Draw3dFrame(dc, r, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHIGHLIGHT));
    else if (m_bRaised)
        Draw3dFrame(dc, r, ::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_BTNSHADOW));
    TextColorGuard color(dc, ::GetSysColor(COLOR_BTNTEXT));
    BkModeGuard mode(dc, TRANSPARENT);
    PaintCross(dc);
}
