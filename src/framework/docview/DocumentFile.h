// A document's file read whole and written whole: the bytes between the disk and the document,
// and the reason, in the framework's message, when they could not get there.
#pragma once

#include "framework/Expected.h"

#include <windows.h>

#include <string>
#include <string_view>

struct Services;

// Why a document file could not be read or written.
struct FileError {
    // The framework's message for it (%1 the file's path); 0 for the one of the system's error.
    UINT messageId = 0;
    DWORD systemError = ERROR_SUCCESS;
    // The file was there and opened: reading failed on its contents (too large, cut short).
    bool bOpened = false;
};

// The framework's message id for a file error of the system.
UINT FileErrorMessageId(DWORD systemError, UINT fallbackId);

// The file's bytes; a file longer than maxBytes is refused.
Expected<std::string, FileError> ReadDocumentFile(const std::string& path, size_t maxBytes);
// Writes the bytes in the file's place through a temporary file, so that a failure leaves the
// file as it was; the services can make the write fail part-way, as a full disk would.
Expected<void, FileError> WriteDocumentFile(const std::string& path, std::string_view bytes, const Services& services);
