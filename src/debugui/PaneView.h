// A debugger pane's text as the pane shows it: lines in a fixed-pitch font, each character in
// a cell of its own so that DEBUG's columns stay in line, the parts a step changed (or the
// current instruction, or a return address) set off, a margin with the breakpoints' dots where
// the pane has addresses, a chosen line, values edited in place; its WM_GETTEXT answers with
// the whole text. A pane that keeps a log (the commands' output, the serial line) grows at
// its end and follows it.
#pragma once

#include "debug/PaneText.h"
#include "debugui/InlineEdit.h"
#include "debugui/BufferedView.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

class CPaneView : public CBufferedView {
public:
    // The bytes as text of the code page, a byte that is no character there shown as a dot;
    // line ends become CR LF, other control characters dots.
    static std::wstring Decode(std::string_view bytes, UINT codePage);

    // scrolls: a vertical scroll bar for a text longer than the window (a log, the variables).
    bool Create(CWnd& parent, UINT id, HFONT font, bool scrolls);
    void SetMarkLook(MarkLook look) { m_look = look; }

    // Shows a pane's text (bytes of codePage), its marks and its lines' addresses.
    void Show(const PaneText& pane, UINT codePage);
    // Adds text at the end of a log and scrolls to it.
    void Append(std::wstring_view text);
    void Clear();
    // Scrolls so that the last line shows (a log that was shown anew).
    void ScrollToEnd() { ScrollTo(static_cast<long long>(LineCount())); }
    std::wstring_view Text() const { return m_strText; }
    size_t LineCount() const { return m_lineStarts.size(); }
    std::wstring_view Line(size_t line) const;
    // The address of a line of the pane (memory, stack, disassembly, variables), where it has one.
    std::optional<uint32_t> AddressOf(size_t line) const;
    // The lines that fit in the window, at least one.
    int VisibleRows() const;
    int LineHeight() const { return m_nLineHeight; }
    int CharWidth() const { return m_nCharWidth; }

    // A margin left of the lines with a dot beside each line that has one, and what a click
    // there does.
    void SetMargin(std::function<bool(size_t line)> hasDot, std::function<void(size_t line)> onClick);
    // A chosen line, set by a click or the arrow keys; none until then.
    void AllowChoosing() { m_bChoosing = true; }
    std::optional<size_t> ChosenLine() const { return m_chosen; }
    void SetDoubleClickHandler(std::function<void(size_t line, int column)> handler) { m_onDoubleClick = std::move(handler); }
    // Characters typed in the pane (the serial line takes them).
    void SetCharHandler(std::function<void(wchar_t)> handler) { m_onChar = std::move(handler); }
    // Puts an edit box over length characters from column of line, holding text.
    void BeginEdit(size_t line, int column, int length, const std::string& text,
                   std::function<void(const std::string&)> commit);
    bool IsEditing() const { return m_edit.IsEditing(); }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    void OnSize(UINT type, int cx, int cy) override;
    void OnLButtonDown(UINT flags, POINT point) override;
    void OnLButtonDblClk(UINT flags, POINT point) override;
    void OnChar(UINT ch, UINT repeat, UINT flags) override;

private:
    void SetText(std::wstring text);
    void IndexLines(size_t from);
    void Paint(HDC dc, const RECT& client) const override;
    const std::wstring* ShownText() const override { return &m_strText; }
    void PaintLine(HDC dc, size_t line, int top, int right) const;
    int MarginWidth() const { return m_hasDot ? m_nLineHeight : 0; }
    int TextLeft() const { return MarginWidth() + 2; }
    void ScrollTo(long long firstLine);
    void UpdateScrollBar();
    void Choose(size_t line);
    size_t LineAtY(int y) const { return m_nFirstLine + static_cast<size_t>(std::max(0, y) / m_nLineHeight); }

    HFONT m_hFont = nullptr;
    int m_nLineHeight = 16;
    int m_nCharWidth = 8;
    bool m_bScrolls = false;
    MarkLook m_look = MarkLook::Changed;
    std::wstring m_strText;
    std::vector<size_t> m_lineStarts{0};
    std::vector<TextMark> m_marks;
    std::vector<uint32_t> m_addresses;
    size_t m_nFirstLine = 0;
    std::function<bool(size_t)> m_hasDot;
    std::function<void(size_t)> m_onMarginClick;
    bool m_bChoosing = false;
    std::optional<size_t> m_chosen;
    std::function<void(size_t, int)> m_onDoubleClick;
    std::function<void(wchar_t)> m_onChar;
    CInlineEdit m_edit;
};
