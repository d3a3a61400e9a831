// Rows of the print-dialog host: start-up, memory, the walkthrough job, large PPDs and the
// fax-sending dialog, each against a baseline run in the same session.
#include "ProcessProbe.h"
#include "Suites.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace vextel_bench {

namespace {

const char kStockPpd[] = "resources/ppd/Tarvik-M40-Vextel-Fax.ppd";
const char kWalkthrough[] = "resources/scripts/walkthrough.script";
const char kSample[] = "resources/samples/fax-sample.pdf";
const char kGeneratedOption[] = "TKFaxImageQuality";

QString cpu() {
    return QString::fromLatin1(kCpuMilliseconds);
}
QString peak() {
    return QString::fromLatin1(kPeakMebibytes);
}
QString wall() {
    return QString::fromLatin1(kWallMilliseconds);
}

// Both sides of a row run with the same environment: a home of their own, so the host's help
// registration never touches the user's files, English texts, and no extra plug-in folders.
QMap<QString, QString> quietEnvironment(const BenchContext& context) {
    const QString home = context.work(QStringLiteral("home"));
    const QString runtime = context.work(QStringLiteral("runtime"));
    QDir().mkpath(home);
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return {{QStringLiteral("HOME"), home},
            {QStringLiteral("XDG_RUNTIME_DIR"), runtime},
            {QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/data")},
            {QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/config")},
            {QStringLiteral("LANG"), QStringLiteral("C.UTF-8")},
            {QStringLiteral("LANGUAGE"), QString()},
            {QStringLiteral("LC_ALL"), QString()},
            {QStringLiteral("VEXTEL_PDE_PATH"), QString()}};
}

Command hostScreenshot(const BenchContext& context, const QString& program, const QString& ppd) {
    return {program,
            {QStringLiteral("--ppd"), ppd, QStringLiteral("--screenshot"),
             context.work(QStringLiteral("host.png"))},
            quietEnvironment(context)};
}

Command bareScreenshot(const BenchContext& context) {
    return {context.program(QStringLiteral("vextel-bench-bare")),
            {QStringLiteral("--screenshot"), context.work(QStringLiteral("bare.png"))},
            quietEnvironment(context)};
}

// The host finds its plug-ins and its libraries below its own folder (bin/../lib/vextel): a copy
// of the program beside links to the build's libraries, but not to its plug-ins, runs without
// the fax panel.
QString hostWithoutPlugins(const BenchContext& context) {
    const QString folder = context.work(QStringLiteral("no-plugins/bin"));
    const QString libraries = context.work(QStringLiteral("no-plugins/lib"));
    const QString copy = folder + QStringLiteral("/vextel-print");
    const QString program = context.program(QStringLiteral("vextel-print"));
    QDir().mkpath(folder);
    QDir().mkpath(libraries);
    const QDir built(QFileInfo(program).dir().absoluteFilePath(QStringLiteral("../lib")));
    for (const QString& name : built.entryList({QStringLiteral("*.so*")}, QDir::Files)) {
        QFile::link(built.absoluteFilePath(name), libraries + QLatin1Char('/') + name);
    }
    QFile::link(libraries, libraries + QStringLiteral("/vextel"));
    QFile::copy(program, copy);
    QFile::setPermissions(copy, QFile::permissions(copy) | QFileDevice::ExeOwner);
    return copy;
}

// The stock PPD with the image-quality popup grown to `choices` choices (its own four first).
QString generatedPpd(const BenchContext& context, int choices) {
    QFile stock(context.source(QLatin1String(kStockPpd)));
    if (!stock.open(QIODevice::ReadOnly)) {
        return {};
    }
    QString text = QString::fromLatin1(stock.readAll());
    const QString closing = QStringLiteral("*CloseUI: *%1").arg(QLatin1String(kGeneratedOption));
    QString extra;
    for (int i = 5; i <= choices; ++i) {
        extra += QStringLiteral("*%1 Q%2/Quality level %2: \"\"\n")
                     .arg(QLatin1String(kGeneratedOption))
                     .arg(i);
    }
    text.replace(closing, extra + closing);
    const QString path = context.work(QStringLiteral("choices-%1.ppd").arg(choices));
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(text.toLatin1()) < 0) {
        return {};
    }
    return path;
}

std::vector<FigureSpec> processFigures(Goal goal) {
    return {{cpu(), QStringLiteral("CPU ms"), goal},
            {peak(), QStringLiteral("peak memory MiB"), goal},
            {wall(), QStringLiteral("wall ms"), Goal::none()}};
}

BenchRow startUpRow(const BenchContext& context, const QString& host) {
    return {
        QStringLiteral("start-up to the shown fax panel (--screenshot) / bare Qt dialog of "
                       "the same widgets"),
        ProcessProbe::side(hostScreenshot(context, host, context.source(QLatin1String(kStockPpd)))),
        ProcessProbe::side(bareScreenshot(context)), processFigures(Goal::ratioAtMost(1.25))};
}

// What the libraries the host cannot start without cost a plain Qt program: libcups (the PPD is
// read before the panel shows), the `.ui` loader (the layouts) and libplist (the bundles'
// Info.plist), preloaded into the bare dialog. The start-up row's ratio cannot go below this one.
BenchRow requiredLibrariesRow(const BenchContext& context) {
    Command loaded = bareScreenshot(context);
    loaded.environment.insert(QStringLiteral("LD_PRELOAD"),
                              QStringLiteral("libcups.so.2 libQt6UiTools.so.6 libplist-2.0.so.3"));
    return {QStringLiteral("bare Qt dialog with the host's libcups, .ui loader and libplist loaded "
                           "/ bare Qt dialog"),
            ProcessProbe::side(loaded),
            ProcessProbe::side(bareScreenshot(context)),
            {{cpu(), QStringLiteral("CPU ms"), Goal::none()},
             {peak(), QStringLiteral("peak memory MiB"), Goal::none()}}};
}

BenchRow pluginMemoryRow(const BenchContext& context, const QString& host) {
    const QString stock = context.source(QLatin1String(kStockPpd));
    return {QStringLiteral("host with the plug-in / the same host without plug-ins"),
            ProcessProbe::side(hostScreenshot(context, host, stock)),
            ProcessProbe::side(hostScreenshot(context, hostWithoutPlugins(context), stock)),
            {{peak(), QStringLiteral("peak memory MiB"), Goal::none()},
             {cpu(), QStringLiteral("CPU ms"), Goal::none()}}};
}

BenchRow walkthroughRow(const BenchContext& context, const QString& host) {
    const Command walkthrough{host,
                              {QStringLiteral("--ppd"), context.source(QLatin1String(kStockPpd)),
                               QStringLiteral("--output"), context.work(QStringLiteral("jobs")),
                               QStringLiteral("--script"),
                               context.source(QLatin1String(kWalkthrough)),
                               context.source(QLatin1String(kSample))},
                              quietEnvironment(context)};
    return {QStringLiteral("walkthrough job (--script walkthrough.script) / bare Qt dialog"),
            ProcessProbe::side(walkthrough), ProcessProbe::side(bareScreenshot(context)),
            processFigures(Goal::none())};
}

BenchRow largePpdRow(const BenchContext& context, const QString& host, int choices, Goal goal) {
    return {
        QStringLiteral("PPD with %1 choices in one popup / the stock PPD").arg(choices),
        ProcessProbe::side(hostScreenshot(context, host, generatedPpd(context, choices))),
        ProcessProbe::side(hostScreenshot(context, host, context.source(QLatin1String(kStockPpd)))),
        {{cpu(), QStringLiteral("CPU ms"), goal},
         {peak(), QStringLiteral("peak memory MiB"), Goal::none()}}};
}

BenchRow faxDialogRow(const BenchContext& context) {
    Command measured = probeCommand(context, QStringLiteral("fax-dialog-openings"));
    Command baseline = probeCommand(context, QStringLiteral("bare-dialog-openings"));
    measured.environment = quietEnvironment(context);
    baseline.environment = quietEnvironment(context);
    return {QStringLiteral("fax-sending dialog, in-process / bare Qt dialog of the same widgets"),
            ProcessProbe::side(measured),
            ProcessProbe::side(baseline),
            {{QStringLiteral("first_ms"), QStringLiteral("first opening ms"), Goal::none()},
             {QStringLiteral("second_ms"), QStringLiteral("second opening ms"),
              Goal::measuredAtMost(2.0)}}};
}

} // namespace

std::vector<BenchRow> hostSuiteRows(const BenchContext& context) {
    const QString host = context.program(QStringLiteral("vextel-print"));
    return {startUpRow(context, host),
            requiredLibrariesRow(context),
            pluginMemoryRow(context, host),
            faxDialogRow(context),
            walkthroughRow(context, host),
            largePpdRow(context, host, 1000, Goal::none()),
            largePpdRow(context, host, 5000, Goal::ratioAtMost(2.0))};
}

} // namespace vextel_bench
