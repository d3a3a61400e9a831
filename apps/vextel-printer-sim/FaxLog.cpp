#include "FaxLog.h"

#include "SimulatorClock.h"

#include <algorithm>
#include <nlohmann/json.hpp>

namespace vextel_sim {

namespace {

using nlohmann::json;

constexpr const char* kUrnPrefix = "urn:uuid:";

std::string bareUuid(const std::string& uuid) {
    return uuid.rfind(kUrnPrefix, 0) == 0 ? uuid.substr(std::string(kUrnPrefix).size()) : uuid;
}

bool isFinished(const FaxLog::Job& job) {
    return job.state == "sent" || job.state == "failed";
}

json jobJson(const FaxLog::Job& job) {
    json recipients = json::array();
    for (const FaxLog::Recipient& recipient : job.recipients)
        recipients.push_back({{"number", recipient.number},
                              {"name", recipient.name},
                              {"faxNumber", recipient.faxNumber},
                              {"state", recipient.state},
                              {"tries", recipient.tries},
                              {"time", recipient.time}});
    const faxjob::FaxTicket& ticket = job.ticket;
    return {{"jobUuid", ticket.jobUuid},
            {"jobId", ticket.jobId},
            {"user", ticket.user},
            {"title", ticket.title},
            {"state", job.state},
            {"received", job.received},
            {"sendAt", SimulatorClock::format(job.sendAt)},
            {"delayedSend", ticket.delayedSend},
            {"delayedTime", ticket.delayedTime},
            {"senderMode", ticket.senderMode},
            {"senderName", ticket.senderName},
            {"coverPage", ticket.coverPage},
            {"imageQuality", ticket.imageQuality},
            {"transmissionReport", ticket.transmissionReport},
            {"passwordChecked", job.passwordChecked},
            {"pages", job.pages},
            {"recipients", std::move(recipients)}};
}

} // namespace

bool FaxLog::add(Job job) {
    std::lock_guard lock(mutex_);
    if (findLocked(job.ticket.jobUuid) != nullptr)
        return false;
    job.ticket.password.clear();
    if (jobs_.size() >= kMaximumJobs) {
        const auto oldest = std::find_if(jobs_.begin(), jobs_.end(), isFinished);
        jobs_.erase(oldest != jobs_.end() ? oldest : jobs_.begin());
    }
    jobs_.push_back(std::move(job));
    return true;
}

FaxLog::Job* FaxLog::findLocked(const std::string& uuid) {
    const std::string wanted = bareUuid(uuid);
    for (Job& job : jobs_)
        if (bareUuid(job.ticket.jobUuid) == wanted)
            return &job;
    return nullptr;
}

std::optional<FaxLog::Job> FaxLog::find(const std::string& uuid) const {
    std::lock_guard lock(mutex_);
    const Job* job = const_cast<FaxLog*>(this)->findLocked(uuid);
    return job ? std::optional<Job>(*job) : std::nullopt;
}

void FaxLog::setJobState(const std::string& jobUuid, const std::string& state) {
    std::lock_guard lock(mutex_);
    if (Job* job = findLocked(jobUuid))
        job->state = state;
}

void FaxLog::setRecipient(const std::string& jobUuid, int number, const std::string& state,
                          int tries, const std::string& time) {
    std::lock_guard lock(mutex_);
    Job* job = findLocked(jobUuid);
    if (job == nullptr || number < 1 || number > static_cast<int>(job->recipients.size()))
        return;
    Recipient& recipient = job->recipients[static_cast<std::size_t>(number - 1)];
    recipient.state = state;
    recipient.tries = tries;
    recipient.time = time;
}

std::string FaxLog::toJson() const {
    std::lock_guard lock(mutex_);
    json jobs = json::array();
    for (auto job = jobs_.rbegin(); job != jobs_.rend(); ++job)
        jobs.push_back(jobJson(*job));
    return json{{"jobs", std::move(jobs)}}.dump(-1, ' ', false, json::error_handler_t::replace);
}

std::string FaxLog::toJson(const Job& job) {
    return jobJson(job).dump(-1, ' ', false, json::error_handler_t::replace);
}

} // namespace vextel_sim
