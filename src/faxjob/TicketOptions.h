#pragma once

#include "FaxTicket.h"

#include <map>
#include <optional>
#include <string>

namespace faxjob {

// The fax PPD's option keywords the ticket carries; spelled as the PPD spells them.
inline constexpr char kImageQualityKeyword[] = "TKFaxImageQuality";
inline constexpr char kTransmissionReportKeyword[] = "TKFaxTransmissionReport";
inline constexpr char kCoverPageModeKeyword[] = "TKFaxCoverPageMode";
inline constexpr char kSenderModeKeyword[] = "TKFaxSenderMode";

// What the scheduler tells the driver about the job besides its options.
struct JobIdentity {
    int jobId = 0;
    std::string user;
    std::string title;
    std::string jobUuid;
};

// Turns a job's options (the fax dialog's print-settings entries and the PPD's marked choices,
// by name) into a fax ticket, checked. A job without the dialog's recipient entries, such as a
// plain lp to the fax queue, is refused with "no-recipients" rather than sent as a blank fax.
class TicketOptions {
public:
    using Options = std::map<std::string, std::string>;

    static std::optional<FaxTicket> read(const Options& options, const JobIdentity& job,
                                         TicketError* error);
};

} // namespace faxjob
