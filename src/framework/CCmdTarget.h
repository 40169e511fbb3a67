// Objects that take part in command routing: frame, view, document and application.
#pragma once

#include "framework/CObject.h"

#include <windows.h>

class CCmdUI;

class CCmdTarget : public CObject {
public:
    // One routing step. With no pCmdUI the command is carried out; with one, its user
    // interface (menu entry, button, pane) is updated. Returns whether this target or one it
    // routes to handles the command.
    virtual bool OnCmdMsg(UINT nID, CCmdUI* pCmdUI);
};
