#pragma once

#include "FaxTicket.h"

#include <ctime>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace vextel_sim {

// The printer's fax log: every fax job it took, newest first, with each recipient's state as the
// transmission goes on. Served as JSON (docs/device-protocol.md). Safe to use from the job port's
// threads, the sender and the HTTP servers at once.
class FaxLog {
public:
    // The log keeps this many jobs; the oldest finished ones go first.
    static constexpr std::size_t kMaximumJobs = 500;

    struct Recipient {
        int number = 0;
        std::string name;
        std::string faxNumber;
        std::string state = "waiting"; // waiting, dialing, sent, busy, no-answer, failed
        int tries = 0;
        std::string time; // of the last try, local "YYYY-MM-DDTHH:MM:SS"; empty before it
    };
    struct Job {
        faxjob::FaxTicket ticket; // the password is never served
        int pages = 0;
        std::string received;
        std::time_t sendAt = 0;       // the printer's time at which it goes out
        std::string state;            // delayed, sending, sent, failed
        bool passwordChecked = false; // a password came and it was the printer's code
        std::vector<Recipient> recipients;
    };

    // False when a job with that UUID is in the log already.
    bool add(Job job);
    // The job by the UUID's text with or without its "urn:uuid:" prefix.
    std::optional<Job> find(const std::string& uuid) const;
    void setJobState(const std::string& jobUuid, const std::string& state);
    void setRecipient(const std::string& jobUuid, int number, const std::string& state, int tries,
                      const std::string& time);

    std::string toJson() const;
    static std::string toJson(const Job& job);

private:
    Job* findLocked(const std::string& uuid);

    mutable std::mutex mutex_;
    std::vector<Job> jobs_; // oldest first
};

} // namespace vextel_sim
