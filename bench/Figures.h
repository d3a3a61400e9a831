#pragma once

#include <QMap>
#include <QString>

namespace vextel_bench {

// What one run of one side of a row measured, by figure name. A process run always gives
// "cpu_ms" (user and system time), "peak_mib" (largest resident set) and "wall_ms"; an
// in-process probe adds its own figures (milliseconds unless its name says otherwise).
using Figures = QMap<QString, double>;

inline constexpr const char* kCpuMilliseconds = "cpu_ms";
inline constexpr const char* kPeakMebibytes = "peak_mib";
inline constexpr const char* kWallMilliseconds = "wall_ms";

} // namespace vextel_bench
