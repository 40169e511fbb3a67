// The number of handles and threads of the test process, for leak checks. Handles through
// GetProcessHandleCount where the system implements it; under Wine, which answers it with 0,
// the process's entries of the system handle table.
#pragma once

#include <windows.h>

DWORD OwnHandleCount();
// The number of threads of the test process.
DWORD OwnThreadCount();
