#include "UtilityFunctions.h"

namespace tarvik_pde_m40vextel {

qsizetype unicharLength(const void* buffer, qsizetype sizeInBytes) {
    if (buffer == nullptr || sizeInBytes < 2) {
        return -1;
    }
    const auto* bytes = static_cast<const unsigned char*>(buffer);
    for (qsizetype i = 0; i < sizeInBytes / 2; ++i) {
        if (bytes[2 * i] == 0 && bytes[2 * i + 1] == 0) {
            return i;
        }
    }
    return -1;
}

} // namespace tarvik_pde_m40vextel
