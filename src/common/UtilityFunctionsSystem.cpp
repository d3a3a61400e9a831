#include "UtilityFunctions.h"
#include "kit/Environment.h"

#include <cstdint>
#include <cstdlib>

namespace tarvik_pde_m40vextel {

int32_t getOSMinorVersion() {
    int32_t& minorVersion = kit::Environment::minorVersionCache();
    if (minorVersion != -1) {
        return minorVersion;
    }
    const std::optional<QString> release = kit::Environment::kernelRelease();
    if (release) {
        const QByteArray text = release->toLatin1().left(15);
        const long major = std::strtol(text.constData(), nullptr, 10);
        if (major > 0 && major - 4 < INT32_MAX) {
            minorVersion = static_cast<int32_t>(major - 4);
        }
    }
    return minorVersion;
}

} // namespace tarvik_pde_m40vextel
