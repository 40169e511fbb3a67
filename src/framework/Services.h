// What the program takes from its surroundings and a test replaces: where a build step's
// batch file goes, whether the machine-wide settings key is refused, whether this system
// runs DOS programs itself, message boxes and file dialogs, and a store that fails as a full
// disk would. One
// object, owned by the application and handed to what needs it.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

class CFileDialog;

using MessageBoxFunction =
    std::function<int(HWND owner, const std::string& text, const std::string& caption, UINT type)>;
// Answers an open or save dialog instead of the system: IDOK (with the path set) or IDCANCEL.
using FileDialogFunction = std::function<INT_PTR(CFileDialog& dialog, std::string& path)>;

struct Services {
    // Where a build step's batch file is tried first (the user's temporary folder serves
    // when it cannot be written).
    std::wstring strBatchFilePath = L"c:\\temp.bat";
    // software\korvane below HKEY_LOCAL_MACHINE treated as neither openable nor creatable, as
    // for an ordinary user on current Windows.
    bool bMachineWideSettingsRefused = false;
    // Whether DOS programs run here without an emulator; nothing asks the system.
    std::optional<bool> systemRunsDosPrograms;
    // Shows a message box on the window's thread; empty for the system's own.
    MessageBoxFunction messageBox;
    // Shows an open or save dialog; empty for the system's own.
    FileDialogFunction fileDialog;

    // Document stores fail with this error once they have written this many bytes in all.
    static constexpr ULONGLONG kNever = ~0ULL;
    ULONGLONG nStoreFailsAfter = kNever;
    DWORD dwStoreFailure = ERROR_SUCCESS;
};
