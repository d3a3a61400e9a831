#include "kit/CoreDumps.h"

#include <sys/prctl.h>

namespace kit {

void keepOutOfCoreDumps() {
    ::prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
}

} // namespace kit
