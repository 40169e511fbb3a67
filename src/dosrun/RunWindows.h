// The windows of korvane-dos.exe's run besides its console: the program's own window for its
// graphics (made at the first picture in pixels, hidden while the screen is text, which the
// console shows) and, with a lab box on a console of its own (F9), the box's window, the two side
// by side once both show. Their keys, pointer and clicks go to the machine and the box; closing
// either stops the program.
#pragma once

#include "dos/DosMachine.h"
#include "dosrun/ConsoleScreen.h"
#include "dosrun/ScreenWindow.h"
#include "labbox/LabBox.h"

#include <windows.h>

#include <memory>
#include <string>

namespace dos {

class CRunWindows {
public:
    // title: the program's name; box: the lab box whose window shows, or none.
    CRunWindows(std::wstring title, labbox::CLabBox* box);

    // The machine's screen where it belongs, and the box's picture.
    void Show(const machine::ScreenImage& screen, CConsoleScreen* console);
    // Whether any window is there to take input.
    bool Any() const { return m_screen || m_box; }
    // Waits at most ms milliseconds for input to a window.
    void Wait(DWORD ms) const;
    // Hands the keys typed and the clicks made since the last call to the machine and the box.
    void TakeInput(CDosMachine& machine);
    bool Closed() const;
    // The program's window's paints; none where it never showed.
    CScreenWindow::Paints ScreenPaints() const;

    // Where the program's window (on the left) and the box's stand when both show.
    struct Rooms {
        RECT screen;
        RECT box;
    };
    static Rooms Split(const RECT& workArea);

private:
    void MakeScreen();

    std::wstring m_strTitle;
    labbox::CLabBox* m_pBox;
    std::unique_ptr<CScreenWindow> m_screen;
    std::unique_ptr<CScreenWindow> m_box;
};

}  // namespace dos
