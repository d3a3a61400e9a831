// The script language of `vextel-print --script`: each input is a script that the host runs, as
// the command line would, against the fax printer's PPD with the built fax extension loaded.
//
// What a script can do stays inside one temporary folder: the files its lines name (screenshots,
// a PDF destination, open-panel answers) are confined to a folder of it, jobs are written into
// another, home, data, configuration and runtime folders point into it, and the working folder is
// an empty one of it that must stay empty. No program starts: every launch goes to a recording
// Workspace launch recorder (the script runner's own watcher inside it cannot let one out) and
// every URL the dialogs open (the preview, a help page) to a handler that only counts it.
//
// Properties besides the sanitizers: the host answers an exit status from 0 to 3; no modal
// window is left open; the host's output reports exactly the launches that were recorded;
// nothing lands in the working folder; a script ends (a hang is libFuzzer's -timeout). Waits are
// cut to a few milliseconds, so a long wait is no hang.
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
#include <QTemporaryDir>
#include <QTextStream>
#include <QUrl>
#include <cstdlib>

namespace {

// Stands in for the desktop's URL handlers: opens nothing.
class UrlSink : public QObject {
    Q_OBJECT
public:
    Q_INVOKABLE void open(const QUrl& /*url*/) { ++opened; }
    int opened = 0;
};

struct Folders {
    QTemporaryDir root;
    QString books;   // the PC address books the picker shows and the fax dialog adds to
    QString files;   // what the script's lines may name
    QString jobs;    // where a job without a queue is written
    QString working; // the process's working folder: stays empty
    QString ppd;
    QString document;
    QString script;
};

Folders* folders = nullptr;

constexpr double kLongestWaitSeconds = 0.005;
constexpr size_t kLongestScript = 4096;

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

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    FUZZ_CHECK(file.write(bytes) == bytes.size());
}

// The address-book editor the fax panel starts, found as a person's desktop would find it; the
// launch is only ever recorded.
void writeEditorEntry(const QString& dataHome) {
    QDir().mkpath(dataHome + QStringLiteral("/applications"));
    writeFile(dataHome + QStringLiteral("/applications/com.tarvik.print.VextelAddressBook.desktop"),
              "[Desktop Entry]\nType=Application\nName=Address Book\nExec=/bin/true\n");
}

// The fax printer's PPD, naming the bundle this build made.
void writePpd(const QString& path) {
    QFile shipped(QStringLiteral(VEXTEL_SOURCE_DIR "/resources/ppd/Tarvik-M40-Vextel-Fax.ppd"));
    FUZZ_CHECK(shipped.open(QIODevice::ReadOnly));
    QByteArray text = shipped.readAll();
    text.replace("/usr/lib/vextel/plugins/VextelPDE.plugin", VEXTEL_PLUGIN_DIR "/VextelPDE.plugin");
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::WriteOnly) && file.write(text) == text.size());
}

// A fresh, empty folder for each script.
void emptyFolder(const QString& path) {
    QDir(path).removeRecursively();
    FUZZ_CHECK(QDir().mkpath(path));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static Folders instance; // its folder goes away at exit
    folders = &instance;
    FUZZ_CHECK(folders->root.isValid());
    const QString root = folders->root.path();
    pointUserFoldersInto(root);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("VEXTEL_PDE_PATH", VEXTEL_PLUGIN_DIR);
    // Never destroyed: the key events the scripts send make Qt register input devices in a global
    // list that goes away at exit before a static application would, which then crashes
    // unregistering them. The process ends right after the last input anyway.
    static auto* app = new QApplication(*argc, *argv);
    (void)app;
    QApplication::setApplicationName(QStringLiteral("vextel-print"));

    folders->files = root + QStringLiteral("/files");
    folders->jobs = root + QStringLiteral("/jobs");
    folders->working = root + QStringLiteral("/working");
    folders->ppd = root + QStringLiteral("/printer.ppd");
    folders->document = root + QStringLiteral("/letter.txt");
    folders->script = root + QStringLiteral("/fuzz.script");
    folders->books = root + QStringLiteral("/data/vextel/address-books");
    writeEditorEntry(root + QStringLiteral("/data"));
    writePpd(folders->ppd);
    writeFile(folders->document, "Dear Sir,\n");
    emptyFolder(folders->working);

    static UrlSink sink;
    for (const char* scheme : {"file", "http", "https", "mailto", "help"}) {
        QDesktopServices::setUrlHandler(QLatin1String(scheme), &sink, "open");
    }
    fuzz::muteLibraryDiagnostics();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > kLongestScript) {
        return 0;
    }
    writeFile(folders->script,
              QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    emptyFolder(folders->files);
    emptyFolder(folders->jobs);
    emptyFolder(folders->books);
    FUZZ_CHECK(QFile::copy(
        QStringLiteral(VEXTEL_SOURCE_DIR "/tests/fixtures/vcard/v40-contacts-and-group.vcf"),
        folders->books + QStringLiteral("/office.vcf")));

    vextel_print::HostOptions options;
    options.ppdPath = folders->ppd;
    options.outputFolder = folders->jobs;
    options.script = folders->script;
    options.documents = {folders->document};

    // The working folder only while the host runs: the fuzzer's own relative paths stay valid.
    const QString callersFolder = QDir::currentPath();
    FUZZ_CHECK(QDir::setCurrent(folders->working));
    kit::Workspace::LaunchRecorder launches; // records every launch; none starts
    kit::SystemLog::Capture log;             // refusals stay out of the system log
    QString output;
    QString errors;
    int status = -1;
    {
        QTextStream outputStream(&output);
        QTextStream errorStream(&errors);
        vextel_print::HostApplication host(options, outputStream, errorStream);
        host.confineScript({folders->files, kLongestWaitSeconds});
        status = host.run();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    FUZZ_CHECK(QDir::setCurrent(callersFolder));

    FUZZ_CHECK(status >= vextel_print::HostApplication::kSent &&
               status <= vextel_print::HostApplication::kFailed);
    FUZZ_CHECK(kit::Application::modalDepth() == 0);
    // The script runner reports each launch it heard of: exactly those the recorder took.
    FUZZ_CHECK(output.count(QStringLiteral("\nlaunched: ")) +
                   output.startsWith(QStringLiteral("launched: ")) ==
               launches.launches().size());
    FUZZ_CHECK(QDir(folders->working)
                   .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)
                   .isEmpty());
    return 0;
}

#include "ScriptFuzzer.moc"
