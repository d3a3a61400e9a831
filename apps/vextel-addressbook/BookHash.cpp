#include "BookHash.h"

#include <QFile>
#include <memory>
#include <openssl/evp.h>

namespace vextel_addressbook {

namespace {

using Digest = std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)>;

Digest newDigest() {
    Digest digest(EVP_MD_CTX_new(), &EVP_MD_CTX_free);
    if (digest && EVP_DigestInit_ex(digest.get(), EVP_sha256(), nullptr) != 1) {
        digest.reset();
    }
    return digest;
}

QByteArray result(EVP_MD_CTX* digest) {
    QByteArray hash(EVP_MAX_MD_SIZE, Qt::Uninitialized);
    unsigned int size = 0;
    if (EVP_DigestFinal_ex(digest, reinterpret_cast<unsigned char*>(hash.data()), &size) != 1) {
        return {};
    }
    hash.resize(static_cast<qsizetype>(size));
    return hash;
}

} // namespace

QByteArray BookHash::ofBytes(std::string_view bytes) {
    const Digest digest = newDigest();
    if (!digest || EVP_DigestUpdate(digest.get(), bytes.data(), bytes.size()) != 1) {
        return {};
    }
    return result(digest.get());
}

QByteArray BookHash::ofFile(const QString& path) {
    QFile file(path);
    const Digest digest = newDigest();
    if (!digest || !file.open(QIODevice::ReadOnly)) {
        return {};
    }
    QByteArray chunk(1 << 16, Qt::Uninitialized);
    for (;;) {
        const qint64 read = file.read(chunk.data(), chunk.size());
        if (read < 0) {
            return {};
        }
        if (read == 0) {
            return result(digest.get());
        }
        if (EVP_DigestUpdate(digest.get(), chunk.constData(), static_cast<std::size_t>(read)) !=
            1) {
            return {};
        }
    }
}

} // namespace vextel_addressbook
