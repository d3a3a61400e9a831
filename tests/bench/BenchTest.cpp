#include "BenchRunner.h"
#include "ProcessProbe.h"

#include <QRegularExpression>
#include <QString>
#include <QTextStream>
#include <gtest/gtest.h>
#include <memory>

namespace {

using vextel_bench::BenchRow;
using vextel_bench::BenchRunner;
using vextel_bench::Command;
using vextel_bench::Figures;
using vextel_bench::Goal;
using vextel_bench::ProcessProbe;

// ---- Medians and figures

TEST(BenchMedian, MiddleValueOrMeanOfTheTwoMiddleOnes) {
    const std::pair<std::vector<double>, double> cases[] = {
        {{}, 0}, {{3}, 3}, {{5, 1, 3}, 3}, {{4, 1, 3, 2}, 2.5}, {{9, 9, 1}, 9}};
    for (const auto& [values, expected] : cases) {
        EXPECT_DOUBLE_EQ(BenchRunner::median(values), expected) << values.size();
    }
}

TEST(BenchFigures, OnlyWellFormedFigureLinesCount) {
    const Figures figures = ProcessProbe::figuresIn("figure a 1.5\n"
                                                    "noise figure b 2\n"
                                                    "figure c x\n"
                                                    "figure d 2 3\n"
                                                    "figure e\n"
                                                    "figure  f   7  \n");
    EXPECT_EQ(figures, (Figures{{"a", 1.5}, {"f", 7}}));
}

// ---- Child processes

Command shell(const QString& script, const QMap<QString, QString>& environment = {}) {
    return {QStringLiteral("/bin/sh"), {QStringLiteral("-c"), script}, environment};
}

TEST(BenchProcess, MeasuresTheChildAndReadsItsFigures) {
    qputenv("VEXTEL_BENCH_TEST_GONE", "1");
    QString error;
    const auto figures = ProcessProbe::run(
        // Megabytes of other output (a document passed through) come before the figures.
        shell("head -c 3000000 /dev/urandom; echo; echo figure given $GIVEN; "
              "echo figure gone ${VEXTEL_BENCH_TEST_GONE:-0}",
              {{"GIVEN", "4"}, {"VEXTEL_BENCH_TEST_GONE", QString()}}),
        &error);
    qunsetenv("VEXTEL_BENCH_TEST_GONE");
    ASSERT_TRUE(figures) << error.toStdString();
    EXPECT_EQ(figures->value("given"), 4);
    EXPECT_EQ(figures->value("gone"), 0) << "a null value removes the variable";
    EXPECT_GT(figures->value("peak_mib"), 0);
    EXPECT_GE(figures->value("cpu_ms"), 0);
    EXPECT_GT(figures->value("wall_ms"), 0);
}

TEST(BenchProcess, FailedRunsSayWhy) {
    struct Case {
        Command command;
        const char* reason;
    };
    Command accepted = shell("exit 1");
    accepted.acceptedExitCodes = {0, 1};
    const Case cases[] = {
        {shell("exit 3"), "exited with status 3"},
        {shell("kill -9 $$"), "killed by signal 9"},
        {{"/nonexistent/program", {}, {}}, "exited with status 127"},
        {accepted, nullptr},
    };
    for (const Case& c : cases) {
        QString error;
        const auto figures = ProcessProbe::run(c.command, &error);
        EXPECT_EQ(figures.has_value(), c.reason == nullptr) << error.toStdString();
        if (c.reason != nullptr) {
            EXPECT_TRUE(error.contains(c.reason)) << error.toStdString();
        }
    }
}

// ---- The report

// A side that answers the next of its values for the figure "x" and logs its calls.
vextel_bench::Side scripted(const char* name, std::vector<double> values, QStringList* calls) {
    auto next = std::make_shared<std::size_t>(0);
    return [=](QString* error) -> std::optional<Figures> {
        calls->append(QString::fromLatin1(name));
        if (*next >= values.size()) {
            *error = QStringLiteral("%1 ran out").arg(QLatin1String(name));
            return std::nullopt;
        }
        return Figures{{"x", values[(*next)++]}};
    };
}

TEST(BenchReport, InterleavedRoundsAfterAWarmUpGiveMediansRatiosAndVerdicts) {
    struct Case {
        Goal goal;
        const char* verdict;
    };
    const Case cases[] = {{Goal::ratioAtMost(2.0), "ratio <= 2 met"},
                          {Goal::ratioAtMost(1.5), "ratio <= 1.5 MISSED"},
                          {Goal::measuredAtMost(20), "measured <= 20 met"},
                          {Goal::none(), " -"}};
    for (const Case& c : cases) {
        QStringList calls;
        // Warm-up values (100, 1) are left out: medians 16 and 9.
        const BenchRow row{"row",
                           scripted("measured", {100, 16, 15, 30}, &calls),
                           scripted("baseline", {1, 8, 9, 10}, &calls),
                           {{"x", "x ms", c.goal}, {"y", "y ms", Goal::none()}}};
        QString report;
        QTextStream out(&report);
        BenchRunner runner(3, out);
        EXPECT_TRUE(runner.run(row));
        EXPECT_EQ(calls, QStringList({"measured", "baseline", "baseline", "measured", "measured",
                                      "baseline", "baseline", "measured"}));
        EXPECT_TRUE(report.contains(QRegularExpression(R"(x ms +16\.0 +9\.00 +1\.78x)")))
            << report.toStdString();
        EXPECT_TRUE(report.contains(c.verdict)) << report.toStdString();
        EXPECT_TRUE(report.contains("no figure \"y\" from the measured side"))
            << report.toStdString();
    }
}

TEST(BenchReport, AFailedSideFailsTheRowWithItsReason) {
    QStringList calls;
    const BenchRow row{"row",
                       scripted("measured", {1}, &calls),
                       scripted("baseline", {1, 2}, &calls),
                       {{"x", "x ms", Goal::none()}}};
    QString report;
    QTextStream out(&report);
    EXPECT_FALSE(BenchRunner(2, out).run(row));
    EXPECT_TRUE(report.contains("failed: measured ran out")) << report.toStdString();
}

} // namespace
