// Registration of the document type with the desktop shell.
#pragma once

#include <string>

// A document type as the shell knows it: its id ("Korvane.Document"), its name and its
// extension with the dot; an empty id registers nothing.
struct ShellFileType {
    std::string typeId;
    std::string typeName;
    std::string extension;
};

// Writes the file type (name, document icon, open, print and print-to commands) and points
// the extension at it when the extension has no other association. Values that are already
// right are not written again. Failures are silent.
void RegisterShellFileTypes(const ShellFileType& type, bool shellOpen);
// Removes what RegisterShellFileTypes wrote; false when something could not be removed.
bool UnregisterShellFileTypes(const ShellFileType& type);
