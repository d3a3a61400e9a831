#include "TicketOptions.h"

#include "JobParameterNames.h"

#include <charconv>

namespace faxjob {

namespace {

using namespace tarvik_pde_m40vextel;

std::string parameterKey(JobParameter parameter) {
    return std::string(kJobParameterPrefix) + parameter.name;
}

std::string parameterKey(JobParameter parameter, int number) {
    return parameterKey(parameter) + std::to_string(number);
}

const std::string* find(const TicketOptions::Options& options, const std::string& key) {
    const auto found = options.find(key);
    return found == options.end() ? nullptr : &found->second;
}

std::string valueOr(const TicketOptions::Options& options, const std::string& key,
                    std::string fallback = {}) {
    const std::string* value = find(options, key);
    return value ? *value : fallback;
}

std::optional<int> countOf(const std::string& text) {
    int count = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), count);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return count;
}

} // namespace

std::optional<FaxTicket> TicketOptions::read(const Options& options, const JobIdentity& job,
                                             TicketError* error) {
    const auto fail = [&](const char* code, std::string reason) -> std::optional<FaxTicket> {
        if (error)
            *error = TicketError{code, std::move(reason)};
        return std::nullopt;
    };
    const std::string* countText = find(options, parameterKey(kVTelDestinationNumber));
    if (countText == nullptr)
        return fail("no-recipients", "the job has no fax recipients: it did not come through "
                                     "the fax dialog, so nothing was sent");
    const std::optional<int> count = countOf(*countText);
    if (!count || *count < 1 || *count > FaxTicket::kMaximumRecipients)
        return fail("bad-recipient",
                    "the number of recipients \"" + *countText + "\" is not 1 to 30");

    FaxTicket ticket;
    ticket.jobUuid = job.jobUuid;
    ticket.jobId = job.jobId;
    ticket.user = job.user;
    ticket.title = job.title;
    for (int number = 1; number <= *count; ++number) {
        const std::string* name = find(options, parameterKey(kVTelDestinationName, number));
        const std::string* fax = find(options, parameterKey(kVTelDestinationPhoneNumber, number));
        if (fax == nullptr)
            return fail("bad-recipient",
                        "recipient " + std::to_string(number) + " has no fax number");
        ticket.recipients.push_back({number, name ? *name : std::string(), *fax});
    }
    ticket.senderMode = valueOr(options, kSenderModeKeyword);
    ticket.senderName = valueOr(options, parameterKey(kVTelCoverSenderName));
    ticket.coverPage = valueOr(options, kCoverPageModeKeyword);
    ticket.imageQuality = valueOr(options, kImageQualityKeyword);
    ticket.transmissionReport = valueOr(options, kTransmissionReportKeyword);
    ticket.delayedSend = valueOr(options, parameterKey(kVTelDelayedPrint), "0") == "1";
    ticket.delayedTime = valueOr(options, parameterKey(kVTelDelayedTime));
    ticket.password = valueOr(options, parameterKey(kVTelPassword));
    if (auto broken = ticket.check())
        return fail(broken->code.c_str(), std::move(broken->reason));
    return ticket;
}

} // namespace faxjob
