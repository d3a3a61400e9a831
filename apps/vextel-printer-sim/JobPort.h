#pragma once

#include "FaxLog.h"
#include "FaxSender.h"
#include "FaxTicket.h"
#include "SimulatorClock.h"
#include "SimulatorOptions.h"

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace vextel_sim {

// The printer's job port: takes fax jobs (docs/fax-job-format.md) on raw TCP connections, reads
// each whole, checks its ticket and document and the password against the printer's code, puts
// a sound job into the fax log and the sender's queue, and answers one line: ACCEPTED or
// REFUSED with a code and a reason. bind, then start; stop (or the destructor) closes the ports
// and waits for the connections being read.
class JobPort {
public:
    // A document is kept up to this size; a bigger one is read to its end and refused.
    static constexpr std::size_t kMaximumDocument = 64 * 1024 * 1024;
    // A sender that stops sending for this long is cut off.
    static constexpr int kReadTimeoutSeconds = 30;

    JobPort(const SimulatorOptions& options, FaxLog& log, FaxSender& sender,
            const SimulatorClock& clock);
    ~JobPort();
    JobPort(const JobPort&) = delete;
    JobPort& operator=(const JobPort&) = delete;

    // Binds every --jobs-listen address; false with one line in *error.
    bool bind(std::string* error);
    const std::vector<std::string>& addresses() const { return addresses_; }
    void start();
    void stop();

    // The answer line to a whole fax job as it arrived (header, ticket, document); the job goes
    // into the log and the queue when it is accepted.
    std::string take(const std::string& header, const std::string& ticket,
                     const std::string& document, bool documentTooLarge);

    // The pages of a PDF as its page objects count them; at least 1.
    static int pagesOf(const std::string& pdf);

private:
    void acceptLoop(int fd);
    void serve(int connection);
    bool passwordMatches(const std::string& scrambled) const;

    const SimulatorOptions& options_;
    FaxLog& log_;
    FaxSender& sender_;
    const SimulatorClock& clock_;
    std::vector<int> listeners_;
    std::vector<std::string> addresses_;
    std::vector<std::thread> acceptors_;
    std::mutex connectionsMutex_;
    std::vector<std::thread> connections_;
    std::atomic<bool> stopping_ = false;
};

} // namespace vextel_sim
