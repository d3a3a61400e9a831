#include "kit/UiFileLoader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QUiLoader>

namespace kit {

namespace {

// A QUiLoader loads every Designer plug-in under the library paths as it is constructed, so it
// is made while the list is empty. Putting the same list back scans nothing again: Qt's plug-in
// loaders skip the folders they have already read.
QUiLoader* makeLoaderWithoutPlugins() {
    const QStringList libraryPaths = QCoreApplication::libraryPaths();
    QCoreApplication::setLibraryPaths({});
    auto* loader = new QUiLoader(QCoreApplication::instance());
    QCoreApplication::setLibraryPaths(libraryPaths);
    loader->clearPluginPaths();
    return loader;
}

// Owned by the application object, so it goes with it; a later application gets its own.
QUiLoader& sharedLoader() {
    static QPointer<QUiLoader> loader;
    if (!loader) {
        loader = makeLoaderWithoutPlugins();
    }
    return *loader;
}

} // namespace

QWidget* UiFileLoader::load(const QString& path, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error != nullptr) {
            *error = QStringLiteral("cannot read %1: %2")
                         .arg(QFileInfo(path).fileName(), file.errorString());
        }
        return nullptr;
    }
    QUiLoader& loader = sharedLoader();
    loader.setWorkingDirectory(QFileInfo(path).absoluteDir());
    QWidget* root = loader.load(&file, nullptr);
    if (root == nullptr && error != nullptr) {
        *error = QStringLiteral("cannot load %1: %2")
                     .arg(QFileInfo(path).fileName(), loader.errorString());
    }
    return root;
}

QStringList UiFileLoader::pluginPaths() {
    return sharedLoader().pluginPaths();
}

} // namespace kit
