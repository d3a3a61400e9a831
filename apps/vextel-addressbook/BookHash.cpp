#include "BookHash.h"

#include <QFile>
#include <memory>
#if defined(__x86_64__)
#include "BookHashAvx2.h"
#endif
// Built in: the baseline build of the hash, for a file read in pieces and for processors
// without AVX2.
#define XXH_INLINE_ALL
#include <xxhash.h>

namespace vextel_addressbook {

namespace {

QByteArray named(XXH128_hash_t hash) {
    XXH128_canonical_t canonical;
    XXH128_canonicalFromHash(&canonical, hash);
    return QByteArray(reinterpret_cast<const char*>(canonical.digest), sizeof canonical.digest);
}

} // namespace

QByteArray BookHash::ofBytes(std::string_view bytes) {
#if defined(__x86_64__)
    static const bool hasAvx2 = __builtin_cpu_supports("avx2");
    if (hasAvx2) {
        const BookHashAvx2::Hash hash = BookHashAvx2::of(bytes.data(), bytes.size());
        return named(XXH128_hash_t{hash.low, hash.high});
    }
#endif
    return named(XXH3_128bits(bytes.data(), bytes.size()));
}

QByteArray BookHash::ofFile(const QString& path) {
    QFile file(path);
    const std::unique_ptr<XXH3_state_t, decltype(&XXH3_freeState)> state(XXH3_createState(),
                                                                         &XXH3_freeState);
    if (!state || XXH3_128bits_reset(state.get()) != XXH_OK || !file.open(QIODevice::ReadOnly)) {
        return {};
    }
    QByteArray chunk(1 << 16, Qt::Uninitialized);
    for (;;) {
        const qint64 read = file.read(chunk.data(), chunk.size());
        if (read < 0) {
            return {};
        }
        if (read == 0) {
            return named(XXH3_128bits_digest(state.get()));
        }
        if (XXH3_128bits_update(state.get(), chunk.constData(), static_cast<std::size_t>(read)) !=
            XXH_OK) {
            return {};
        }
    }
}

} // namespace vextel_addressbook
