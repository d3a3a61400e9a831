// The property-list readers: a bundle's Info.plist and the user's help registration store.
// Properties besides the sanitizers: the Info.plist reader never aborts, and what it reads is the
// same on a second read; cleaning the help store leaves either the file as it was or a store that
// reads back. Files live in a temporary folder that stands in for the home directory.
#include "FuzzSupport.h"
#include "common/UtilityService.h"
#include "kit/Bundle.h"
#include "kit/Environment.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <memory>

namespace {

QTemporaryDir* scratch = nullptr;
std::unique_ptr<kit::Environment::HomeDirectoryOverride> home;

bool writeFile(const QString& path, const uint8_t* data, size_t size) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) ==
               static_cast<qint64>(size);
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void checkInfoPlist(const uint8_t* data, size_t size) {
    const QString path = scratch->filePath(QStringLiteral("Info.plist"));
    FUZZ_CHECK(writeFile(path, data, size));
    const std::optional<QVariantMap> first = kit::Bundle::readInfoDictionary(path);
    const std::optional<QVariantMap> second = kit::Bundle::readInfoDictionary(path);
    FUZZ_CHECK(first.has_value() == second.has_value());
}

void checkHelpStore(const uint8_t* data, size_t size, const QString& bundleId) {
    using tarvik_pde_m40vextel::UtilityService;
    const QString path = UtilityService::helpRegistrationStorePath();
    FUZZ_CHECK(QDir().mkpath(QFileInfo(path).path()));
    FUZZ_CHECK(writeFile(path, data, size));
    UtilityService::removeHelpCacheForBundleID(bundleId);
    const QByteArray after = readFile(path);
    if (after != QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size))) {
        // Rewritten: it must be a store the reader takes, and cleaning it again changes nothing.
        UtilityService::removeHelpCacheForBundleID(bundleId);
        FUZZ_CHECK(readFile(path) == after);
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static QCoreApplication app(*argc, *argv);
    scratch = new QTemporaryDir();
    home = std::make_unique<kit::Environment::HomeDirectoryOverride>(scratch->path());
    fuzz::muteLibraryDiagnostics();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 1 << 16) {
        return 0;
    }
    fuzz::InputReader input(data, size);
    const uint8_t mode = input.takeByte();
    if (mode % 2 == 0) {
        checkInfoPlist(input.rest(), input.restSize());
    } else {
        checkHelpStore(input.rest(), input.restSize(),
                       mode & 2 ? QStringLiteral("com.tarvik.fuzz") : QStringLiteral("book"));
    }
    return 0;
}
