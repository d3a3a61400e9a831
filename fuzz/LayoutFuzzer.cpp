// The layout loader, fed a layout file beside the sample window's Designer files. Properties
// besides the sanitizers: a load either hands over one object per declared entry or nothing, and
// everything it made goes away again with the list.
#include "FuzzSupport.h"
#include "kit/Layout.h"
#include "kit/SystemLog.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

namespace {

QTemporaryDir* scratch = nullptr;

void copyDesignerFiles() {
    for (const char* name : {"Sample.ui", "SampleDetails.ui"}) {
        QFile::copy(QStringLiteral(VEXTEL_SOURCE_DIR "/resources/kit-sample/") +
                        QLatin1String(name),
                    scratch->filePath(QLatin1String(name)));
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(*argc, *argv);
    scratch = new QTemporaryDir();
    copyDesignerFiles();
    fuzz::muteLibraryDiagnostics();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 1 << 15) {
        return 0;
    }
    const QByteArray text(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString path = scratch->filePath(QStringLiteral("Fuzz.layout"));
    {
        QFile file(path);
        FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
    }
    kit::SystemLog::Capture capture; // refusals are expected; keep them out of the system log
    QObject owner;
    QList<kit::ObjectRef> objects;
    const bool loaded = kit::Layout::loadFile(path, &owner, &objects);
    if (loaded) {
        const QJsonArray declared =
            QJsonDocument::fromJson(text).object().value("objects").toArray();
        FUZZ_CHECK(objects.size() == declared.size());
    } else {
        FUZZ_CHECK(objects.isEmpty());
    }
    objects.clear();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return 0;
}
