#include "BenchRunner.h"

#include <algorithm>

namespace vextel_bench {

namespace {

constexpr int kLabelWidth = 34;
constexpr int kNumberWidth = 10;

std::vector<double> valuesOf(const std::vector<Figures>& runs, const QString& key) {
    std::vector<double> values;
    for (const Figures& figures : runs) {
        if (figures.contains(key)) {
            values.push_back(figures.value(key));
        }
    }
    return values;
}

QString number(double value) {
    return QString::number(value, 'f', value < 10 ? 2 : 1).rightJustified(kNumberWidth);
}

QString goalText(const Goal& goal) {
    switch (goal.kind) {
    case Goal::Kind::RatioAtMost:
        return QStringLiteral("ratio <= %1").arg(goal.bound);
    case Goal::Kind::MeasuredAtMost:
        return QStringLiteral("measured <= %1").arg(goal.bound);
    case Goal::Kind::None:
        break;
    }
    return QStringLiteral("-");
}

QString verdict(const Goal& goal, double measured, double ratio) {
    switch (goal.kind) {
    case Goal::Kind::RatioAtMost:
        return ratio <= goal.bound ? QStringLiteral("met") : QStringLiteral("MISSED");
    case Goal::Kind::MeasuredAtMost:
        return measured <= goal.bound ? QStringLiteral("met") : QStringLiteral("MISSED");
    case Goal::Kind::None:
        break;
    }
    return {};
}

} // namespace

BenchRunner::BenchRunner(int rounds, QTextStream& out) : rounds_(std::max(1, rounds)), out_(out) {}

double BenchRunner::median(std::vector<double> values) {
    if (values.empty()) {
        return 0;
    }
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

void BenchRunner::writeHeading() {
    out_ << QStringLiteral("figure").leftJustified(kLabelWidth)
         << QStringLiteral("measured").rightJustified(kNumberWidth)
         << QStringLiteral("baseline").rightJustified(kNumberWidth)
         << QStringLiteral("ratio").rightJustified(kNumberWidth) << "   goal" << Qt::endl;
}

bool BenchRunner::run(const BenchRow& row) {
    out_ << row.title << Qt::endl;
    std::vector<Figures> measured;
    std::vector<Figures> baseline;
    QString error;
    if (!collect(row, &measured, &baseline, &error)) {
        out_ << "  failed: " << error << Qt::endl;
        return false;
    }
    for (const FigureSpec& figure : row.figures) {
        report(figure, measured, baseline);
    }
    return true;
}

bool BenchRunner::collect(const BenchRow& row, std::vector<Figures>* measured,
                          std::vector<Figures>* baseline, QString* error) {
    for (int round = -1; round < rounds_; ++round) {
        const bool baselineFirst = round % 2 == 0;
        std::optional<Figures> first = (baselineFirst ? row.baseline : row.measured)(error);
        if (!first) {
            return false;
        }
        std::optional<Figures> second = (baselineFirst ? row.measured : row.baseline)(error);
        if (!second) {
            return false;
        }
        if (round < 0) {
            continue; // the warm-up round fills the page cache for both sides
        }
        measured->push_back(baselineFirst ? *second : *first);
        baseline->push_back(baselineFirst ? *first : *second);
    }
    return true;
}

void BenchRunner::report(const FigureSpec& figure, const std::vector<Figures>& measured,
                         const std::vector<Figures>& baseline) {
    const std::vector<double> measuredValues = valuesOf(measured, figure.key);
    const std::vector<double> baselineValues = valuesOf(baseline, figure.key);
    out_ << ("  " + figure.label).leftJustified(kLabelWidth);
    if (measuredValues.empty() || baselineValues.empty()) {
        out_ << "  no figure \"" << figure.key << "\" from "
             << (measuredValues.empty() ? "the measured side" : "the baseline") << Qt::endl;
        return;
    }
    const double measuredMedian = median(measuredValues);
    const double baselineMedian = median(baselineValues);
    const double ratio = baselineMedian > 0 ? measuredMedian / baselineMedian : 0;
    out_ << number(measuredMedian) << number(baselineMedian)
         << (QString::number(ratio, 'f', 2) + QLatin1Char('x')).rightJustified(kNumberWidth)
         << "   " << goalText(figure.goal) << ' ' << verdict(figure.goal, measuredMedian, ratio)
         << Qt::endl;
}

} // namespace vextel_bench
