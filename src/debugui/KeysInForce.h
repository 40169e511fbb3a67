// The keys of the build and debug commands, which change their meaning while a debugging
// session lasts (F5 compiles outside one and continues inside it, F9 runs or sets a
// breakpoint, F10 starts DEBUG or steps over): one table for what a key does now and for the
// key that menus and tips show beside a command.
#pragma once

#include <windows.h>

#include <string>

// Outside a session; while one lasts; while a program runs in the window without debugging
// (F11 debugs it from the start then, and Shift+F5 stops it).
enum class KeyContext { Editing, Session, Run };

// The debugger's command for a key (the accelerators' keys are the frame's); 0 for none.
UINT DebuggerCommandOfKey(UINT key, bool shift, bool control, KeyContext context);
// The key that gives the command now, as a menu shows it ("Shift+F5"); empty for none. Known
// tells whether the command has a key at all, in any context.
std::string KeyOfCommand(UINT command, KeyContext context, bool* known = nullptr);
