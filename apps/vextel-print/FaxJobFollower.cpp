#include "FaxJobFollower.h"

#include "FaxResultNotice.h"

namespace vextel_print {

namespace {

// Jobs asked for at each look: more than one user sends between two looks.
constexpr int kJobsFollowed = 20;

} // namespace

FaxJobFollower::FaxJobFollower(QString server, const DesktopNotifier& notifier)
    : server_(std::move(server)), notifier_(notifier) {
    timer_.setInterval(kPollMilliseconds);
    connect(&timer_, &QTimer::timeout, this, &FaxJobFollower::poll);
}

void FaxJobFollower::start() {
    poll();
    timer_.start();
}

void FaxJobFollower::poll() {
    QString problem;
    const QList<FaxJobResults::Job> jobs =
        FaxJobResults::recentJobs(server_, kJobsFollowed, &problem);
    for (const FaxJobResults::Job& job : jobs) {
        const bool firstSight = !seen_.contains(job.id);
        seen_.insert(job.id);
        if (announced_.contains(job.id) || !job.isFinal())
            continue;
        announced_.insert(job.id);
        if (firstSight)
            continue;
        const FaxResultNotice notice = FaxResultNotice::of(job);
        notifier_.notify(notice.summary, notice.body);
    }
}

} // namespace vextel_print
