#include "PolicySetup.h"

#include "CaptureBackend.h"
#include "VextelFaxPolicy.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cups/cups.h>
#include <fcntl.h>
#include <memory>
#include <thread>
#include <unistd.h>

namespace vextel_fax {

namespace {

const char kBegin[] = "# ---- vextel-fax policy, kept by vextel-fax-setup: begin\n";
const char kEnd[] = "# ---- vextel-fax policy, kept by vextel-fax-setup: end\n";
const char kConfigurationResource[] = "/admin/conf/cupsd.conf";
// How long the scheduler may take to restart with the new configuration.
constexpr auto kRestartWait = std::chrono::seconds(60);

struct HttpCloser {
    void operator()(http_t* http) const { httpClose(http); }
};
using Connection = std::unique_ptr<http_t, HttpCloser>;

Connection connect(const std::string& server) {
    const char* host = server.empty() ? cupsServer() : server.c_str();
    return Connection(
        httpConnect2(host, ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, 30000, nullptr));
}

// A scratch file for the configuration's way in and out, removed when it goes.
class ScratchFile {
public:
    ScratchFile() {
        const char* folder = std::getenv("TMPDIR");
        path_ = std::string(folder != nullptr && *folder == '/' ? folder : "/tmp") +
                "/vextel-fax-setup-XXXXXX";
        fd_ = ::mkostemp(path_.data(), O_CLOEXEC);
    }
    ~ScratchFile() {
        if (fd_ >= 0) {
            ::close(fd_);
            ::unlink(path_.c_str());
        }
    }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;
    int fd() const { return fd_; }

    std::string contents() const {
        std::string text;
        char buffer[65536];
        ::lseek(fd_, 0, SEEK_SET);
        for (ssize_t got; (got = ::read(fd_, buffer, sizeof buffer)) > 0;) {
            text.append(buffer, static_cast<size_t>(got));
        }
        return text;
    }
    bool replace(const std::string& text) const {
        if (::ftruncate(fd_, 0) != 0 || ::lseek(fd_, 0, SEEK_SET) != 0) {
            return false;
        }
        return ::write(fd_, text.data(), text.size()) == static_cast<ssize_t>(text.size()) &&
               ::lseek(fd_, 0, SEEK_SET) == 0;
    }

private:
    std::string path_;
    int fd_ = -1;
};

bool setQueuePolicy(http_t* http, const std::string& queue) {
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(),
                     "/printers/%s", queue.c_str());
    ipp_t* request = ippNewRequest(IPP_OP_CUPS_ADD_MODIFY_PRINTER);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
                 cupsUser());
    ippAddString(request, IPP_TAG_PRINTER, IPP_TAG_NAME, "printer-op-policy", nullptr,
                 kQueuePolicy);
    ippDelete(cupsDoRequest(http, request, "/admin/"));
    return cupsLastError() <= IPP_STATUS_OK_CONFLICTING;
}

// Sets the policy on the queue, waiting for a scheduler that is restarting to know it.
bool setQueuePolicyWhenReady(const std::string& server, const std::string& queue,
                             std::string* error) {
    const auto deadline = std::chrono::steady_clock::now() + kRestartWait;
    for (;;) {
        if (Connection http = connect(server); http && setQueuePolicy(http.get(), queue)) {
            return true;
        }
        *error = cupsLastErrorString();
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(250));
    }
}

} // namespace

std::string PolicySetup::withPolicy(const std::string& configuration, const std::string& policy) {
    std::string kept = configuration;
    const size_t begin = kept.find(kBegin);
    const size_t end = begin == std::string::npos ? std::string::npos : kept.find(kEnd, begin);
    if (end != std::string::npos) {
        kept.erase(begin, end + sizeof kEnd - 1 - begin);
    } else if (!kept.empty() && kept.back() != '\n') {
        kept += '\n';
    }
    std::string block = kBegin + policy;
    if (!block.empty() && block.back() != '\n') {
        block += '\n';
    }
    block += kEnd;
    return kept.insert(begin != std::string::npos && end != std::string::npos ? begin : kept.size(),
                       block);
}

const std::string& PolicySetup::policy() {
    static const std::string text(kVextelFaxPolicy);
    return text;
}

int PolicySetup::run(const std::string& server, const std::vector<std::string>& queues,
                     std::ostream& output, std::ostream& errors) {
    Connection http = connect(server);
    ScratchFile scratch;
    if (!http || scratch.fd() < 0) {
        errors << "vextel-fax-setup: the scheduler cannot be reached" << std::endl;
        return 1;
    }
    if (cupsGetFd(http.get(), kConfigurationResource, scratch.fd()) != HTTP_STATUS_OK) {
        errors << "vextel-fax-setup: the scheduler's configuration cannot be read: "
               << cupsLastErrorString() << std::endl;
        return 1;
    }
    const std::string current = scratch.contents();
    const std::string wanted = withPolicy(current, policy());
    if (wanted != current) {
        if (!scratch.replace(wanted) ||
            cupsPutFd(http.get(), kConfigurationResource, scratch.fd()) != HTTP_STATUS_CREATED) {
            errors << "vextel-fax-setup: the scheduler's configuration cannot be written: "
                   << cupsLastErrorString() << std::endl;
            return 1;
        }
        output << "the policy \"" << kQueuePolicy << "\" was added; the scheduler restarts"
               << std::endl;
    }
    http.reset();
    for (const std::string& queue : queues) {
        std::string error;
        if (!setQueuePolicyWhenReady(server, queue, &error)) {
            errors << "vextel-fax-setup: " << queue << ": the policy cannot be set: " << error
                   << std::endl;
            return 1;
        }
        output << queue << ": jobs need a logged-in user; their attributes are their owner's alone"
               << std::endl;
    }
    return 0;
}

} // namespace vextel_fax
