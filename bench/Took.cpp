#include "Took.h"

#include <ctime>

namespace vextel_bench {

namespace {

double clockMilliseconds(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

} // namespace

Took Took::measure(const std::function<void()>& action) {
    const double cpuStart = clockMilliseconds(CLOCK_PROCESS_CPUTIME_ID);
    const double wallStart = clockMilliseconds(CLOCK_MONOTONIC);
    action();
    return {clockMilliseconds(CLOCK_PROCESS_CPUTIME_ID) - cpuStart,
            clockMilliseconds(CLOCK_MONOTONIC) - wallStart};
}

void Took::write(QTextStream& out, const char* name, int contacts) const {
    out << "figure " << name << "_cpu_ms " << cpu << Qt::endl;
    out << "figure " << name << "_ms " << wall << Qt::endl;
    if (contacts > 0) {
        out << "figure " << name << "_cpu_us_per_contact " << cpu * 1e3 / contacts << Qt::endl;
    }
}

} // namespace vextel_bench
