#include "FaxTicket.h"

#include "xsplib/xspenclib.h"

#include <algorithm>
#include <nlohmann/json.hpp>

namespace faxjob {

namespace {

using nlohmann::json;

// The choices the printer knows, as the fax PPD names them.
const std::vector<std::string> kSenderModes{"EnterName", "LoginName", "Printer"};
const std::vector<std::string> kCoverPages{"None", "Standard", "Detailed"};
const std::vector<std::string> kImageQualities{"Standard", "Fine", "SuperFine", "Photo"};
const std::vector<std::string> kTransmissionReports{"Always", "OnError", "Never"};

bool isPrintableAscii(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c <= 0x7E; });
}

bool isDialable(const std::string& number) {
    return !number.empty() && number.size() <= FaxTicket::kMaximumFaxNumberLength &&
           number.find_first_not_of("0123456789#*-:=") == std::string::npos;
}

bool isTimeOfDay(const std::string& text) {
    if (text.size() != 5 || text[2] != ':')
        return false;
    for (int at : {0, 1, 3, 4})
        if (text[at] < '0' || text[at] > '9')
            return false;
    const int hour = (text[0] - '0') * 10 + (text[1] - '0');
    const int minute = (text[3] - '0') * 10 + (text[4] - '0');
    return hour < 24 && minute < 60;
}

bool isScrambledPassword(const std::string& text) {
    if (text.empty())
        return true;
    unsigned char plain[64];
    int32_t length = 0;
    if (XspB64ToBin(text.c_str(), static_cast<int32_t>(text.size()), plain, &length,
                    sizeof plain) != 0)
        return false;
    return length >= 1 && length <= 4;
}

bool isOneOf(const std::string& value, const std::vector<std::string>& choices) {
    return std::find(choices.begin(), choices.end(), value) != choices.end();
}

std::optional<TicketError> refuse(const char* code, std::string reason) {
    return TicketError{code, std::move(reason)};
}

std::optional<TicketError> checkRecipients(const std::vector<FaxRecipient>& recipients) {
    if (recipients.empty())
        return refuse("no-recipients", "the job has no recipients");
    if (recipients.size() > static_cast<std::size_t>(FaxTicket::kMaximumRecipients))
        return refuse("too-many-recipients", "more than 30 recipients");
    for (std::size_t i = 0; i < recipients.size(); ++i) {
        const FaxRecipient& recipient = recipients[i];
        const std::string which = "recipient " + std::to_string(i + 1);
        if (recipient.number != static_cast<int>(i + 1))
            return refuse("bad-recipient",
                          which + " is numbered " + std::to_string(recipient.number));
        if (recipient.name.size() > FaxTicket::kMaximumNameLength ||
            !isPrintableAscii(recipient.name))
            return refuse("bad-recipient",
                          which + ": a name is at most 32 printable ASCII characters");
        if (!isDialable(recipient.faxNumber))
            return refuse("bad-recipient", which + ": a fax number is 1 to 50 of 0-9 # * - : =");
    }
    return std::nullopt;
}

template <typename T> bool take(const json& object, const char* key, T* into, bool required) {
    const auto found = object.find(key);
    if (found == object.end())
        return !required;
    try {
        *into = found->get<T>();
        return true;
    } catch (const json::exception&) {
        return false;
    }
}

} // namespace

std::string FaxTicket::toJson() const {
    json recipientList = json::array();
    for (const FaxRecipient& recipient : recipients)
        recipientList.push_back({{"number", recipient.number},
                                 {"name", recipient.name},
                                 {"faxNumber", recipient.faxNumber}});
    const json ticket{{"version", version},
                      {"jobUuid", jobUuid},
                      {"jobId", jobId},
                      {"user", user},
                      {"title", title},
                      {"recipients", std::move(recipientList)},
                      {"senderMode", senderMode},
                      {"senderName", senderName},
                      {"coverPage", coverPage},
                      {"imageQuality", imageQuality},
                      {"transmissionReport", transmissionReport},
                      {"delayedSend", delayedSend},
                      {"delayedTime", delayedTime},
                      {"password", password},
                      {"documentFormat", documentFormat}};
    // Replacement characters for bytes that are not UTF-8 (a title from another system) rather
    // than an exception.
    return ticket.dump(-1, ' ', false, json::error_handler_t::replace);
}

std::optional<FaxTicket> FaxTicket::fromJson(std::string_view text, TicketError* error) {
    const json document = json::parse(text, nullptr, false);
    const auto fail = [&](const char* code, std::string reason) -> std::optional<FaxTicket> {
        if (error)
            *error = TicketError{code, std::move(reason)};
        return std::nullopt;
    };
    if (document.is_discarded() || !document.is_object())
        return fail("bad-ticket", "the ticket is not a JSON object");
    FaxTicket ticket;
    if (!take(document, "version", &ticket.version, true))
        return fail("bad-ticket", "the ticket has no version");
    if (ticket.version != kVersion)
        return fail("unsupported-version",
                    "ticket version " + std::to_string(ticket.version) + " is not known");
    const auto recipients = document.find("recipients");
    if (recipients == document.end() || !recipients->is_array())
        return fail("bad-ticket", "recipients must be an array");
    for (const json& entry : *recipients) {
        FaxRecipient recipient;
        if (!entry.is_object() || !take(entry, "number", &recipient.number, true) ||
            !take(entry, "name", &recipient.name, true) ||
            !take(entry, "faxNumber", &recipient.faxNumber, true))
            return fail("bad-ticket", "a recipient needs a number, a name and a faxNumber");
        ticket.recipients.push_back(std::move(recipient));
    }
    const bool typesRight =
        take(document, "jobUuid", &ticket.jobUuid, true) &&
        take(document, "jobId", &ticket.jobId, false) &&
        take(document, "user", &ticket.user, false) &&
        take(document, "title", &ticket.title, false) &&
        take(document, "senderMode", &ticket.senderMode, true) &&
        take(document, "senderName", &ticket.senderName, true) &&
        take(document, "coverPage", &ticket.coverPage, true) &&
        take(document, "imageQuality", &ticket.imageQuality, true) &&
        take(document, "transmissionReport", &ticket.transmissionReport, true) &&
        take(document, "delayedSend", &ticket.delayedSend, true) &&
        take(document, "delayedTime", &ticket.delayedTime, true) &&
        take(document, "password", &ticket.password, true) &&
        take(document, "documentFormat", &ticket.documentFormat, true);
    if (!typesRight)
        return fail("bad-ticket", "a member is missing or has the wrong type");
    if (auto broken = ticket.check()) {
        if (error)
            *error = std::move(*broken);
        return std::nullopt;
    }
    return ticket;
}

std::optional<TicketError> FaxTicket::check() const {
    if (version != kVersion)
        return refuse("unsupported-version",
                      "ticket version " + std::to_string(version) + " is not known");
    if (jobUuid.rfind("urn:uuid:", 0) != 0 || jobUuid.size() > 64 || !isPrintableAscii(jobUuid))
        return refuse("bad-ticket", "jobUuid must be a urn:uuid: URI");
    if (auto broken = checkRecipients(recipients))
        return broken;
    if (!isOneOf(senderMode, kSenderModes))
        return refuse("bad-option", "unknown sender mode \"" + senderMode + "\"");
    if (senderName.size() > kMaximumSenderNameLength || !isPrintableAscii(senderName))
        return refuse("bad-option", "a sender name is at most 30 printable ASCII characters");
    if (!isOneOf(coverPage, kCoverPages))
        return refuse("bad-option", "unknown cover page mode \"" + coverPage + "\"");
    if (!isOneOf(imageQuality, kImageQualities))
        return refuse("bad-option", "unknown image quality \"" + imageQuality + "\"");
    if (!isOneOf(transmissionReport, kTransmissionReports))
        return refuse("bad-option", "unknown transmission report \"" + transmissionReport + "\"");
    if (!(delayedTime.empty() && !delayedSend) && !isTimeOfDay(delayedTime))
        return refuse("bad-time", "the delayed time must be HH:mm");
    if (!isScrambledPassword(password))
        return refuse("bad-password", "the password is not a scrambled password");
    if (documentFormat != "application/pdf")
        return refuse("bad-document", "the document must be application/pdf");
    return std::nullopt;
}

} // namespace faxjob
