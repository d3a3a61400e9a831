// vextel-bench: measures the project's programs, each figure beside a baseline run in the same
// session. Run on demand; it is no test.
#include "BenchContext.h"
#include "BenchRunner.h"
#include "Suites.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstdlib>
#include <memory>

namespace {

using namespace vextel_bench;

constexpr int kDefaultRounds = 5;

const char kUsage[] =
    "usage: vextel-bench [--runs N] [--suite NAME]... [--book-size N] [--list] [--verbose]\n"
    "  --runs N      rounds per row, each running the measured side and its baseline (default 5)\n"
    "  --suite NAME  runs only this suite (may be repeated); all suites without it\n"
    "  --book-size N contacts in the address-book suites' books, 1000 to 65535 (default 65535)\n"
    "  --list        lists the suites and their rows' titles without running them\n"
    "  --verbose     shows what the measured programs write to standard error\n";

struct BenchOptions {
    int rounds = kDefaultRounds;
    int bookSize = BenchContext::kLargestBookSize;
    QStringList suites;
    bool list = false;
    bool verbose = false;
    QString probe;
    QStringList probeArguments;
};

bool parse(const QStringList& arguments, BenchOptions* options, QString* error) {
    for (int i = 0; i < arguments.size(); ++i) {
        const QString& word = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        if (word == QLatin1String("--probe") && hasValue) {
            options->probe = arguments[i + 1];
            options->probeArguments = arguments.mid(i + 2);
            return true;
        }
        if (word == QLatin1String("--runs") && hasValue) {
            bool ok = false;
            options->rounds = arguments[++i].toInt(&ok);
            if (!ok || options->rounds < 1) {
                *error = QStringLiteral("--runs takes a number from 1");
                return false;
            }
        } else if (word == QLatin1String("--book-size") && hasValue) {
            bool ok = false;
            options->bookSize = arguments[++i].toInt(&ok);
            if (!ok || options->bookSize < BenchContext::kSmallestBookSize ||
                options->bookSize > BenchContext::kLargestBookSize) {
                *error = QStringLiteral("--book-size takes a number from 1000 to 65535");
                return false;
            }
        } else if (word == QLatin1String("--suite") && hasValue) {
            options->suites.append(arguments[++i]);
        } else if (word == QLatin1String("--list")) {
            options->list = true;
        } else if (word == QLatin1String("--verbose")) {
            options->verbose = true;
        } else {
            *error = QStringLiteral("unknown argument %1").arg(word);
            return false;
        }
    }
    return true;
}

BenchContext contextFor(const QString& workDir, int bookSize) {
    BenchContext context;
    context.binaryDir =
        QDir(QCoreApplication::applicationDirPath() + QStringLiteral("/..")).absolutePath();
    context.sourceDir = QStringLiteral(VEXTEL_SOURCE_DIR);
    context.workDir = workDir;
    context.benchProgram = QCoreApplication::applicationFilePath();
    context.bookSize = bookSize;
    return context;
}

// In the child: one probe, measured in this process.
int runProbe(int argc, char** argv, const BenchOptions& options) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream errors(stderr);
    QTemporaryDir work;
    const BenchContext context = contextFor(work.path(), options.bookSize);
    for (const Probe& probe : probes()) {
        if (options.probe == QLatin1String(probe.name)) {
            return probe.run(context, options.probeArguments, out);
        }
    }
    errors << "vextel-bench: no probe named " << options.probe << Qt::endl;
    return 2;
}

int runSuites(const BenchOptions& options, QTextStream& out, QTextStream& errors) {
    QTemporaryDir work;
    if (!work.isValid()) {
        errors << "vextel-bench: no scratch folder: " << work.errorString() << Qt::endl;
        return 2;
    }
    const BenchContext context = contextFor(work.path(), options.bookSize);
    BenchRunner runner(options.rounds, out);
    bool allRan = true;
    bool headingWritten = false;
    for (const Suite& suite : suites()) {
        if (!options.suites.isEmpty() && !options.suites.contains(QLatin1String(suite.name))) {
            continue;
        }
        const std::vector<BenchRow> rows = suite.rows(context);
        out << "== " << suite.name << ": " << suite.what << Qt::endl;
        if (options.list) {
            for (const BenchRow& row : rows) {
                out << "  " << row.title << Qt::endl;
            }
            continue;
        }
        if (!headingWritten) {
            runner.writeHeading();
            headingWritten = true;
        }
        for (const BenchRow& row : rows) {
            allRan = runner.run(row) && allRan;
        }
    }
    return allRan ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.append(QString::fromLocal8Bit(argv[i]));
    }
    QTextStream out(stdout);
    QTextStream errors(stderr);
    BenchOptions options;
    QString error;
    if (!parse(arguments, &options, &error)) {
        errors << "vextel-bench: " << error << Qt::endl << kUsage;
        return 2;
    }
    if (!options.probe.isEmpty()) {
        return runProbe(argc, argv, options);
    }
    QCoreApplication app(argc, argv);
    ProcessProbe::setChildErrorsShown(options.verbose);
    out << "vextel-bench: " << options.rounds
        << " rounds per row; medians; ratio = measured / baseline" << Qt::endl;
    return runSuites(options, out, errors);
}
