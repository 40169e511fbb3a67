// Korvane's own text control: a window class of its own ("KorvaneText") that behaves like a
// multi-line edit control towards the rest of the program and outside tools (the same
// messages, positions in UTF-16 units, EN_UPDATE and EN_CHANGE to its parent, painting for
// WM_PRINTCLIENT), and adds what an editor of assembly source needs: syntax colours, line
// numbers, many steps of undo and redo, overwrite, indenting of selected lines. Its state is
// an object kept in the window's extra bytes, so the window's user data stays free for
// whoever subclasses it; Korvane's extras are reached through FromHandle.
#pragma once

#include "text/EditMessages.h"
#include "text/EditableText.h"
#include "text/GlyphMetrics.h"
#include "text/LineGutter.h"
#include "text/TextKeyboard.h"
#include "text/TextMouse.h"
#include "text/TextPainter.h"
#include "text/TextViewport.h"

#include <windows.h>

#include <string_view>

class CTextControl {
public:
    static constexpr const wchar_t* kClassName = L"KorvaneText";
    // Registers the window class once; windows of it can then be made by its name.
    static void RegisterWindowClass();
    // The control of a window of this class in this process, or nullptr.
    static CTextControl* FromHandle(HWND hWnd);

    HWND Window() const { return m_hWnd; }
    const CTextBuffer& Buffer() const { return m_text.Buffer(); }
    // The whole text; valid until the next edit.
    std::wstring_view Text() { return m_text.Contiguous(); }
    const TextSelection& Selection() const { return m_text.Selection(); }
    size_t Caret() const { return m_text.Selection().nCaret; }

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
    // A limit in bytes of a code page for what typing, pasting and EM_REPLACESEL leave.
    void SetByteLimit(size_t maxBytes, unsigned codePage) { m_text.SetByteLimit(maxBytes, codePage); }
    bool CanRedo() const { return m_text.CanRedo(); }
    bool Redo();

    // For the keyboard, the mouse and the edit messages.
    CEditableText& Editable() { return m_text; }
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
    static LRESULT CALLBACK WindowProcThunk(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    void OnTextChanged(const TextChange& change);
    void ShowSelection();
    void InvalidateLines(size_t first, size_t last);
    void Notify(WORD code) const;
    // The widest line's width, for a new text or font.
    void MeasureWidestLines();
    void UpdateGutterWidth();
    void UpdateScrollBars();
    void UpdateCaret();
    void CreateCaret();
    void PlaceComposition() const;
    void Relayout();
    void OnPaint();
    void OnScroll(int bar, WORD request, WORD thumb);
    void OnSetFocus();
    void OnKillFocus();
    CTextPainter::State PaintState() const;

    HWND m_hWnd;
    CGlyphMetrics m_metrics;
    CEditableText m_text;
    CTextViewport m_viewport;
    CLineGutter m_gutter;
    CTextPainter m_painter;
    CTextKeyboard m_keyboard;
    CTextMouse m_mouse;
    CEditMessages m_messages;
    SyntaxMode m_syntaxMode = SyntaxMode::Masm;
    bool m_bSyntaxColors = true;
    bool m_bOverwrite = false;
    bool m_bFocused = false;
    bool m_bCaretShown = false;
    // The selection as painted last, so that a change repaints the lines it touches.
    TextSelection m_shownSelection;
    // The scroll bars' last settings, so that unchanged ones are not sent again.
    SCROLLINFO m_vertical{};
    SCROLLINFO m_horizontal{};
};
