#pragma once

#include "FaxTicket.h"
#include "TicketOptions.h"

#include <chrono>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>

namespace vextel_faxdriver {

// What the scheduler hands the driver: the filter's arguments and environment.
struct DriverJob {
    int jobId = 0;
    std::string user;
    std::string title;
    std::string options;      // argv[5], as the scheduler writes it
    std::string documentPath; // argv[6]; empty: the document comes on standard input
    std::string deviceUri;    // DEVICE_URI
    std::string ppdPath;      // PPD; empty without one
};

// The fax queue's driver (a CUPS filter): reads the job's fax entries and the document and writes
// the printer's fax job (docs/fax-job-format.md), which the scheduler's socket backend carries to
// the printer's job port; then waits for the printer's answer on the back channel. A job that
// cannot become a fax (no recipients, a broken entry) or that the printer refuses ends with an
// "ERROR:" line naming the reason, which the scheduler shows as the job's state, and a failing
// exit status. A job for the fax capture queue (a vextel-fax: device) is passed on unchanged:
// its backend hands the PDF to the user's desktop, which sends it here again with its entries.
class FaxDriver {
public:
    static constexpr std::chrono::seconds kAnswerTimeout{60};
    static constexpr const char* kCaptureScheme = "vextel-fax:";

    // Asks the scheduler for a job's UUID when the options do not carry it; empty when it
    // cannot be had.
    using UuidLookup = std::function<std::string(int jobId)>;

    // Reads from input, writes to output; backChannel is the descriptor the printer's answer
    // arrives on (-1: none). Messages for the scheduler go to messages, one line each.
    FaxDriver(DriverJob job, int input, int output, int backChannel, std::ostream& messages,
              UuidLookup lookupUuid);

    // The filter's exit status: 0 when the job went out (and was not refused), 1 otherwise.
    int run();

    // The job's options with the PPD's marked choices for the fax keywords the job does not set.
    static faxjob::TicketOptions::Options optionsWithPpdChoices(const std::string& options,
                                                                const std::string& ppdPath);

private:
    int passThrough();
    bool copyDocument(int from);
    // Reads the input to its end, keeping nothing.
    static void drain(int from);
    // The printer's answer line; nullopt when none came.
    std::optional<std::string> readAnswer();
    void error(const std::string& text);

    DriverJob job_;
    int input_;
    int output_;
    int backChannel_;
    std::ostream& messages_;
    UuidLookup lookupUuid_;
};

} // namespace vextel_faxdriver
