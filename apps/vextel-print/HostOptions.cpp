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

// "NAME=CHOICE", as lp takes it.
bool addPreset(const QString& preset, HostOptions* options, QString* error) {
    const qsizetype equals = preset.indexOf(QLatin1Char('='));
    if (equals <= 0 || equals == preset.size() - 1) {
        *error = QStringLiteral("-o takes NAME=CHOICE, not \"%1\"").arg(preset);
        return false;
    }
    options->presets.append({preset.left(equals), preset.mid(equals + 1)});
    return true;
}

// The agent takes its printers and documents from the jobs it finds.
bool checkAgentOptions(const HostOptions& options, QString* error) {
    if (!options.ppdPath.isEmpty() || !options.queue.isEmpty() || !options.documents.isEmpty() ||
        !options.screenshot.isEmpty() || !options.title.isEmpty() || !options.presets.isEmpty() ||
        options.fax || !options.deviceUri.isEmpty()) {
        *error = QStringLiteral("--agent takes the printer, documents and choices from the "
                                "captured jobs; give only --spool, --once, --server and --script");
        return false;
    }
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
        {QStringLiteral("--title"), &options.title},
        {QStringLiteral("--spool"), &options.spoolFolder},
    };
    const QList<std::pair<QString, bool*>> flags = {
        {QStringLiteral("--agent"), &options.agent},
        {QStringLiteral("--once"), &options.once},
        {QStringLiteral("--fax"), &options.fax},
    };
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (argument == QLatin1String("-h") || argument == QLatin1String("--help")) {
            options.help = true;
            continue;
        }
        auto flag = std::find_if(flags.begin(), flags.end(),
                                 [&](const auto& entry) { return entry.first == argument; });
        if (flag != flags.end()) {
            *flag->second = true;
            continue;
        }
        if (argument == QLatin1String("--script")) {
            QString script;
            if (!takeValue(arguments, i, &script, error)) {
                return std::nullopt;
            }
            if (options.script.isEmpty()) {
                options.script = script;
            } else {
                options.laterScripts.append(script);
            }
            continue;
        }
        if (argument == QLatin1String("-o")) {
            QString preset;
            if (!takeValue(arguments, i, &preset, error) || !addPreset(preset, &options, error)) {
                return std::nullopt;
            }
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
    if (options.fax && !options.agent && (!options.ppdPath.isEmpty() || !options.queue.isEmpty())) {
        *error = QStringLiteral("--fax chooses the queue itself: leave out --ppd and --printer");
        return std::nullopt;
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
    if (options.agent) {
        return checkAgentOptions(options, error) ? std::optional(options) : std::nullopt;
    }
    if (!options.laterScripts.isEmpty()) {
        *error = QStringLiteral("--script is given once; several go with --agent, one per job");
        return std::nullopt;
    }
    if (options.once || !options.spoolFolder.isEmpty()) {
        *error = QStringLiteral("--once and --spool go with --agent");
        return std::nullopt;
    }
    if (!options.help && !options.fax && options.ppdPath.isEmpty() && options.queue.isEmpty()) {
        *error = QStringLiteral("give the printer with --printer QUEUE or its PPD with --ppd FILE");
        return std::nullopt;
    }
    return options;
}

QString HostOptions::usage() {
    return QStringLiteral(
        "usage: vextel-print [--ppd FILE | --printer QUEUE | --fax] [options] [FILE...]\n"
        "  --fax              print to the first queue of the fax printer\n"
        "  --ppd FILE         use this PPD (the job is written to the output folder)\n"
        "  --printer QUEUE    print to this CUPS queue, with its PPD\n"
        "  --server HOST      CUPS server for --printer (HOST, HOST:PORT or a socket path)\n"
        "  --device-uri URI   the printer's device URI for --ppd (socket://HOST, usb://...,\n"
        "                     dnssd://NAME._ipp._tcp.local./): where the fax panel finds it\n"
        "  --output DIR       folder for a job that goes to no queue (default ./vextel-jobs)\n"
        "  --screenshot FILE  write a PNG of the dialog with the fax panel shown, then exit\n"
        "  --script FILE      run the dialogs offscreen, driven by a script\n"
        "  --title TEXT       the job's title\n"
        "  -o NAME=CHOICE     mark a choice of the printer's PPD before the dialog opens\n"
        "usage: vextel-print --agent [--spool DIR] [--once] [--server HOST] [--script FILE]...\n"
        "  --agent            send the fax jobs captured by the fax capture queue, one print\n"
        "                     dialog per job (the user's spool folder is watched)\n"
        "  --spool DIR        the spool folder (default /var/spool/vextel-fax/USER)\n"
        "  --once             handle the jobs waiting now, then exit\n"
        "  --script FILE...   each job's dialogs offscreen: the first script for the first job,\n"
        "                     the next for the next, the last for every job after\n"
        "Exit status: 0 job sent or written, 1 cancelled, 2 usage or script error, 3 the job\n"
        "could not be sent.\n");
}

} // namespace vextel_print
