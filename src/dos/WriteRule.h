// Where a DOS program may change files: in the folders it is given (its own, the one DOS
// starts in, the host's temporary folder, those its front end adds) and below them. A
// beginner's program with a wrong path then cannot touch the rest of the host's disks.
#pragma once

#include "dos/Drive.h"

#include <vector>

namespace dos {

class CWriteRule {
public:
    explicit CWriteRule(IDrive& drive) : m_drive(drive) {}

    void Clear() { m_folders.clear(); }
    // Lets the program change what lies below `folder` (not the folder itself), a path in the
    // drive's one spelling as PathOf gives it.
    void Allow(const DosPath::FullPath& folder);
    // Whether the file or folder `path` may be made, changed or removed.
    bool Allows(const DosPath::FullPath& path) const;

private:
    IDrive& m_drive;
    // Each as the drive spells it, ending in a backslash.
    std::vector<DosPath::FullPath> m_folders;
};

}  // namespace dos
