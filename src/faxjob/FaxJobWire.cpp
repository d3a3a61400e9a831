#include "FaxJobWire.h"

#include <charconv>

namespace faxjob {

namespace {

constexpr std::string_view kAccepted = "ACCEPTED ";
constexpr std::string_view kRefused = "REFUSED ";

std::string_view withoutNewline(std::string_view line) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.remove_suffix(1);
    return line;
}

// One line: a reason must not end the answer early or add a line of its own.
std::string oneLine(std::string text) {
    for (char& c : text)
        if (c == '\n' || c == '\r')
            c = ' ';
    return text;
}

} // namespace

std::string FaxJobWire::frame(const FaxTicket& ticket) {
    const std::string json = ticket.toJson();
    std::string framed(kMagic);
    framed += ' ' + std::to_string(FaxTicket::kVersion) + ' ' + std::to_string(json.size()) + '\n';
    framed += json;
    return framed;
}

std::optional<std::size_t> FaxJobWire::parseHeader(std::string_view line, TicketError* error) {
    const auto fail = [&](const char* code, std::string reason) -> std::optional<std::size_t> {
        if (error)
            *error = TicketError{code, std::move(reason)};
        return std::nullopt;
    };
    line = withoutNewline(line);
    if (line.substr(0, kMagic.size()) != kMagic || line.size() <= kMagic.size() ||
        line[kMagic.size()] != ' ')
        return fail("bad-header", "not a fax job");
    line.remove_prefix(kMagic.size() + 1);
    const std::size_t space = line.find(' ');
    if (space == std::string_view::npos)
        return fail("bad-header", "the header has no ticket length");
    int version = 0;
    const std::string_view versionText = line.substr(0, space);
    const auto parsedVersion =
        std::from_chars(versionText.data(), versionText.data() + versionText.size(), version);
    if (parsedVersion.ec != std::errc() ||
        parsedVersion.ptr != versionText.data() + versionText.size())
        return fail("bad-header", "the header's version is not a number");
    if (version != FaxTicket::kVersion)
        return fail("unsupported-version",
                    "fax job version " + std::string(versionText) + " is not known");
    const std::string_view lengthText = line.substr(space + 1);
    std::size_t length = 0;
    const auto parsedLength =
        std::from_chars(lengthText.data(), lengthText.data() + lengthText.size(), length);
    if (lengthText.empty() || parsedLength.ec != std::errc() ||
        parsedLength.ptr != lengthText.data() + lengthText.size() || length == 0)
        return fail("bad-header", "the ticket length is not a number");
    if (length > kMaximumTicket)
        return fail("bad-header", "the ticket is over 64 KiB");
    return length;
}

std::string FaxJobWire::accepted(const std::string& jobUuid) {
    return std::string(kAccepted) + oneLine(jobUuid) + '\n';
}

std::string FaxJobWire::refused(const TicketError& error) {
    return std::string(kRefused) + oneLine(error.code) + ' ' + oneLine(error.reason) + '\n';
}

std::optional<FaxJobWire::Answer> FaxJobWire::parseAnswer(std::string_view line) {
    line = withoutNewline(line);
    Answer answer;
    if (line.substr(0, kAccepted.size()) == kAccepted) {
        answer.accepted = true;
        answer.jobUuid = std::string(line.substr(kAccepted.size()));
        return answer;
    }
    if (line.substr(0, kRefused.size()) != kRefused)
        return std::nullopt;
    line.remove_prefix(kRefused.size());
    const std::size_t space = line.find(' ');
    answer.refusal.code = std::string(line.substr(0, space));
    if (space != std::string_view::npos)
        answer.refusal.reason = std::string(line.substr(space + 1));
    if (answer.refusal.code.empty())
        return std::nullopt;
    return answer;
}

} // namespace faxjob
