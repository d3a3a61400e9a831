#include "SimulatorClock.h"

#include <cmath>

namespace vextel_sim {

SimulatorClock::SimulatorClock(std::optional<int> startMinutes, int speed)
    : realStart_(Real::now()), printerStart_(std::time(nullptr)), speed_(speed < 1 ? 1 : speed) {
    if (startMinutes) {
        std::tm local{};
        localtime_r(&printerStart_, &local);
        local.tm_hour = *startMinutes / 60;
        local.tm_min = *startMinutes % 60;
        local.tm_sec = 0;
        local.tm_isdst = -1;
        printerStart_ = std::mktime(&local);
    }
}

std::time_t SimulatorClock::now() const {
    const auto elapsed = std::chrono::duration<double>(Real::now() - realStart_).count();
    return printerStart_ + static_cast<std::time_t>(std::floor(elapsed * speed_));
}

std::time_t SimulatorClock::nextTimeOfDay(std::time_t from, int minutesOfDay) {
    std::tm local{};
    localtime_r(&from, &local);
    local.tm_hour = minutesOfDay / 60;
    local.tm_min = minutesOfDay % 60;
    local.tm_sec = 0;
    local.tm_isdst = -1;
    std::time_t at = std::mktime(&local);
    if (at < from) {
        local.tm_mday += 1;
        local.tm_isdst = -1;
        at = std::mktime(&local);
    }
    return at;
}

std::chrono::milliseconds SimulatorClock::realWaitUntil(std::time_t at) const {
    const auto elapsed = std::chrono::duration<double>(Real::now() - realStart_).count();
    const double printerNow = static_cast<double>(printerStart_) + elapsed * speed_;
    const double left = static_cast<double>(at) - printerNow;
    if (left <= 0)
        return std::chrono::milliseconds(0);
    return std::chrono::milliseconds(static_cast<long long>(std::ceil(left * 1000.0 / speed_)));
}

std::chrono::milliseconds SimulatorClock::realDuration(double printerSeconds) const {
    return std::chrono::milliseconds(
        static_cast<long long>(std::ceil(printerSeconds * 1000.0 / speed_)));
}

std::string SimulatorClock::format(std::time_t time) {
    std::tm local{};
    localtime_r(&time, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &local);
    return text;
}

} // namespace vextel_sim
