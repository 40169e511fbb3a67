// Objects that take part in command routing: frame, view, document and application, each
// with a small table of the commands it handles.
#pragma once

#include "framework/CCmdUI.h"
#include "framework/CObject.h"

#include <windows.h>

// One command of a target's table: what running it does and what its menu entry, button or
// pane shows. Each function gets the target and the command's id; a missing one means
// nothing to run (an indicator), always enabled, no check mark, nothing more to show.
template <typename Target>
struct CommandEntry {
    UINT id;
    void (*run)(Target& target, UINT id) = nullptr;
    bool (*enabled)(const Target& target, UINT id) = nullptr;
    bool (*checked)(const Target& target, UINT id) = nullptr;
    // What else the command shows: a radio dot, a text, entries of a menu of its own.
    void (*update)(Target& target, UINT id, CCmdUI& ui) = nullptr;
    // With one, the entry stands for every id from id to lastId.
    UINT lastId = 0;

    bool Covers(UINT nID) const { return nID == id || (nID > id && nID <= lastId); }
};

class CCmdTarget : public CObject {
public:
    // One routing step. With no pCmdUI the command is carried out; with one, its user
    // interface (menu entry, button, pane) is updated. Returns whether this target or one it
    // routes to handles the command.
    virtual bool OnCmdMsg(UINT nID, CCmdUI* pCmdUI);

protected:
    // Runs or updates nID from target's table; false when the table has no entry for it. A
    // disabled command shows disabled and is not run, whoever sends it.
    template <typename Target, size_t N>
    static bool RouteCommand(Target& target, const CommandEntry<Target> (&table)[N], UINT nID, CCmdUI* pCmdUI)
    {
        for (const CommandEntry<Target>& entry : table) {
            if (!entry.Covers(nID))
                continue;
            const bool enabled = !entry.enabled || entry.enabled(target, nID);
            if (!pCmdUI) {
                if (enabled && entry.run)
                    entry.run(target, nID);
                return true;
            }
            pCmdUI->Enable(enabled);
            if (entry.checked)
                pCmdUI->SetCheck(entry.checked(target, nID) ? 1 : 0);
            if (entry.update)
                entry.update(target, nID, *pCmdUI);
            return true;
        }
        return false;
    }
};
