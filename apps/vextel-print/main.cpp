// vextel-print: the print-dialog host.
#include "HostApplication.h"
#include "HostOptions.h"

#include <QApplication>
#include <QTextStream>
#include <cstdlib>

namespace {

bool hasDisplay() {
    const char* display = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (display != nullptr && *display != '\0') || (wayland != nullptr && *wayland != '\0');
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
    // A script or a screenshot needs no display: they run on the offscreen platform.
    const bool headless = !options->script.isEmpty() || !options->screenshot.isEmpty();
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        if (headless) {
            setenv("QT_QPA_PLATFORM", "offscreen", 1);
        } else if (!hasDisplay()) {
            errors << "vextel-print: no display to show the print dialog on; use --script or "
                      "--screenshot to run without one"
                   << Qt::endl;
            return vextel_print::HostApplication::kUsageError;
        }
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vextel-print"));
    return vextel_print::HostApplication(*options, output, errors).run();
}
