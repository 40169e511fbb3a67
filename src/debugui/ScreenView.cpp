// The program's screen.
#include "debugui/ScreenView.h"

#include "doshost/PictureDrawing.h"

#include <windowsx.h>

#include <algorithm>
#include <cstring>

using namespace dos;

namespace {
COLORREF ColourOf(uint32_t rgb)
{
    return RGB(rgb >> 16 & 0xFF, rgb >> 8 & 0xFF, rgb & 0xFF);
}
// The PC's own characters, for a byte the system's code page has none for on its own.
constexpr UINT kPcCodePage = 437;

wchar_t CharacterOf(const char* bytes, int count, UINT codePage)
{
    wchar_t wide[2] = {};
    if (::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes, count, wide, 2) == 1)
        return wide[0];
    return 0;
}

}

bool CScreenView::Create(CWnd& parent, UINT id, const std::wstring& fontFace)
{
    m_strFace = fontFace;
    const char* className = RegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, IDC_ARROW), nullptr);
    if (!CreateEx(WS_EX_CLIENTEDGE, className, "", WS_CHILD | WS_VISIBLE, RECT{0, 0, 100, 100}, parent.GetSafeHwnd(), id))
        return false;
    Show(machine::ScreenImage::Cells(80, 25));
    return true;
}

void CScreenView::Show(const machine::ScreenImage& screen)
{
    // Shown at every stop and many times a second while the program runs: most often unchanged.
    if (screen == m_screen && (!m_glyphs.empty() || screen.kind != machine::ScreenImage::Kind::Cells))
        return;
    const bool resized = screen.columns != m_screen.columns || screen.rows != m_screen.rows;
    m_screen = screen;
    Decode();
    if (resized) {
        const RECT client = GetClientRect();
        FitCells(client.right, client.bottom);
    }
    Invalidate(false);
}

// Each row decoded a cell at a time: a lead byte and its trail make one wide character over
// two cells; any other byte is the system's character or else the PC's own.
void CScreenView::Decode()
{
    const UINT codePage = ::GetOEMCP();
    const int columns = m_screen.columns;
    m_glyphs.assign(m_screen.cells.size(), Glyph{});
    m_strText.clear();
    for (int row = 0; row < m_screen.rows; ++row) {
        std::wstring line;
        for (int column = 0; column < columns; ++column) {
            const size_t index = static_cast<size_t>(row * columns + column);
            Glyph& glyph = m_glyphs[index];
            const uint16_t cell = m_screen.cells[index];
            glyph.attribute = static_cast<uint8_t>(cell >> 8);
            const char bytes[2] = {static_cast<char>(cell & 0xFF),
                                   column + 1 < columns ? static_cast<char>(m_screen.cells[index + 1] & 0xFF) : '\0'};
            wchar_t character = 0;
            if (::IsDBCSLeadByteEx(codePage, static_cast<BYTE>(bytes[0])) && column + 1 < columns &&
                (character = CharacterOf(bytes, 2, codePage)) != 0) {
                glyph.cells = 2;
                m_glyphs[index + 1].cells = 0;
                m_glyphs[index + 1].attribute = glyph.attribute;
                glyph.character = character;
                line += character;
                ++column;
                continue;
            }
            if (bytes[0] == '\0')
                character = L' ';
            else if (!(character = CharacterOf(bytes, 1, codePage)) || character < L' ')
                character = CharacterOf(bytes, 1, kPcCodePage);
            glyph.character = character ? character : L' ';
            line += glyph.character;
        }
        line.erase(line.find_last_not_of(L' ') + 1);
        m_strText += line + L"\r\n";
    }
}

void CScreenView::OnSize(UINT, int cx, int cy)
{
    FitCells(cx, cy);
}

void CScreenView::FitCells(int cx, int cy)
{
    // Cells twice as high as wide, as the PC's text is, as large as the pane allows, and the
    // screen in the pane's middle: never a font squeezed to the pane's shape.
    const int columns = std::max(1, m_screen.columns), rows = std::max(1, m_screen.rows);
    m_nCellHeight = std::max(8, std::min(cy / rows, 2 * cx / columns));
    m_nCellWidth = std::max(4, m_nCellHeight / 2);
    m_origin = POINT{std::max(0, (cx - columns * m_nCellWidth) / 2), std::max(0, (cy - rows * m_nCellHeight) / 2)};
    m_font.reset(::CreateFontW(m_nCellHeight, m_nCellWidth, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                               OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN,
                               m_strFace.c_str()));
    Invalidate(false);
}

// A row in runs of one colour, each drawn at once with every character's advance given: a
// double-byte character takes two cells.
void CScreenView::Paint(HDC dc, const RECT& client) const
{
    BkColorGuard black(dc, RGB(0, 0, 0));
    ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &client, nullptr, 0, nullptr);
    if (m_screen.kind == machine::ScreenImage::Kind::Pixels)
        PaintPixels(dc, client);
    else if (m_screen.kind == machine::ScreenImage::Kind::Cells)
        PaintCells(dc);
}

RECT CScreenView::PictureRect(const RECT& client) const
{
    int width = client.right;
    int height = width * m_screen.height / m_screen.width;
    if (height > client.bottom) {
        height = client.bottom;
        width = height * m_screen.width / m_screen.height;
    }
    const int left = (client.right - width) / 2, top = (client.bottom - height) / 2;
    return RECT{left, top, left + width, top + height};
}

// The picture as large as the pane allows, its proportions kept, in the pane's middle.
void CScreenView::PaintPixels(HDC dc, const RECT& client) const
{
    if (m_screen.width <= 0 || m_screen.height <= 0)
        return;
    dos::DrawPicture(dc, PictureRect(client), m_screen);
}

void CScreenView::PaintCells(HDC dc) const
{
    const int columns = m_screen.columns;
    const auto& palette = m_screen.palette;
    SelectGuard font(dc, m_font.get());
    std::wstring run;
    std::vector<INT> advances;
    for (int row = 0; row < m_screen.rows; ++row) {
        const int top = m_origin.y + row * m_nCellHeight;
        for (int column = 0; column < columns;) {
            const uint8_t attribute = m_glyphs[static_cast<size_t>(row * columns + column)].attribute;
            const int start = column;
            run.clear();
            advances.clear();
            for (; column < columns; ++column) {
                const Glyph& glyph = m_glyphs[static_cast<size_t>(row * columns + column)];
                if (glyph.attribute != attribute)
                    break;
                if (glyph.cells == 0)
                    continue;
                run += glyph.character;
                advances.push_back(glyph.cells * m_nCellWidth);
            }
            const RECT cells{m_origin.x + start * m_nCellWidth, top, m_origin.x + column * m_nCellWidth, top + m_nCellHeight};
            TextColorGuard color(dc, ColourOf(palette[attribute & 0x0F]));
            BkColorGuard ground(dc, ColourOf(palette[(attribute >> 4) & 0x07]));
            ::ExtTextOutW(dc, cells.left, top, ETO_OPAQUE | ETO_CLIPPED, &cells, run.data(), static_cast<UINT>(run.size()),
                          advances.data());
        }
    }
    if (!m_screen.cursorShown || m_screen.cursorRow >= m_screen.rows || m_screen.cursorColumn >= columns)
        return;
    const Glyph& under = m_glyphs[static_cast<size_t>(m_screen.cursorRow * columns + m_screen.cursorColumn)];
    const int left = m_origin.x + m_screen.cursorColumn * m_nCellWidth;
    const int bottom = m_origin.y + (m_screen.cursorRow + 1) * m_nCellHeight;
    const RECT cursor{left, bottom - std::max(2, m_nCellHeight / 8), left + m_nCellWidth, bottom};
    BkColorGuard color(dc, ColourOf(palette[under.attribute & 0x0F]));
    ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &cursor, nullptr, 0, nullptr);
}

void CScreenView::OnLButtonDown(UINT, POINT)
{
    ::SetFocus(m_hWnd);
}

void CScreenView::Track(LPARAM point, WPARAM keys)
{
    const unsigned buttons = ((keys & MK_LBUTTON) ? 1u : 0u) | ((keys & MK_RBUTTON) ? 2u : 0u) | ((keys & MK_MBUTTON) ? 4u : 0u);
    // A drag goes on outside the pane until the buttons are let go.
    if (buttons && ::GetCapture() != m_hWnd)
        ::SetCapture(m_hWnd);
    else if (!buttons && ::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    const int x = GET_X_LPARAM(point), y = GET_Y_LPARAM(point);
    int width = 0, height = 0, pictureX = 0, pictureY = 0;
    if (m_screen.kind == machine::ScreenImage::Kind::Pixels && m_screen.width > 0 && m_screen.height > 0) {
        RECT client;
        ::GetClientRect(m_hWnd, &client);
        const RECT shown = PictureRect(client);
        if (shown.right <= shown.left || shown.bottom <= shown.top)
            return;
        width = m_screen.width;
        height = m_screen.height;
        pictureX = (x - shown.left) * width / (shown.right - shown.left);
        pictureY = (y - shown.top) * height / (shown.bottom - shown.top);
    } else if (m_screen.kind == machine::ScreenImage::Kind::Cells) {
        width = m_screen.columns * 8;
        height = m_screen.rows * 8;
        pictureX = (x - m_origin.x) * 8 / m_nCellWidth;
        pictureY = (y - m_origin.y) * 8 / m_nCellHeight;
    }
    if (m_onPointer && width > 0 && height > 0)
        m_onPointer(std::clamp(pictureX, 0, width - 1), std::clamp(pictureY, 0, height - 1), buttons);
}

LRESULT CScreenView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
        Track(lParam, wParam);
        return 0;
    case WM_LBUTTONDOWN:
        Track(lParam, wParam);
        break;
    case WM_GETDLGCODE: return DLGC_WANTALLKEYS | DLGC_WANTCHARS | DLGC_WANTARROWS | DLGC_WANTTAB;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_CHAR:
    case WM_SYSCHAR: {
        std::vector<uint16_t> keys;
        if (!m_keyboard.Take(message, wParam, lParam, keys))
            break;
        for (const uint16_t key : keys)
            if (m_onKey)
                m_onKey(key);
        return 0;
    }
    }
    return CBufferedView::WindowProc(message, wParam, lParam);
}
