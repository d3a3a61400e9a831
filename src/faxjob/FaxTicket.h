#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace faxjob {

// Why a ticket cannot be used: a short code the printer answers with (docs/fax-job-format.md
// lists them) and one line for a person.
struct TicketError {
    std::string code;
    std::string reason;
};

// One recipient as the job numbers them (from 1, in the dialog's order).
struct FaxRecipient {
    int number = 0;
    std::string name; // may be empty
    std::string faxNumber;

    bool operator==(const FaxRecipient&) const = default;
};

// The job ticket of a fax job (docs/fax-job-format.md, version 1): everything the printer needs
// to send the document that follows it. Written by the driver, read and checked by the printer.
struct FaxTicket {
    static constexpr int kVersion = 1;
    static constexpr int kMaximumRecipients = 30;
    static constexpr std::size_t kMaximumNameLength = 32;
    static constexpr std::size_t kMaximumFaxNumberLength = 50;
    static constexpr std::size_t kMaximumSenderNameLength = 30;

    int version = kVersion;
    std::string jobUuid; // the scheduler's job UUID, "urn:uuid:..."
    int jobId = 0;
    std::string user;
    std::string title;
    std::vector<FaxRecipient> recipients;
    std::string senderMode; // PPD choice of TKFaxSenderMode
    std::string senderName; // the cover page's sender name; may be empty
    std::string coverPage;  // PPD choice of TKFaxCoverPageMode
    std::string imageQuality;
    std::string transmissionReport;
    bool delayedSend = false;
    std::string delayedTime; // HH:mm, as the dialog wrote it (also when delayedSend is off)
    std::string password;    // scrambled, exactly as the print settings carry it; empty for none
    std::string documentFormat = "application/pdf";

    bool operator==(const FaxTicket&) const = default;

    std::string toJson() const;
    // The ticket of a JSON text, checked; nullopt with the reason in *error.
    static std::optional<FaxTicket> fromJson(std::string_view text, TicketError* error);
    // The first rule the ticket breaks, or nullopt when it is sound.
    std::optional<TicketError> check() const;
};

} // namespace faxjob
