#include "help/HelpCenter.h"

#include "kit/Bundle.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <mutex>

namespace help {

namespace {

std::mutex registryMutex;

QHash<QString, QString>& bookFolders() {
    static QHash<QString, QString> folders;
    return folders;
}

ViewerRecorder*& currentRecorder() {
    static ViewerRecorder* recorder = nullptr;
    return recorder;
}

QString infoString(const kit::Bundle& bundle, const QString& key) {
    const QVariant value = bundle.objectForInfoDictionaryKey(key);
    return value.typeId() == QMetaType::QString ? value.toString() : QString();
}

// The book's folder in the first localization that has it; a book may also sit unlocalized
// directly in Resources.
QString findBookFolder(const kit::Bundle& bundle, const QString& folderName) {
    const QDir resources(bundle.resourcePath());
    for (const QString& language : bundle.preferredLocalizations()) {
        const QString candidate =
            resources.filePath(language + QStringLiteral(".lproj/") + folderName);
        if (QFileInfo(candidate).isDir()) {
            return QDir::cleanPath(candidate);
        }
    }
    const QString unlocalized = resources.filePath(folderName);
    return QFileInfo(unlocalized).isDir() ? QDir::cleanPath(unlocalized) : QString();
}

// A page path must stay inside its book: "../" tricks do not open arbitrary files.
QString pageFile(const QString& folder, const QString& pagePath) {
    if (pagePath.isEmpty() || QDir::isAbsolutePath(pagePath)) {
        return {};
    }
    const QString path = QDir::cleanPath(folder + QLatin1Char('/') + pagePath);
    if (!path.startsWith(folder + QLatin1Char('/'))) {
        return {};
    }
    return QFileInfo(path).isFile() ? path : QString();
}

} // namespace

bool registerBook(const QString& bundlePath) {
    const auto bundle = kit::Bundle::open(bundlePath);
    if (!bundle) {
        return false;
    }
    const QString bookName = infoString(*bundle, QStringLiteral("CFBundleHelpBookName"));
    const QString folderName = infoString(*bundle, QStringLiteral("CFBundleHelpBookFolder"));
    if (bookName.isEmpty() || folderName.isEmpty()) {
        return false;
    }
    const QString folder = findBookFolder(*bundle, folderName);
    if (folder.isEmpty()) {
        return false;
    }
    std::lock_guard lock(registryMutex);
    bookFolders().insert(bookName, folder);
    return true;
}

bool isRegistered(const QString& bookName) {
    std::lock_guard lock(registryMutex);
    return bookFolders().contains(bookName);
}

QString bookFolder(const QString& bookName) {
    std::lock_guard lock(registryMutex);
    return bookFolders().value(bookName);
}

QUrl pageUrl(const QString& bookName, const QString& pagePath, const QString& anchor) {
    const QString folder = bookFolder(bookName);
    if (folder.isEmpty()) {
        return {};
    }
    const QString file = pageFile(folder, pagePath);
    if (file.isEmpty()) {
        return {};
    }
    QUrl url = QUrl::fromLocalFile(file);
    if (!anchor.isEmpty()) {
        url.setFragment(anchor);
    }
    return url;
}

void gotoPage(const QString& bookName, const QString& pagePath, const QString& anchor) {
    const QUrl url = pageUrl(bookName, pagePath, anchor);
    if (url.isEmpty()) {
        return;
    }
    if (ViewerRecorder* recorder = currentRecorder()) {
        recorder->opened_.append(url);
        return;
    }
    QDesktopServices::openUrl(url);
}

void unregisterAllBooks() {
    std::lock_guard lock(registryMutex);
    bookFolders().clear();
}

ViewerRecorder::ViewerRecorder() : outer_(currentRecorder()) {
    currentRecorder() = this;
}

ViewerRecorder::~ViewerRecorder() {
    currentRecorder() = outer_;
}

QList<QUrl> ViewerRecorder::openedUrls() const {
    return opened_;
}

} // namespace help
