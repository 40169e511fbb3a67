// Tab pages of the page tab control and the drawing of one tab.
#include "panels/TabEntry.h"

#include "framework/Handles.h"
#include "framework/Unicode.h"

#include <algorithm>

namespace {
const int kTextPadding = 9;
const int kIconRoom = 18;
const int kIconSize = 16;
const int kMaxCuts = 10;
const wchar_t kEllipsis[] = L"...";

// The pens every tab draws with, made on first use and released at exit. The shadow pen
// follows the system colour, so it is made again when the system colours change.
struct TabPens {
    GdiObject<HPEN> white{::CreatePen(PS_SOLID, 1, RGB(255, 255, 255))};
    GdiObject<HPEN> black{::CreatePen(PS_SOLID, 1, RGB(0, 0, 0))};
    GdiObject<HPEN> shadow{ShadowPen()};

    static HPEN ShadowPen() { return ::CreatePen(PS_SOLID, 1, ::GetSysColor(COLOR_BTNSHADOW)); }
};

TabPens& Pens()
{
    static TabPens pens;
    return pens;
}

int TextWidth(HDC dc, const std::wstring& text)
{
    SIZE size{};
    ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

// The longest prefix of at most maxBytes bytes of a GBK text that does not end inside a
// double-byte character.
size_t CharBoundary(const std::string& gbk, size_t maxBytes)
{
    size_t i = 0;
    while (i < maxBytes && i < gbk.size()) {
        size_t step = IsGbkLeadByte(static_cast<unsigned char>(gbk[i])) && i + 1 < gbk.size() ? 2 : 1;
        if (i + step > maxBytes)
            break;
        i += step;
    }
    return i;
}

size_t CutLength(size_t length, int cutBytes)
{
    return length > static_cast<size_t>(cutBytes) ? length - static_cast<size_t>(cutBytes) : 0;
}

void Line(HDC dc, HPEN pen, std::initializer_list<POINT> points)
{
    ::SelectObject(dc, pen);
    auto it = points.begin();
    ::MoveToEx(dc, it->x, it->y, nullptr);
    for (++it; it != points.end(); ++it)
        ::LineTo(dc, it->x, it->y);
}
}

int CTabEntry::GetWidth(HDC dc) const
{
    int width = TextWidth(dc, Widen(m_strTitle)) + kTextPadding;
    return m_hIcon ? width + kIconRoom : width;
}

// Titles are cut in GBK bytes, two at a time: one Chinese character or two others.
std::wstring CTabEntry::FitTitle(HDC dc, const std::wstring& title, int width)
{
    const std::string gbk = EncodeCodePage(title, kGbkCodePage);
    auto prefix = [&](size_t bytes) { return DecodeCodePage(std::string_view(gbk).substr(0, bytes), kGbkCodePage); };
    int cuts = 0;
    size_t candidate = gbk.size();
    while (TextWidth(dc, prefix(candidate)) > width) {
        ++cuts;
        candidate = CharBoundary(gbk, CutLength(gbk.size(), 2 * cuts));
        if (cuts >= kMaxCuts)
            break;
    }
    if (cuts == 0)
        return title;
    return prefix(CharBoundary(gbk, CutLength(gbk.size(), 2 * cuts + 2))) + kEllipsis;
}

void CTabEntry::OnSysColorChange()
{
    Pens().shadow.reset(TabPens::ShadowPen());
}

void CTabEntry::Draw(HDC dc, UINT, bool active) const
{
    RECT work = m_rect;
    DrawShape(dc, work, active);
    DrawContent(dc, work);
}

// The active tab reaches two pixels up into the page area, covering the frame there, so it
// opens into its page; inactive tabs sit one pixel lower and shorter.
void CTabEntry::DrawShape(HDC dc, RECT& work, bool active) const
{
    GdiObject<HBRUSH> face(::CreateSolidBrush(::GetSysColor(COLOR_BTNFACE)));
    if (active) {
        work.top = m_rect.top - 2;
        ::FillRect(dc, &work, face.get());
        work.top = m_rect.top - 1;
    } else {
        work.bottom = m_rect.bottom - 1;
    }
    ::FillRect(dc, &m_rect, face.get());

    const TabPens& pens = Pens();
    // Line selects each pen in turn; the guard puts the DC's own pen back at the end.
    SelectGuard pen(dc, pens.white.get());
    const LONG l = work.left, t = work.top, r = work.right, b = work.bottom;
    Line(dc, pens.white.get(), {{l, t}, {l, b - 1}});
    Line(dc, pens.shadow.get(), {{l + 1, b - 2}, {l + 1, b - 1}, {r - 1, b - 1}});
    Line(dc, pens.shadow.get(), {{r - 2, b - 2}, {r - 1, b - 2}, {r - 1, t - 1}});
    Line(dc, pens.black.get(), {{l + 2, b}, {r - 2, b}, {r, b - 2}});
    Line(dc, pens.black.get(), {{r, t}, {r, b - 1}});
    work.top = t - 1;
}

void CTabEntry::DrawContent(HDC dc, const RECT& work) const
{
    RECT text{m_rect.left + 5, work.top, m_rect.right - 2, work.bottom};
    if (text.right - text.left > kIconSize && m_hIcon) {
        ::DrawIconEx(dc, text.left, text.top + 3, m_hIcon, kIconSize, kIconSize, 0, nullptr, DI_NORMAL);
        text.left += kIconRoom;
    }
    if (m_strTitle.empty())
        return;
    text.top += 5;
    const std::wstring shown = FitTitle(dc, Widen(m_strTitle), text.right - text.left);
    ::DrawTextW(dc, shown.c_str(), static_cast<int>(shown.size()), &text, DT_SINGLELINE | DT_LEFT | DT_TOP | DT_NOPREFIX);
}
