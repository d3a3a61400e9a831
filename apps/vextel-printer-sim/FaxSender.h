#pragma once

#include "DialPlan.h"
#include "FaxLog.h"
#include "SimulatorClock.h"

#include <condition_variable>
#include <ctime>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace vextel_sim {

// The printer's fax line: sends the jobs of the log one after another, each at its send time on
// the printer's clock, dialing every recipient as the dial plan says and writing each try into
// the log. start, then stop (or the destructor) ends the thread at once, mid-job too.
class FaxSender {
public:
    FaxSender(FaxLog& log, DialPlan plan, const SimulatorClock& clock);
    ~FaxSender();
    FaxSender(const FaxSender&) = delete;
    FaxSender& operator=(const FaxSender&) = delete;

    void start();
    void stop();
    // Queues a job already in the log.
    void enqueue(const std::string& jobUuid, std::time_t sendAt);

private:
    struct Queued {
        std::string jobUuid;
        std::time_t sendAt;
    };

    void run();
    void transmit(const std::string& jobUuid);
    // Waits for the printer's seconds; false when stop came first.
    bool wait(double printerSeconds);

    FaxLog& log_;
    const DialPlan plan_;
    const SimulatorClock& clock_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Queued> queue_;
    bool stopping_ = false;
    std::thread thread_;
};

} // namespace vextel_sim
