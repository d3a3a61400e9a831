// vextel-addressbook: the address-book editor.
#include "CommandLine.h"
#include "DevicePrinterService.h"
#include "EditorScript.h"
#include "MainWindow.h"
#include "SingleInstance.h"
#include "VCardBookStore.h"
#include "kit/ProgramTranslations.h"
#include "kit/RuntimeFolder.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>
#include <QTimer>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using vextel_addressbook::CommandLine;

bool hasDisplay() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') {
            return true;
        }
    }
    return false;
}

} // namespace

int main(int argc, char** argv) {
    // Started by the print dialog, the editor inherits its output streams, which may be closed
    // long before the editor is: a line written then must not end the editor and lose its edits.
    std::signal(SIGPIPE, SIG_IGN);
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.append(QString::fromLocal8Bit(argv[i]));
    }
    QTextStream errors(stderr);
    QString error;
    const auto line = CommandLine::parse(arguments, &error);
    if (!line) {
        errors << "vextel-addressbook: " << error << Qt::endl << CommandLine::usage();
        return CommandLine::kUsageError;
    }
    if (line->help) {
        QTextStream(stdout) << CommandLine::usage();
        return 0;
    }
    QString script = line->script;
    if (script.isEmpty()) {
        script = qEnvironmentVariable("VEXTEL_ADDRESSBOOK_SCRIPT");
    }
    const bool headless = !line->screenshot.isEmpty() || !script.isEmpty();
    if (headless && std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    if (!hasDisplay()) {
        errors << "vextel-addressbook: no display to show the window on" << Qt::endl;
        return 1;
    }
    kit::provideRuntimeFolder();
    // Qt's own options (-platform, -style) are not the editor's: argv goes to Qt untouched,
    // after the editor's command line was checked.
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    QApplication::setApplicationName(QStringLiteral("vextel-addressbook"));
    QApplication::setApplicationDisplayName(QStringLiteral("Vextel Address Book"));
    QApplication::setDesktopFileName(QStringLiteral(VEXTEL_ADDRESSBOOK_ID));
    kit::ProgramTranslations::install(QStringLiteral("vextel-addressbook"));

    vextel_addressbook::SingleInstance instance;
    if (!headless) {
        // The printer's connection on the first line, then each file to open on its own line.
        QStringList lines{line->printer ? line->printer->toText() : QString()};
        for (const QString& file : line->files) {
            lines.append(QFileInfo(file).absoluteFilePath());
        }
        const QString message = lines.join(QLatin1Char('\n'));
        switch (instance.start(message, &error)) {
        case vextel_addressbook::SingleInstance::Outcome::HandedOff:
            return 0;
        case vextel_addressbook::SingleInstance::Outcome::Failed:
            // One more window is better than none.
            errors << "vextel-addressbook: " << error << Qt::endl;
            break;
        case vextel_addressbook::SingleInstance::Outcome::Primary:
            break;
        }
    }

    vextel_addressbook::VCardBookStore store;
    vextel_addressbook::DevicePrinterService printerService;
    vextel_addressbook::MainWindow window(store, printerService);
    QObject::connect(&instance, &vextel_addressbook::SingleInstance::messageReceived, &window,
                     &vextel_addressbook::MainWindow::takeHandOff);
    if (line->printer) {
        window.setPrinter(*line->printer);
        window.selectBook(vextel_addressbook::MainWindow::printerKey());
    }
    if (!line->screenshot.isEmpty()) {
        // Nobody answers a window in a screenshot run: a preview the files open is cancelled.
        QTimer cancel;
        QObject::connect(&cancel, &QTimer::timeout, [] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                dialog->reject();
            }
        });
        cancel.start(10);
        window.openFiles(line->files);
        cancel.stop();
        window.show();
        QApplication::processEvents();
        const bool saved = window.grab().save(line->screenshot);
        if (!saved) {
            errors << "vextel-addressbook: cannot write " << line->screenshot << Qt::endl;
        }
        return saved ? 0 : 1;
    }
    window.show();
    if (!script.isEmpty()) {
        QFile file(script);
        if (!file.open(QIODevice::ReadOnly)) {
            errors << "vextel-addressbook: cannot read the script " << script << Qt::endl;
            return CommandLine::kUsageError;
        }
        QTextStream output(stdout);
        vextel_addressbook::EditorScript runner(window, output);
        // The files are opened as the script's first step, so that a preview they open takes
        // its first lines.
        if (!runner.run(QString::fromUtf8(file.readAll()), &error, line->files)) {
            errors << "vextel-addressbook: " << script << ": " << error << Qt::endl;
            window.setQuestion(
                [](const QString&, QMessageBox::StandardButtons) { return QMessageBox::Discard; });
            return CommandLine::kUsageError;
        }
        return 0;
    }
    // Opened once the window shows, so that a preview they open comes over it.
    QTimer::singleShot(0, &window, [&window, files = line->files] { window.openFiles(files); });
    if (line->printer) {
        // Started for a printer: its book is what the user came for.
        QTimer::singleShot(0, &window, &vextel_addressbook::MainWindow::readPrinterBook);
    }
    return QApplication::exec();
}
