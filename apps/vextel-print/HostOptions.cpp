#include "HostOptions.h"

#include <algorithm>

namespace vextel_print {

namespace {

// The argument after an option is its value, unless there is none, it is empty, or it is the
// next option: "--output --script walk.script" lacks the folder rather than writing into a
// folder called "--script".
bool takeValue(const QStringList& arguments, qsizetype& index, QString* value, QString* error) {
    const QString option = arguments.at(index);
    if (index + 1 >= arguments.size() || arguments.at(index + 1).isEmpty() ||
        arguments.at(index + 1).startsWith(QLatin1String("--"))) {
        *error = QStringLiteral("%1 needs a value").arg(option);
        return false;
    }
    *value = arguments.at(++index);
    return true;
}

} // namespace

std::optional<HostOptions> HostOptions::parse(const QStringList& arguments, QString* error) {
    HostOptions options;
    const QList<std::pair<QString, QString*>> valued = {
        {QStringLiteral("--ppd"), &options.ppdPath},
        {QStringLiteral("--printer"), &options.queue},
        {QStringLiteral("--server"), &options.server},
        {QStringLiteral("--device-uri"), &options.deviceUri},
        {QStringLiteral("--output"), &options.outputFolder},
        {QStringLiteral("--screenshot"), &options.screenshot},
        {QStringLiteral("--script"), &options.script},
    };
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (argument == QLatin1String("-h") || argument == QLatin1String("--help")) {
            options.help = true;
            continue;
        }
        auto option = std::find_if(valued.begin(), valued.end(),
                                   [&](const auto& entry) { return entry.first == argument; });
        if (option != valued.end()) {
            if (!takeValue(arguments, i, option->second, error)) {
                return std::nullopt;
            }
            continue;
        }
        if (argument.startsWith(QLatin1Char('-')) && argument != QLatin1String("-")) {
            *error = QStringLiteral("unknown option %1").arg(argument);
            return std::nullopt;
        }
        options.documents.append(argument);
    }
    if (!options.ppdPath.isEmpty() && !options.queue.isEmpty()) {
        *error = QStringLiteral("--ppd and --printer cannot be used together");
        return std::nullopt;
    }
    if (!options.deviceUri.isEmpty() && !options.queue.isEmpty()) {
        *error = QStringLiteral("--device-uri goes with --ppd: a queue's device URI comes from "
                                "its server");
        return std::nullopt;
    }
    if (!options.help && options.ppdPath.isEmpty() && options.queue.isEmpty()) {
        *error = QStringLiteral("give the printer with --printer QUEUE or its PPD with --ppd FILE");
        return std::nullopt;
    }
    return options;
}

QString HostOptions::usage() {
    return QStringLiteral(
        "usage: vextel-print [--ppd FILE | --printer QUEUE] [options] [FILE...]\n"
        "  --ppd FILE         use this PPD (the job is written to the output folder)\n"
        "  --printer QUEUE    print to this CUPS queue, with its PPD\n"
        "  --server HOST      CUPS server for --printer (HOST, HOST:PORT or a socket path)\n"
        "  --device-uri URI   the printer's device URI for --ppd (socket://HOST, usb://...,\n"
        "                     dnssd://NAME._ipp._tcp.local./): where the fax panel finds it\n"
        "  --output DIR       folder for a job that goes to no queue (default ./vextel-jobs)\n"
        "  --screenshot FILE  write a PNG of the dialog with the fax panel shown, then exit\n"
        "  --script FILE      run the dialogs offscreen, driven by a script\n"
        "Exit status: 0 job sent or written, 1 cancelled, 2 usage or script error, 3 the job\n"
        "could not be sent.\n");
}

} // namespace vextel_print
