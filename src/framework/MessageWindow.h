// A window that is never shown, for the posted messages and timers of a part of the program
// that has no window of its own (the build session): the one message it is made for goes
// to a handler on the thread that made it.
#pragma once

#include "framework/CWnd.h"

#include <functional>

class CMessageWindow : public CWnd {
public:
    bool Create(UINT message, std::function<void()> handler);
    UINT GetMessageId() const { return m_nMessage; }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    UINT m_nMessage = 0;
    std::function<void()> m_onMessage;
};
