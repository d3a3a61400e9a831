#include "HostHarness.h"

#include "FuzzSupport.h"
#include "HostApplication.h"
#include "HostOptions.h"
#include "kit/Application.h"
#include "kit/SystemLog.h"
#include "kit/Workspace.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QTextStream>
#include <QUrl>
#include <cstdlib>

namespace fuzz {
namespace {

constexpr double kLongestWaitSeconds = 0.005;

// Stands in for the desktop's URL handlers: opens nothing.
class UrlSink : public QObject {
    Q_OBJECT
public:
    Q_INVOKABLE void open(const QUrl& /*url*/) { ++opened; }
    int opened = 0;
};

void pointUserFoldersInto(const QString& root) {
    const struct {
        const char* variable;
        const char* folder;
    } kFolders[] = {{"HOME", "home"},
                    {"XDG_DATA_HOME", "data"},
                    {"XDG_CONFIG_HOME", "config"},
                    {"XDG_CACHE_HOME", "cache"},
                    {"XDG_RUNTIME_DIR", "runtime"},
                    {"TMPDIR", "tmp"}};
    for (const auto& entry : kFolders) {
        const QString path = root + QLatin1Char('/') + QLatin1String(entry.folder);
        QDir().mkpath(path);
        setenv(entry.variable, QFile::encodeName(path).constData(), 1);
    }
    QFile::setPermissions(root + QStringLiteral("/runtime"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

// The address-book editor the fax panel starts, found as a person's desktop would find it; the
// launch is only ever recorded.
void writeEditorEntry(const QString& dataHome) {
    QDir().mkpath(dataHome + QStringLiteral("/applications"));
    writeFile(dataHome + QStringLiteral("/applications/com.tarvik.print.VextelAddressBook.desktop"),
              "[Desktop Entry]\nType=Application\nName=Address Book\nExec=/bin/true\n");
}

// A fresh, empty folder for each run.
void emptyFolder(const QString& path) {
    QDir(path).removeRecursively();
    FUZZ_CHECK(QDir().mkpath(path));
}

bool isEmptyFolder(const QString& path) {
    return QDir(path)
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)
        .isEmpty();
}

} // namespace

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    FUZZ_CHECK(file.write(bytes) == bytes.size());
}

HostHarness::HostHarness(int* argc, char*** argv) {
    FUZZ_CHECK(root_.isValid());
    const QString root = root_.path();
    pointUserFoldersInto(root);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("VEXTEL_PDE_PATH", VEXTEL_PLUGIN_DIR);
    // Never destroyed: the key events the scripts send make Qt register input devices in a global
    // list that goes away at exit before a static application would, which then crashes
    // unregistering them. The process ends right after the last input anyway.
    static auto* app = new QApplication(*argc, *argv);
    (void)app;
    QApplication::setApplicationName(QStringLiteral("vextel-print"));

    files_ = pathInside(QStringLiteral("files"));
    jobs_ = pathInside(QStringLiteral("jobs"));
    working_ = pathInside(QStringLiteral("working"));
    document_ = pathInside(QStringLiteral("letter.txt"));
    script_ = pathInside(QStringLiteral("fuzz.script"));
    books_ = pathInside(QStringLiteral("data/vextel/address-books"));
    writeEditorEntry(pathInside(QStringLiteral("data")));
    writeFile(document_, "Dear Sir,\n");
    emptyFolder(working_);

    static UrlSink sink;
    for (const char* scheme : {"file", "http", "https", "mailto", "help"}) {
        QDesktopServices::setUrlHandler(QLatin1String(scheme), &sink, "open");
    }
    muteLibraryDiagnostics();
}

QByteArray HostHarness::faxPrinterPpd() {
    QFile shipped(QStringLiteral(VEXTEL_SOURCE_DIR "/resources/ppd/Tarvik-M40-Vextel-Fax.ppd"));
    FUZZ_CHECK(shipped.open(QIODevice::ReadOnly));
    QByteArray text = shipped.readAll();
    text.replace("/usr/lib/vextel/plugins/VextelPDE.plugin", VEXTEL_PLUGIN_DIR "/VextelPDE.plugin");
    return text;
}

QString HostHarness::pathInside(const QString& name) const {
    return root_.path() + QLatin1Char('/') + name;
}

void HostHarness::prepareFolders() {
    emptyFolder(files_);
    emptyFolder(jobs_);
    emptyFolder(books_);
    FUZZ_CHECK(QFile::copy(
        QStringLiteral(VEXTEL_SOURCE_DIR "/tests/fixtures/vcard/v40-contacts-and-group.vcf"),
        books_ + QStringLiteral("/office.vcf")));
}

HostHarness::Run HostHarness::run(const QString& ppdPath, const QByteArray& script) {
    writeFile(script_, script);
    prepareFolders();

    vextel_print::HostOptions options;
    options.ppdPath = ppdPath;
    options.outputFolder = jobs_;
    options.script = script_;
    options.documents = {document_};

    // The working folder only while the host runs: the fuzzer's own relative paths stay valid.
    const QString callersFolder = QDir::currentPath();
    FUZZ_CHECK(QDir::setCurrent(working_));
    kit::Workspace::LaunchRecorder launches; // records every launch; none starts
    kit::SystemLog::Capture log;             // refusals stay out of the system log
    Run run;
    {
        QTextStream outputStream(&run.output);
        QTextStream errorStream(&run.errors);
        vextel_print::HostApplication host(options, outputStream, errorStream);
        host.confineScript({files_, kLongestWaitSeconds});
        run.status = host.run();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    FUZZ_CHECK(QDir::setCurrent(callersFolder));
    checkRunProperties(run, launches.launches().size());
    return run;
}

void HostHarness::checkRunProperties(const Run& run, qsizetype launches) const {
    FUZZ_CHECK(run.status >= vextel_print::HostApplication::kSent &&
               run.status <= vextel_print::HostApplication::kFailed);
    FUZZ_CHECK(kit::Application::modalDepth() == 0);
    // The script runner reports each launch it heard of: exactly those the recorder took.
    FUZZ_CHECK(run.output.count(QStringLiteral("\nlaunched: ")) +
                   run.output.startsWith(QStringLiteral("launched: ")) ==
               launches);
    FUZZ_CHECK(isEmptyFolder(working_));
}

} // namespace fuzz

#include "HostHarness.moc"
