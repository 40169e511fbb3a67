// The mouse in the text control: a click puts the caret, Shift+click and dragging select,
// a double-click selects a word (and dragging on then goes by words), a click on the line
// numbers selects the line with its line break (and dragging goes by lines). Dragging past
// the window's edge scrolls the text while the button is held; the wheel scrolls too.
#pragma once

#include <windows.h>

#include <cstddef>

class CTextControl;

class CTextMouse {
public:
    explicit CTextMouse(CTextControl& control) : m_control(control) {}

    void OnButtonDown(POINT point, bool doubleClick);
    void OnMouseMove(POINT point);
    void OnButtonUp();
    // The capture went elsewhere (or was given up): the drag is over.
    void OnCaptureLost();
    void OnTimer();
    void OnWheel(short delta);
    // The cursor for a point of the window: an arrow over the line numbers.
    HCURSOR CursorAt(POINT point) const;

    static constexpr UINT_PTR kScrollTimer = 1;

private:
    enum class Unit { None, Characters, Words, Lines };
    void ExtendTo(POINT point);
    bool IsOverGutter(POINT point) const;

    CTextControl& m_control;
    Unit m_unit = Unit::None;
    // Where the drag began: a position, or the word's or the line's bounds.
    size_t m_nAnchorStart = 0;
    size_t m_nAnchorEnd = 0;
    size_t m_nAnchorLine = 0;
    int m_nWheelRest = 0;
};
