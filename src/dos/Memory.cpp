// The megabyte is all inline; this unit anchors the library.
#include "dos/Memory.h"

namespace dos {


}  // namespace dos
