// The program's own window messages, all in one list so that no two share a number.
#pragma once

#include <windows.h>

enum : UINT {
    // A mailbox has deliveries from other threads waiting.
    WM_MAILBOX_DELIVERY = WM_APP + 1,
    // Posted to a floating frame whose bar went back to a dock: it ends once idle.
    WM_DESTROY_IF_EMPTY,
};
