#pragma once

#include "BenchRow.h"

#include <QTextStream>
#include <vector>

namespace vextel_bench {

// Runs rows and writes the report. Each row's two sides run one after the other, their order
// swapped every round, so both see the same load on a shared machine; after one unreported
// warm-up round of each, every figure is the median of the rounds.
class BenchRunner {
public:
    BenchRunner(int rounds, QTextStream& out);

    // Writes the report's column heads.
    void writeHeading();
    // Runs and reports one row; false (with the reason in the report) when a side failed.
    bool run(const BenchRow& row);

    static double median(std::vector<double> values);

private:
    bool collect(const BenchRow& row, std::vector<Figures>* measured,
                 std::vector<Figures>* baseline, QString* error);
    void report(const FigureSpec& figure, const std::vector<Figures>& measured,
                const std::vector<Figures>& baseline);

    int rounds_;
    QTextStream& out_;
};

} // namespace vextel_bench
