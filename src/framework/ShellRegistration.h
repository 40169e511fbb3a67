// Registration of the document type with the desktop shell.
#pragma once

class CSingleDocTemplate;

// Writes the file type (name, document icon, open, print and print-to commands) and points
// the extension at it when the extension has no other association. Values that are already
// right are not written again. Failures are silent.
void RegisterShellFileTypes(const CSingleDocTemplate& docTemplate, bool shellOpen);
// Removes what RegisterShellFileTypes wrote; false when something could not be removed.
bool UnregisterShellFileTypes(const CSingleDocTemplate& docTemplate);
