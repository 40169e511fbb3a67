// The toolbar: a native toolbar control as a control bar, with buttons from a toolbar
// resource, images from an image list, a gripper and command-UI updates of its buttons.
#pragma once

#include "framework/docking/CControlBar.h"

#include <commctrl.h>

#include <vector>

class CToolBar : public CControlBar {
public:
    bool Create(CWnd* parent, DWORD ctrlStyle, DWORD style, UINT id);
    // Adds the buttons of a toolbar resource (type 241: version, width, height, count, ids).
    bool LoadToolBar(UINT resourceId);
    void SetImageList(HIMAGELIST images);
    // Puts a child window of the toolbar after its buttons, in a gap of the given width that
    // the layout keeps for it.
    void AddControl(HWND control, int width);

    int GetButtonCount() const;
    UINT GetItemID(int index) const;
    RECT GetItemRect(int index) const;

    SIZE CalcFixedLayout(bool stretch, bool horz) override;
    SIZE CalcDynamicLayout(int length, DWORD mode) override;
    void OnUpdateCmdUI(CCmdTarget* target, bool disableIfNoHandler) override;

    static constexpr int kGripperSpace = 8;

protected:
    // The room the non-client frame takes (gripper and borders) for the given orientation.
    RECT NonClientInsets(bool horz) const;
    SIZE ButtonsExtent(bool horz);
    void WrapButtons(bool vertical);
    // Moves the added controls into their gaps, centred on the buttons' height.
    void PlaceControls();
    void OnNcCalcSize(bool calcValidRects, RECT& rect) override;
    void OnNcPaint() override;
    LRESULT OnNcHitTest(POINT screenPoint) override;
    void OnLButtonDown(UINT flags, POINT pt) override;
    void OnLButtonDblClk(UINT flags, POINT pt) override;
    // A press outside every button (on the gripper or between buttons) moves the bar.
    bool IsDragPoint(POINT clientPoint) const;

    SIZE m_sizeImage{33, 36};
    bool m_bVertical = false;
    struct PlacedControl {
        int index;
        HWND control;
    };
    std::vector<PlacedControl> m_controls;
};
