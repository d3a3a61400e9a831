#pragma once

#include <QTextStream>
#include <functional>

namespace vextel_bench {

// What one action of an in-process probe took: the process's CPU time (the figure a busy shared
// machine moves least) and the wall time, in milliseconds.
struct Took {
    double cpu = 0;
    double wall = 0;

    static Took measure(const std::function<void()>& action);

    // "figure NAME_cpu_ms" and "figure NAME_ms", with "figure NAME_cpu_us_per_contact" for a
    // book of contacts (> 0): a cost that grows linearly with the book keeps that one flat.
    void write(QTextStream& out, const char* name, int contacts = 0) const;
};

} // namespace vextel_bench
