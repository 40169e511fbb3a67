// Entry point of korvane.exe.
#include "app/KorvaneApp.h"
#include "framework/StartupTrace.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int cmdShow)
{
    StartupTrace::Mark("process loaded");
    TheApp();
    return AfxWinMain(cmdShow);
}
