// Compiled with -mavx2 on x86: nothing here may run before the processor was found to have
// AVX2, and only headers whose functions are all static come in, so that no AVX2 copy of a
// shared inline function can stand in for the baseline one elsewhere.
#if defined(__x86_64__)
#include "BookHashAvx2.h"

#define XXH_INLINE_ALL
#include <xxhash.h>

namespace vextel_addressbook {

BookHashAvx2::Hash BookHashAvx2::of(const void* bytes, std::size_t size) {
    const XXH128_hash_t hash = XXH3_128bits(bytes, size);
    return {hash.low64, hash.high64};
}

} // namespace vextel_addressbook
#endif
