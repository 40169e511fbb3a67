// A frame with a plain view and sizing bars, each holding one plain child window, for the
// docking and sizing tests.
#pragma once

#include "framework/AfxRes.h"
#include "framework/docking/CDockBar.h"
#include "framework/docking/CFrameWnd.h"
#include "framework/docking/CMiniDockFrameWnd.h"
#include "panels/CaptionBar.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

class DockingTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Adds a bar of the given kind on a side; with a neighbour it joins that bar's row.
    template <typename Bar = CResizableBar>
    Bar& AddBar(UINT side, CResizableBar* neighbour = nullptr, SIZE size = SIZE{200, 200})
    {
        auto bar = std::make_unique<Bar>();
        Bar& ref = *bar;
        CreateBar(ref, size);
        Dock(ref, side, neighbour);
        m_bars.push_back(std::move(bar));
        return ref;
    }
    void Dock(CResizableBar& bar, UINT side, CResizableBar* neighbour);
    void SetClientSize(int cx, int cy);
    // Lays the frame out and runs the idle work until no layout is pending.
    void Settle();
    RECT ViewRect() const;
    RECT RectInDockBar(const CControlBar& bar) const;
    CDockBar* DockBarOf(const CControlBar& bar) const { return bar.GetDockBar(); }

    // Edge drags through real non-client and mouse messages; points in screen coordinates.
    POINT EdgeCentre(CResizableBar& bar, int hitCode) const;
    void PressEdge(CResizableBar& bar, int hitCode, POINT screenPoint);
    void MoveMouse(CWnd& wnd, POINT screenPoint);
    void ReleaseMouse(CWnd& wnd, POINT screenPoint);
    void DragEdge(CResizableBar& bar, int hitCode, int dx, int dy);
    LRESULT HitTest(CWnd& wnd, POINT screenPoint);

    CFrameWnd* m_pFrame = nullptr;
    CWnd m_view;
    std::vector<std::unique_ptr<CResizableBar>> m_bars;
    std::vector<std::unique_ptr<CWnd>> m_children;

private:
    void CreateBar(CResizableBar& bar, SIZE size);
    UINT m_nNextId = 200;
};

// Posted around mouse messages that a modal mouse loop reads: the cursor is put at the
// point just before the move is processed, for code that asks the cursor position.
void PostCursorAndMove(HWND target, POINT screenPoint);
void PostRelease(HWND target, POINT screenPoint);
