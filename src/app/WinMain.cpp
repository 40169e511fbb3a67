// Entry point of korvane.exe.
#include "app/KorvaneApp.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int cmdShow)
{
    TheApp();
    return AfxWinMain(cmdShow);
}
