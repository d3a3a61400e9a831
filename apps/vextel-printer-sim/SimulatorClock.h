#pragma once

#include <chrono>
#include <ctime>
#include <optional>
#include <string>

namespace vextel_sim {

// The printer's clock: starts at the computer's local time, or at a given time of day today,
// and may run faster than real time so that tests need not wait for a delayed send. Times are
// seconds since the epoch in the printer's reckoning, read in the local time zone.
class SimulatorClock {
public:
    using Real = std::chrono::steady_clock;

    // startMinutes: the time of day to start at (absent: now); speed: 1 or more.
    SimulatorClock(std::optional<int> startMinutes, int speed);

    // Now, on the printer's clock.
    std::time_t now() const;
    // The first time at or after `from` whose local time of day is minutesOfDay.
    static std::time_t nextTimeOfDay(std::time_t from, int minutesOfDay);
    // The real time to wait until the printer's clock shows `at` (zero when it is past).
    std::chrono::milliseconds realWaitUntil(std::time_t at) const;
    // The real time that printer seconds take.
    std::chrono::milliseconds realDuration(double printerSeconds) const;
    // "YYYY-MM-DDTHH:MM:SS", local time.
    static std::string format(std::time_t time);

private:
    Real::time_point realStart_;
    std::time_t printerStart_;
    int speed_;
};

} // namespace vextel_sim
