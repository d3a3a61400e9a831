#pragma once

#include "BenchContext.h"
#include "BenchRow.h"
#include "ProcessProbe.h"

#include <QTextStream>
#include <vector>

namespace vextel_bench {

// A group of rows, measured together. Adding a suite: write bench/<Name>Suite.cpp with a
// function that answers its rows, declare it below and add one line to kSuites in Suites.cpp.
struct Suite {
    const char* name;
    const char* what;
    std::vector<BenchRow> (*rows)(const BenchContext& context);
};

// An in-process measurement, run in a child process (`vextel-bench --probe NAME [ARG...]`) so
// that each run starts cold. It prints "figure NAME VALUE" lines and answers an exit status.
// A row runs it through probeCommand().
struct Probe {
    const char* name;
    int (*run)(const BenchContext& context, const QStringList& arguments, QTextStream& out);
};

const std::vector<Suite>& suites();
const std::vector<Probe>& probes();

// The command that runs a probe of this program in a child process.
Command probeCommand(const BenchContext& context, const QString& probe,
                     const QStringList& arguments = {});

// A book probe's arguments, as the address-book suites pass them: the book's path and its number
// of contacts. False when they are not that.
bool bookArguments(const QStringList& arguments, QString* book, int* contacts);

// The vCard book of the session's size that the address-book and editor suites measure on
// (written once per session): its path, or empty when it cannot be written.
QString generatedVCardBook(const BenchContext& context);
// Groups in that book.
inline constexpr int kGeneratedBookGroups = 20;

// ---- Suites
std::vector<BenchRow> hostSuiteRows(const BenchContext& context);
std::vector<BenchRow> pickerSuiteRows(const BenchContext& context);
std::vector<BenchRow> addressBookSuiteRows(const BenchContext& context);
std::vector<BenchRow> editorSuiteRows(const BenchContext& context);
std::vector<BenchRow> driverSuiteRows(const BenchContext& context);
std::vector<BenchRow> deviceSuiteRows(const BenchContext& context);

// ---- Probes
int faxDialogOpeningsProbe(const BenchContext& context, const QStringList& arguments,
                           QTextStream& out);
int bareDialogOpeningsProbe(const BenchContext& context, const QStringList& arguments,
                            QTextStream& out);
int pickerBookProbe(const BenchContext& context, const QStringList& arguments, QTextStream& out);
int bareBookProbe(const BenchContext& context, const QStringList& arguments, QTextStream& out);
int vcardBookReadProbe(const BenchContext& context, const QStringList& arguments, QTextStream& out);
int editorBookProbe(const BenchContext& context, const QStringList& arguments, QTextStream& out);
int bareEditorBookProbe(const BenchContext& context, const QStringList& arguments,
                        QTextStream& out);
int vcardLineScanProbe(const BenchContext& context, const QStringList& arguments, QTextStream& out);
int deviceBookReadProbe(const BenchContext& context, const QStringList& arguments,
                        QTextStream& out);
int deviceAnswerTreeProbe(const BenchContext& context, const QStringList& arguments,
                          QTextStream& out);
int faxLogReadProbe(const BenchContext& context, const QStringList& arguments, QTextStream& out);
int deviceClientReadProbe(const BenchContext& context, const QStringList& arguments,
                          QTextStream& out);

} // namespace vextel_bench
