#pragma once

#include "FaxTicket.h"

#include <optional>
#include <string>
#include <string_view>

namespace faxjob {

// The framing of a fax job on the printer's job port and the printer's one-line answer
// (docs/fax-job-format.md): a header line "VEXTEL-FAX-JOB 1 <ticket bytes>", the ticket, then
// the document up to the end of the stream.
class FaxJobWire {
public:
    static constexpr std::string_view kMagic = "VEXTEL-FAX-JOB";
    // A header line is at most this long, its newline included.
    static constexpr std::size_t kMaximumHeaderLine = 64;
    static constexpr std::size_t kMaximumTicket = 64 * 1024;

    // The header line and the ticket: what goes before the document.
    static std::string frame(const FaxTicket& ticket);

    // The ticket length a header line announces (without its newline); nullopt with the reason
    // when it is not a version 1 header.
    static std::optional<std::size_t> parseHeader(std::string_view line, TicketError* error);

    // The printer's answer lines, newline included.
    static std::string accepted(const std::string& jobUuid);
    static std::string refused(const TicketError& error);

    // The printer's answer as read back (with or without its newline).
    struct Answer {
        bool accepted = false;
        std::string jobUuid; // when accepted
        TicketError refusal; // when refused
    };
    // Nullopt for a line that is no answer of the format.
    static std::optional<Answer> parseAnswer(std::string_view line);
};

} // namespace faxjob
