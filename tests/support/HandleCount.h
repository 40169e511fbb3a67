// The number of handles the test process holds, for leak checks. GetProcessHandleCount where
// the system implements it; under Wine, which answers it with 0, the process's entries of the
// system handle table.
#pragma once

#include <windows.h>

DWORD OwnHandleCount();
