// What the user is told of a problem of the build engine: the text and the icon of its
// message box, and the one place where it is shown.
#pragma once

#include "build/Problem.h"

#include <windows.h>

#include <string>

struct ProblemMessage {
    std::string text;
    // MB_ICONEXCLAMATION where the system refused something; none for the program's own checks.
    UINT icon = 0;
};

ProblemMessage MessageOf(const Problem& problem);
// Shows the problem in a message box owned by the main window.
void ShowProblem(const Problem& problem);
