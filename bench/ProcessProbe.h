#pragma once

#include "BenchRow.h"
#include "Figures.h"

#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>

namespace vextel_bench {

// A program run to measure: its arguments and what it changes in the environment (a null value
// removes a variable).
struct Command {
    QString program;
    QStringList arguments;
    QMap<QString, QString> environment;
    // Exit statuses that count as a good run (a cancelled job exits with 1, for example).
    QList<int> acceptedExitCodes = {0};
};

// Runs a program to its end with fork and exec and reads its resource use from wait4: CPU time,
// peak resident set and wall time. Lines "figure NAME VALUE" on the program's standard output
// are added to the figures, so a probe run in a child process can report in-process timings.
// The program's standard error is dropped unless shown (`vextel-bench --verbose`), so that
// the report stays readable; a failed run is reported with its exit status either way.
class ProcessProbe {
public:
    static void setChildErrorsShown(bool shown);

    // Nullopt with a reason in *error when the program cannot start, is killed, or exits with
    // a status that is not accepted.
    static std::optional<Figures> run(const Command& command, QString* error);

    // A row's side that runs the command once per call.
    static Side side(Command command);

    // Parses the "figure NAME VALUE" lines of a child's output into figures.
    static Figures figuresIn(const QByteArray& output);
};

} // namespace vextel_bench
