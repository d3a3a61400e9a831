#include "kit/DictionaryChanges.h"

namespace kit {

DictionaryChanges& DictionaryChanges::instance() {
    static DictionaryChanges changes;
    return changes;
}

} // namespace kit
