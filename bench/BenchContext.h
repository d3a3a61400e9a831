#pragma once

#include <QString>

namespace vextel_bench {

// Where a session finds the built programs, the project's files, and a scratch folder that
// lives as long as the session (generated inputs, screenshots, job folders).
struct BenchContext {
    QString binaryDir;    // the build tree the bench program belongs to
    QString sourceDir;    // the project's source tree
    QString workDir;      // scratch folder, removed when the session ends
    QString benchProgram; // this program, run again with --probe for in-process figures
    // Contacts in the books the address-book suites generate (`--book-size`).
    int bookSize = kLargestBookSize;

    static constexpr int kSmallestBookSize = 1000;
    static constexpr int kLargestBookSize = 65535;

    QString program(const QString& name) const {
        return binaryDir + QStringLiteral("/bin/") + name;
    }
    QString source(const QString& relative) const {
        return sourceDir + QLatin1Char('/') + relative;
    }
    QString work(const QString& name) const { return workDir + QLatin1Char('/') + name; }
};

} // namespace vextel_bench
