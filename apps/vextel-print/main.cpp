// vextel-print: the print-dialog host.
#include "FaxAgent.h"
#include "FaxJobResults.h"
#include "HostApplication.h"
#include "HostOptions.h"
#include "kit/ProgramTranslations.h"
#include "kit/RuntimeFolder.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTextStream>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool hasDisplay() {
    const char* display = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (display != nullptr && *display != '\0') || (wayland != nullptr && *wayland != '\0');
}

// The offscreen platform reports every window-manager request it cannot honour (raising a
// window, size hints); in a headless run they are expected and only bury the job's output.
void dropOffscreenPlatformNotes(QtMsgType type, const QMessageLogContext& context,
                                const QString& message) {
    if (type == QtWarningMsg && message.startsWith(QLatin1String("This plugin does not support"))) {
        return;
    }
    std::fputs(qPrintable(qFormatLogMessage(type, context, message) + QLatin1Char('\n')), stderr);
}

} // namespace

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.append(QString::fromLocal8Bit(argv[i]));
    }
    QTextStream output(stdout);
    QTextStream errors(stderr);
    QString error;
    const auto options = vextel_print::HostOptions::parse(arguments, &error);
    if (!options) {
        errors << "vextel-print: " << error << Qt::endl << vextel_print::HostOptions::usage();
        return vextel_print::HostApplication::kUsageError;
    }
    if (options->help) {
        output << vextel_print::HostOptions::usage();
        return 0;
    }
    if (options->status) {
        QString problem;
        const auto jobs = vextel_print::FaxJobResults::recentJobs(options->server, 20, &problem);
        if (!problem.isEmpty()) {
            errors << "vextel-print: " << problem << Qt::endl;
            return vextel_print::HostApplication::kFailed;
        }
        for (const auto& job : jobs) {
            output << vextel_print::FaxJobResults::statusLines(job).join(QLatin1Char('\n'))
                   << Qt::endl;
        }
        return 0;
    }
    // A script or a screenshot needs no display: they run on the offscreen platform.
    const bool headless = !options->script.isEmpty() || !options->screenshot.isEmpty();
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        if (headless) {
            setenv("QT_QPA_PLATFORM", "offscreen", 1);
            qInstallMessageHandler(dropOffscreenPlatformNotes);
            kit::provideRuntimeFolder();
        } else if (!hasDisplay()) {
            errors << "vextel-print: no display to show the print dialog on; use --script or "
                      "--screenshot to run without one"
                   << Qt::endl;
            return vextel_print::HostApplication::kUsageError;
        }
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vextel-print"));
    kit::ProgramTranslations::install(QStringLiteral("vextel-print"));
    if (options->agent) {
        return vextel_print::FaxAgent(*options, output, errors).run();
    }
    return vextel_print::HostApplication(*options, output, errors).run();
}
