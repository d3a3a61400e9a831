#pragma once

#include <QMap>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

namespace vextel_test {

// The built print-dialog host.
inline QString hostProgram() {
    return QStringLiteral(VEXTEL_BINARY_DIR "/bin/vextel-print");
}

// What one run of the host printed, and how it ended.
struct HostRun {
    int exitCode = -1;
    QString out;
    QString err;

    QStringList outLines() const { return out.split(QLatin1Char('\n'), Qt::SkipEmptyParts); }
    QStringList alerts() const {
        return outLines().filter(QRegularExpression(QStringLiteral("^alert: ")));
    }
    // The "key=value" lines printed under "job options:".
    QMap<QString, QString> printedOptions() const {
        QMap<QString, QString> options;
        for (const QString& line : outLines()) {
            if (line.startsWith(QLatin1String("  ")) && line.contains(QLatin1Char('='))) {
                const qsizetype equals = line.indexOf(QLatin1Char('='));
                options.insert(line.mid(2, equals - 2), line.mid(equals + 1));
            }
        }
        return options;
    }
    // The CUPS job id of a job sent to a queue, or 0.
    int jobId() const {
        const auto match =
            QRegularExpression(QStringLiteral("job (\\d+) sent to the queue")).match(out);
        return match.hasMatch() ? match.captured(1).toInt() : 0;
    }
};

// Runs the host to its end (a minute at most) with the given arguments and environment.
// Runs a program to its end (timeoutMs at most) with the given arguments and environment.
inline HostRun runProgram(const QString& program, const QStringList& arguments,
                          const QProcessEnvironment& environment, int timeoutMs = 60000) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    HostRun run;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        ADD_FAILURE() << program.toStdString() << " did not finish";
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

inline HostRun runHost(const QStringList& arguments, const QProcessEnvironment& environment) {
    return runProgram(hostProgram(), arguments, environment);
}

} // namespace vextel_test
