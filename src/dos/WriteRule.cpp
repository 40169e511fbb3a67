// Where a DOS program may change files. Both sides of each comparison are the drive's one
// spelling of the path, so no spelling of a path outside ("..", short names, other case)
// passes for one inside.
#include "dos/WriteRule.h"

namespace dos {

void CWriteRule::Allow(const DosPath::FullPath& folder)
{
    m_folders.push_back(folder);
    if (folder.path.back() != '\\')
        m_folders.back().path += '\\';
}

bool CWriteRule::Allows(const DosPath::FullPath& path) const
{
    const DosPath::FullPath canonical = m_drive.Canonical(path);
    for (const DosPath::FullPath& folder : m_folders) {
        if (folder.drive == canonical.drive && canonical.path.size() > folder.path.size() &&
            canonical.path.compare(0, folder.path.size(), folder.path) == 0)
            return true;
    }
    return false;
}

}  // namespace dos
