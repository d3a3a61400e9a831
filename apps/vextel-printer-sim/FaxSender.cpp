#include "FaxSender.h"

#include <algorithm>

namespace vextel_sim {

FaxSender::FaxSender(FaxLog& log, DialPlan plan, const SimulatorClock& clock)
    : log_(log), plan_(std::move(plan)), clock_(clock) {}

FaxSender::~FaxSender() {
    stop();
}

void FaxSender::start() {
    thread_ = std::thread([this] { run(); });
}

void FaxSender::stop() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable())
        thread_.join();
}

void FaxSender::enqueue(const std::string& jobUuid, std::time_t sendAt) {
    {
        std::lock_guard lock(mutex_);
        queue_.push_back({jobUuid, sendAt});
    }
    changed_.notify_all();
}

void FaxSender::run() {
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        if (queue_.empty()) {
            changed_.wait(lock);
            continue;
        }
        // The earliest send time first; jobs of one time in the order they came.
        const auto next =
            std::min_element(queue_.begin(), queue_.end(),
                             [](const Queued& a, const Queued& b) { return a.sendAt < b.sendAt; });
        const auto wait = clock_.realWaitUntil(next->sendAt);
        if (wait.count() > 0) {
            changed_.wait_for(lock, wait);
            continue;
        }
        const std::string jobUuid = next->jobUuid;
        queue_.erase(next);
        lock.unlock();
        transmit(jobUuid);
        lock.lock();
    }
}

void FaxSender::transmit(const std::string& jobUuid) {
    const auto job = log_.find(jobUuid);
    if (!job)
        return;
    log_.setJobState(jobUuid, "sending");
    bool allSent = true;
    for (const FaxLog::Recipient& recipient : job->recipients) {
        const DialPlan::Fate fate = plan_.fateOf(recipient.faxNumber);
        for (int attempt = 1; attempt <= fate.tries; ++attempt) {
            log_.setRecipient(jobUuid, recipient.number, "dialing", attempt,
                              SimulatorClock::format(clock_.now()));
            const bool last = attempt == fate.tries;
            if (last && fate.outcome == DialPlan::Outcome::Sent) {
                if (!wait(plan_.secondsPerPage() * std::max(job->pages, 1)))
                    return;
                log_.setRecipient(jobUuid, recipient.number, "sent", attempt,
                                  SimulatorClock::format(clock_.now()));
                break;
            }
            // A try short of the one that gets through meets a busy line.
            const DialPlan::Outcome met =
                fate.outcome == DialPlan::Outcome::Sent ? DialPlan::Outcome::Busy : fate.outcome;
            log_.setRecipient(jobUuid, recipient.number, DialPlan::wordFor(met), attempt,
                              SimulatorClock::format(clock_.now()));
            if (last)
                allSent = false;
            else if (!wait(plan_.retryInterval()))
                return;
        }
    }
    log_.setJobState(jobUuid, allSent ? "sent" : "failed");
}

bool FaxSender::wait(double printerSeconds) {
    std::unique_lock lock(mutex_);
    return !changed_.wait_for(lock, clock_.realDuration(printerSeconds),
                              [this] { return stopping_; });
}

} // namespace vextel_sim
