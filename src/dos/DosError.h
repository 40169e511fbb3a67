// DOS's error codes as INT 21h returns them in AX with the carry flag set.
#pragma once

#include <cstdint>

namespace dos {

enum DosError : uint16_t {
    kErrNone = 0,
    kErrInvalidFunction = 1,
    kErrFileNotFound = 2,
    kErrPathNotFound = 3,
    kErrTooManyOpenFiles = 4,
    kErrAccessDenied = 5,
    kErrInvalidHandle = 6,
    kErrArenaTrashed = 7,
    kErrNotEnoughMemory = 8,
    kErrInvalidBlock = 9,
    kErrBadEnvironment = 10,
    kErrBadFormat = 11,
    kErrInvalidAccess = 12,
    kErrInvalidData = 13,
    kErrInvalidDrive = 15,
    kErrCurrentDirectory = 16,
    kErrNotSameDevice = 17,
    kErrNoMoreFiles = 18,
    kErrWriteProtect = 19,
    kErrNotReady = 21,
    kErrSeek = 25,
    kErrGeneralFailure = 31,
    kErrSharingViolation = 32,
    kErrLockViolation = 33,
    kErrFileExists = 80,
    kErrCannotMake = 82,
};

}  // namespace dos
