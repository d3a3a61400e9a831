#include "FaxDriver.h"

#include "FaxJobWire.h"

#include <cerrno>
#include <cups/cups.h>
#include <cups/ppd.h>
#include <fcntl.h>
#include <ostream>
#include <poll.h>
#include <unistd.h>
#include <vector>

namespace vextel_faxdriver {

namespace {

using faxjob::FaxJobWire;

constexpr std::size_t kCopyBuffer = 256 * 1024;
constexpr const char* kJobUuidOption = "job-uuid";

bool writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

// A reason from the printer or a job option goes into one message line and nothing else.
std::string printable(std::string text) {
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = ' ';
    return text;
}

} // namespace

FaxDriver::FaxDriver(DriverJob job, int input, int output, int backChannel, std::ostream& messages,
                     UuidLookup lookupUuid)
    : job_(std::move(job)), input_(input), output_(output), backChannel_(backChannel),
      messages_(messages), lookupUuid_(std::move(lookupUuid)) {}

faxjob::TicketOptions::Options FaxDriver::optionsWithPpdChoices(const std::string& options,
                                                                const std::string& ppdPath) {
    cups_option_t* parsed = nullptr;
    const int count = cupsParseOptions(options.c_str(), 0, &parsed);
    faxjob::TicketOptions::Options byName;
    for (int i = 0; i < count; ++i)
        byName[parsed[i].name] = parsed[i].value;
    ppd_file_t* ppd = ppdPath.empty() ? nullptr : ppdOpenFile(ppdPath.c_str());
    if (ppd != nullptr) {
        // The PPD's defaults stand for the choices a plain job did not name.
        ppdMarkDefaults(ppd);
        cupsMarkOptions(ppd, count, parsed);
        for (const char* keyword :
             {faxjob::kImageQualityKeyword, faxjob::kTransmissionReportKeyword,
              faxjob::kCoverPageModeKeyword, faxjob::kSenderModeKeyword}) {
            const ppd_choice_t* marked = ppdFindMarkedChoice(ppd, keyword);
            if (marked != nullptr)
                byName[keyword] = marked->choice;
        }
        ppdClose(ppd);
    }
    cupsFreeOptions(count, parsed);
    return byName;
}

int FaxDriver::run() {
    if (job_.deviceUri.rfind(kCaptureScheme, 0) == 0)
        return passThrough();

    const faxjob::TicketOptions::Options options =
        optionsWithPpdChoices(job_.options, job_.ppdPath);
    faxjob::JobIdentity identity{job_.jobId, job_.user, job_.title, {}};
    const auto uuid = options.find(kJobUuidOption);
    identity.jobUuid = uuid != options.end() ? uuid->second : lookupUuid_(job_.jobId);
    faxjob::TicketError refusal;
    const auto ticket = faxjob::TicketOptions::read(options, identity, &refusal);
    if (!ticket) {
        // The filter before this one is let finish, so that its messages come before the
        // reason and the job's state shows the reason.
        if (job_.documentPath.empty())
            drain(input_);
        error("Fax not sent: " + refusal.reason);
        return 1;
    }

    int document = input_;
    if (!job_.documentPath.empty()) {
        document = ::open(job_.documentPath.c_str(), O_RDONLY | O_CLOEXEC);
        if (document < 0) {
            error("Fax not sent: cannot read the document");
            return 1;
        }
    }
    const std::string framed = FaxJobWire::frame(*ticket);
    const bool written = writeAll(output_, framed.data(), framed.size()) && copyDocument(document);
    if (document != input_)
        ::close(document);
    if (!written) {
        error("Fax not sent: the job could not be written to the printer");
        return 1;
    }
    // The backend sends the end of the job only once every writer has let go of it.
    ::close(output_);
    messages_ << "INFO: Fax job for " << ticket->recipients.size()
              << " recipient(s) handed to the printer" << std::endl;

    const std::optional<std::string> line = readAnswer();
    const auto answer = line ? FaxJobWire::parseAnswer(*line) : std::nullopt;
    if (!answer) {
        // The job went out; whether the printer took it is for its fax log to say.
        messages_ << "WARNING: The printer did not confirm the fax job" << std::endl;
        return 0;
    }
    if (!answer->accepted) {
        error("The printer refused the fax: " + printable(answer->refusal.reason) + " (" +
              printable(answer->refusal.code) + ")");
        return 1;
    }
    messages_ << "INFO: The printer took the fax job" << std::endl;
    return 0;
}

int FaxDriver::passThrough() {
    int document = input_;
    if (!job_.documentPath.empty())
        document = ::open(job_.documentPath.c_str(), O_RDONLY | O_CLOEXEC);
    const bool copied = document >= 0 && copyDocument(document);
    if (document >= 0 && document != input_)
        ::close(document);
    if (!copied) {
        error("The document could not be passed on");
        return 1;
    }
    return 0;
}

void FaxDriver::drain(int from) {
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t got = ::read(from, buffer, sizeof buffer);
        if (got == 0 || (got < 0 && errno != EINTR))
            return;
    }
}

bool FaxDriver::copyDocument(int from) {
    std::vector<char> buffer(kCopyBuffer);
    for (;;) {
        const ssize_t got = ::read(from, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0)
            return true;
        if (!writeAll(output_, buffer.data(), static_cast<std::size_t>(got)))
            return false;
    }
}

std::optional<std::string> FaxDriver::readAnswer() {
    if (backChannel_ < 0)
        return std::nullopt;
    std::string line;
    const auto deadline = std::chrono::steady_clock::now() + kAnswerTimeout;
    while (line.find('\n') == std::string::npos && line.size() < 4096) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            break;
        pollfd waiting{backChannel_, POLLIN, 0};
        const int ready = ::poll(&waiting, 1, static_cast<int>(left.count()));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            break;
        char buffer[512];
        const ssize_t got = ::read(backChannel_, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        line.append(buffer, static_cast<std::size_t>(got));
    }
    if (line.empty())
        return std::nullopt;
    return line.substr(0, line.find('\n'));
}

void FaxDriver::error(const std::string& text) {
    messages_ << "ERROR: " << printable(text) << std::endl;
}

} // namespace vextel_faxdriver
