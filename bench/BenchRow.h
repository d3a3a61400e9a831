#pragma once

#include "Figures.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

namespace vextel_bench {

// What a figure should stay within, if anything: a ratio of measured to baseline, or a bound on
// the measured figure itself (in the figure's unit).
struct Goal {
    enum class Kind { None, RatioAtMost, MeasuredAtMost };
    Kind kind = Kind::None;
    double bound = 0;

    static Goal none() { return {}; }
    static Goal ratioAtMost(double bound) { return {Kind::RatioAtMost, bound}; }
    static Goal measuredAtMost(double bound) { return {Kind::MeasuredAtMost, bound}; }
};

// One figure a row reports: the key in Figures, how the report names it, and its goal.
struct FigureSpec {
    QString key;
    QString label;
    Goal goal;
};

// One side of a row: runs once and answers its figures, or nullopt with a reason in *error.
using Side = std::function<std::optional<Figures>(QString* error)>;

// One line of the report: a measured side beside its baseline, both run in the same session,
// interleaved, several times; each figure is reported as the two medians and their ratio.
struct BenchRow {
    QString title;
    Side measured;
    Side baseline;
    std::vector<FigureSpec> figures;
};

} // namespace vextel_bench
