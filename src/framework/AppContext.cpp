// The running program's services and owner window.
#include "framework/AppContext.h"

namespace {
const Services* g_pServices = nullptr;
HWND g_hOwner = nullptr;
}

const Services& AfxGetServices()
{
    static const Services kSystemServices;
    return g_pServices ? *g_pServices : kSystemServices;
}

HWND AfxGetOwnerWindow()
{
    return g_hOwner;
}

void AfxSetServices(const Services* services)
{
    g_pServices = services;
}

void AfxSetOwnerWindow(HWND wnd)
{
    g_hOwner = wnd;
}
