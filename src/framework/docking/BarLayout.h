// One layout of a frame's bars: the room left as it goes from bar to bar and, unless it only
// measures, the batch of window moves that is carried out when it ends.
#pragma once

#include <windows.h>

class BarLayout {
public:
    BarLayout(const RECT& room, bool stretch, bool measuring);
    // Moves every window placed meanwhile, all at once.
    ~BarLayout();
    BarLayout(const BarLayout&) = delete;
    BarLayout& operator=(const BarLayout&) = delete;

    const RECT& GetRoom() const { return m_room; }
    // Bars stretch along their side to the whole room.
    bool Stretches() const { return m_bStretch; }
    // Nothing may move: the layout only measures what is left.
    bool IsMeasuring() const { return m_hBatch == nullptr; }
    // The batch for a bar's delayed show or hide; nullptr while measuring.
    HDWP* GetBatch() { return m_hBatch ? &m_hBatch : nullptr; }

    // Takes a strip of the given depth off one side of the room (a CBRS_ALIGN_* flag) and
    // returns it.
    RECT TakeSide(DWORD align, LONG depth);
    // Moves the window to place (in the frame's client coordinates) when the layout ends.
    void Place(HWND wnd, const RECT& place);

private:
    RECT m_room;
    bool m_bStretch;
    HDWP m_hBatch = nullptr;
};
