// Korvane's own text control: a window class of its own ("KorvaneText") that behaves like a
// multi-line edit control towards the rest of the program and outside tools (the same
// messages, positions in UTF-16 units, EN_UPDATE and EN_CHANGE to its parent, painting for
// WM_PRINTCLIENT), and adds what an editor of assembly source needs: syntax colours, line
// numbers, many steps of undo and redo, overwrite, indenting of selected lines. Its state is
// an object kept in the window's extra bytes, so the window's user data stays free for
// whoever subclasses it; Korvane's extras are reached through FromHandle. It shows and edits a
// text of its own, or one that someone else owns (the document's), which it then observes.
#pragma once

#include "text/EditMessages.h"
#include "text/EditableText.h"
#include "text/GlyphMetrics.h"
#include "text/LineGutter.h"
#include "text/LineMarks.h"
#include "text/TextKeyboard.h"
#include "text/TextMouse.h"
#include "text/TextPainter.h"
#include "text/TextViewport.h"

#include <windows.h>

#include <functional>
#include <optional>
#include <string_view>
#include <vector>

class CTextControl final : private ITextObserver {
public:
    static constexpr const wchar_t* kClassName = L"KorvaneText";
    // Registers the window class once; windows of it can then be made by its name.
    static void RegisterWindowClass();
    // The control of a window of this class in this process, or nullptr.
    static CTextControl* FromHandle(HWND hWnd);

    HWND Window() const { return m_hWnd; }
    // Shows and edits this text from now on, laid out as a new text; nullptr: the control's own
    // text again. The text must outlive the showing, or be taken away first.
    void ShowText(CEditableText* text);
    const CTextBuffer& Buffer() const { return m_pText->Buffer(); }
    // The whole text; valid until the next edit.
    std::wstring_view Text() { return m_pText->Contiguous(); }
    const TextSelection& Selection() const { return m_pText->Selection(); }
    size_t Caret() const { return m_pText->Selection().nCaret; }

    // Syntax colours for a toolchain's assembler, and whether they show at all.
    void SetSyntaxMode(SyntaxMode mode);
    SyntaxMode GetSyntaxMode() const { return m_syntaxMode; }
    void ShowSyntaxColors(bool shown);
    bool SyntaxColorsShown() const { return m_bSyntaxColors; }
    void ShowLineNumbers(bool shown);
    bool LineNumbersShown() const { return m_gutter.IsShown(); }
    int GutterWidth() const { return m_viewport.GutterWidth(); }
    bool IsOverwrite() const { return m_bOverwrite; }
    void ToggleOverwrite();
    bool CanRedo() const { return m_pText->CanRedo(); }
    bool Redo();

    // Adds text at the end at the cost of the text added (tool output). While the caret is at
    // the end and the user has not scrolled away from it, the view follows the end; otherwise
    // the selection and the view stay where the user put them.
    void Append(std::wstring_view text);
    // The look of each line (the output's messages), asked as lines are painted; empty for none.
    void SetLineStyle(std::function<LineStyle(size_t line)> style);
    // Lines of the text whose look changed: painted again.
    void RestyleLines(size_t first, size_t last) { InvalidateLines(first, last); }
    // Marks in a column beside the lines, which follow their lines through edits and go with a
    // new text; a click on one hands its id to the handler, hovering shows its tip.
    void SetMarks(std::vector<LineMark> marks);
    const std::vector<LineMark>& Marks() const { return m_marks.Marks(); }
    void SetMarkClickHandler(std::function<void(size_t id)> handler) { m_onMarkClick = std::move(handler); }
    // The mark under a point of the window, or nullptr.
    const LineMark* MarkAt(POINT point) const;
    // A click in the marks' column: on a tool's mark its handler runs; elsewhere in the column
    // the gutter's handler gets the line. True when one of them ran.
    bool ClickMark(POINT point);
    // Breakpoints beside lines (sorted, they follow their lines through edits), the line the
    // debugged program stands at, and a marks' column that shows even when it holds nothing.
    void SetBreakpoints(std::vector<size_t> lines);
    const std::vector<size_t>& Breakpoints() const { return m_marks.Breakpoints(); }
    void SetCurrentLine(std::optional<size_t> line);
    std::optional<size_t> CurrentLine() const { return m_marks.CurrentLine(); }
    void ShowMarkColumn(bool always);
    void SetGutterClickHandler(std::function<void(size_t line)> handler) { m_onGutterClick = std::move(handler); }
    // Asked before each edit by the user (typing, pasting, undo, EM_REPLACESEL): false refuses it.
    void SetEditGuard(std::function<bool()> guard) { m_editGuard = std::move(guard); }
    // Scrolls as little as it takes to show the line, or puts it a third down the window when
    // it is far; the caret stays.
    void RevealLine(size_t line);
    // The tooltip window that shows marks' tips; null until a tip was first shown.
    HWND Tooltip() const { return m_hTooltip; }

    // For the keyboard, the mouse and the edit messages.
    CEditableText& Editable() { return *m_pText; }
    CTextViewport& Viewport() { return m_viewport; }
    CGlyphMetrics& Metrics() { return m_metrics; }
    bool IsReadOnly() const { return (::GetWindowLongPtrW(m_hWnd, GWL_STYLE) & ES_READONLY) != 0; }
    void SetReadOnly(bool readOnly);
    // Puts the caret at pos (keeping the anchor when extending) and scrolls it into view.
    void MoveCaret(size_t pos, bool extend);
    // Selects without scrolling, as EM_SETSEL does.
    void Select(size_t anchor, size_t caret);
    // An edit by the user: refused while read-only, and also, with EN_MAXTEXT, when it does
    // not fit the limits. The caret is scrolled into view after it.
    bool EditByUser(size_t start, size_t end, std::wstring_view text, EditKind kind);
    // EM_REPLACESEL: cut to the limits; without undo it empties the history, as the edit
    // control does.
    void ReplaceSelection(std::wstring_view text, bool canUndo);
    void SetText(std::wstring_view text);
    bool Undo();
    void Copy();
    void Cut();
    void Paste();
    void Clear();
    void SetFont(HFONT font, bool redraw);
    // Scrolls to a first line and a horizontal offset in pixels, within their ranges.
    void ScrollTo(size_t firstLine, int xOffset);
    void RevealCaret();
    void SelectLines(size_t anchorLine, size_t caretLine);

private:
    explicit CTextControl(HWND hWnd);
    ~CTextControl();
    static LRESULT CALLBACK WindowProcThunk(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    void OnTextChanged(const TextChange& change) override;
    bool EditAllowed() const { return !m_editGuard || m_editGuard(); }
    // The marks' column changed: laid out again where its width did, else painted again.
    void MarksChanged();
    // The gutter takes the width the marks and line count need; true when that laid the
    // window out again (all of it repainted).
    bool GutterResized();
    void ShowSelection();
    void InvalidateLines(size_t first, size_t last);
    void Notify(WORD code) const;
    // The widest line's width, for a new text or font.
    void MeasureWidestLines();
    void UpdateGutterWidth();
    void UpdateScrollBars();
    void SetScrollBar(int bar, const SCROLLINFO& info);
    void DrawChangedScrollBars();
    // Whether WM_NCPAINT's region (1, or a region of the screen) holds the whole window.
    bool PaintsWholeFrame(HRGN region) const;
    void ScheduleScrollBars();
    static constexpr UINT_PTR kScrollBarTimer = 2;
    void UpdateCaret();
    void CreateCaret();
    void PlaceComposition() const;
    void Relayout();
    void OnPaint();
    void PaintClient();
    void OnScroll(int bar, WORD request, WORD thumb);
    void OnSetFocus();
    void OnKillFocus();
    void OnMouseMove(POINT point);
    // Shows the tip of the mark under the point, or hides the tip where there is none.
    void ShowMarkTip(const LineMark* mark, POINT point);
    // The widths of appended lines, reckoned from their characters: measuring each one would
    // cost a call to GDI per character of all the output.
    void NoteAppendedWidths(std::wstring_view text);
    CTextPainter::State PaintState() const;

    HWND m_hWnd;
    CGlyphMetrics m_metrics;
    CEditableText m_ownText;
    // The text shown: the control's own, or one of someone else's.
    CEditableText* m_pText = &m_ownText;
    CTextViewport m_viewport;
    CLineGutter m_gutter;
    CLineMarks m_marks;
    CTextPainter m_painter;
    CTextKeyboard m_keyboard;
    CTextMouse m_mouse;
    CEditMessages m_messages;
    SyntaxMode m_syntaxMode = SyntaxMode::Masm;
    bool m_bSyntaxColors = true;
    bool m_bOverwrite = false;
    bool m_bFocused = false;
    bool m_bCaretShown = false;
    bool m_bAppending = false;
    // The user scrolled the end out of view: appended text leaves the view alone.
    bool m_bScrolledAway = false;
    // The room of the text's last line (a tab eight, a wide character two), for appends.
    size_t m_nOpenLineRoom = 0;
    // The line count before the latest change, so that marks move by the lines it made or took;
    // only a change sets it, since another observer of the same change may set marks before the
    // control hears of it.
    size_t m_nLineCount = 1;
    std::function<LineStyle(size_t)> m_lineStyle;
    std::function<void(size_t)> m_onMarkClick;
    std::function<void(size_t)> m_onGutterClick;
    std::function<bool()> m_editGuard;
    HWND m_hTooltip = nullptr;
    // The line of the mark whose tip shows; none while no tip shows.
    static constexpr size_t kNoTip = static_cast<size_t>(-1);
    size_t m_nTipLine = kNoTip;
    // The selection as painted last, so that a change repaints the lines it touches.
    TextSelection m_shownSelection;
    // The scroll bars' last settings, so that unchanged ones are not sent again.
    SCROLLINFO m_vertical{};
    SCROLLINFO m_horizontal{};
    // The bars set since the last paint, drawn with the next one.
    static constexpr unsigned kVerticalBar = 1;
    static constexpr unsigned kHorizontalBar = 2;
    unsigned m_barsToDraw = 0;
};
