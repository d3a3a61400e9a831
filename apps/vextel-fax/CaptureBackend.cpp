#include "CaptureBackend.h"

#include "faxspool/FaxSpool.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cups/cups.h>
#include <fcntl.h>
#include <fstream>
#include <grp.h>
#include <pwd.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace vextel_fax {

namespace {

const char kScheme[] = "vextel-fax:";

void tell(const char* level, const std::string& message) {
    std::fprintf(stderr, "%s: vextel-fax: %s\n", level, message.c_str());
}

// Queue names as the scheduler accepts them: printable, no blank, slash, "#" or quote.
bool isQueueName(const std::string& name) {
    if (name.empty() || name.size() > 127) {
        return false;
    }
    for (const unsigned char c : name) {
        if (c <= ' ' || c == 127 || c == '/' || c == '#' || c == '\\' || c == '\'' || c == '"') {
            return false;
        }
    }
    return true;
}

struct User {
    std::string name;
    uid_t uid;
    gid_t gid;
};

// A number of /etc/login.defs ("UID_MIN 1000"), or the fallback.
uid_t loginDefinition(const std::string& name, uid_t fallback) {
    std::ifstream file("/etc/login.defs");
    for (std::string line; std::getline(file, line);) {
        std::istringstream words(line);
        std::string key;
        unsigned long value = 0;
        if (words >> key && key == name && words >> value) {
            return static_cast<uid_t>(value);
        }
    }
    return fallback;
}

// The printer-op-policy of the queue, asked from the scheduler that runs the backend.
std::optional<std::string> schedulerQueuePolicy(std::string* error) {
    const char* queue = std::getenv("PRINTER");
    if (queue == nullptr || *queue == '\0') {
        *error = "no queue named in PRINTER";
        return std::nullopt;
    }
    http_t* http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                                30000, nullptr);
    if (http == nullptr) {
        *error = "the scheduler cannot be reached";
        return std::nullopt;
    }
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(),
                     "/printers/%s", queue);
    ipp_t* request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr,
                 "printer-op-policy");
    ipp_t* response = cupsDoRequest(http, request, "/");
    std::optional<std::string> policy;
    ipp_attribute_t* found = response != nullptr
                                 ? ippFindAttribute(response, "printer-op-policy", IPP_TAG_NAME)
                                 : nullptr;
    if (found != nullptr) {
        policy = ippGetString(found, 0, nullptr);
    } else {
        *error =
            std::string("the scheduler did not tell the queue's policy: ") + cupsLastErrorString();
    }
    ippDelete(response);
    httpClose(http);
    return policy;
}

// Why the scheduler's user name cannot be trusted to be the person who sent the job; nullopt
// when it can.
std::optional<std::string> untrustedSender(const Safeguards& safeguards) {
    std::string error;
    const auto policy =
        safeguards.queuePolicy ? safeguards.queuePolicy(&error) : std::optional<std::string>();
    if (!policy) {
        return "the capture queue's policy cannot be checked (" + error + ")";
    }
    if (*policy != kQueuePolicy) {
        return "the capture queue lets anyone send jobs in another user's name (its policy is \"" +
               printable(*policy) + "\", not \"" + kQueuePolicy +
               "\"); an administrator runs vextel-fax-setup for it";
    }
    return std::nullopt;
}

bool isSystemAccount(uid_t uid, const Safeguards& safeguards) {
    return uid < safeguards.firstUserId || uid > safeguards.lastUserId;
}

std::optional<User> findUser(const std::string& name) {
    errno = 0;
    const passwd* entry = ::getpwnam(name.c_str());
    if (entry == nullptr) {
        return std::nullopt;
    }
    return User{entry->pw_name, entry->pw_uid, entry->pw_gid};
}

// The spool root: made when missing; refused when others may write into it, since they could
// then put a folder of their own in place of a user's.
std::optional<std::string> prepareRoot(const std::string& root) {
    if (::mkdir(root.c_str(), 0755) == 0) {
        // The scheduler runs backends with umask 077; the users must be able to walk in.
        ::chmod(root.c_str(), 0755);
    } else if (errno != EEXIST) {
        return root + ": " + std::strerror(errno);
    }
    return faxspool::folderProblem(root, ::geteuid());
}

// The user's folder: made for the user when missing, then it must be theirs alone.
std::optional<std::string> prepareUserFolder(const std::string& folder, const User& user) {
    if (::mkdir(folder.c_str(), 0700) == 0) {
        if (::lchown(folder.c_str(), user.uid, user.gid) != 0) {
            return folder + ": " + std::strerror(errno);
        }
    } else if (errno != EEXIST) {
        return folder + ": " + std::strerror(errno);
    }
    return faxspool::folderProblem(folder, user.uid);
}

// The writer's exit status, waiting at most limit: the writer runs as the job's user, who may
// stop it, and the capture queue must not wait for that. A writer past its time is killed and
// the job held (what it wrote stays hidden in the user's folder, where the agent ignores it).
int waitForWriter(pid_t child, const User& user, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    int status = 0;
    for (;;) {
        const pid_t done = ::waitpid(child, &status, WNOHANG);
        if (done == child) {
            return WIFEXITED(status) ? WEXITSTATUS(status) : kBackendFailed;
        }
        if (done < 0 && errno != EINTR) {
            return kBackendFailed;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ::kill(child, SIGKILL);
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.1f", static_cast<double>(limit.count()) / 1000.0);
    tell("ERROR", "the job's writer, run as " + user.name + ", did not finish within " + seconds +
                      " s; job held");
    return kBackendHold;
}

// Writes the job as the user, so nothing in the user's folder is ever touched with the
// scheduler's rights.
int writeAsUser(const std::string& folder, const faxspool::JobInfo& info, int documentFd,
                const User& user, std::chrono::milliseconds limit) {
    const pid_t child = ::fork();
    if (child < 0) {
        tell("ERROR", std::string("cannot start the writer: ") + std::strerror(errno));
        return kBackendFailed;
    }
    if (child == 0) {
        if (::geteuid() != user.uid) {
            const bool dropped =
                ::setgroups(0, nullptr) == 0 && ::setgid(user.gid) == 0 && ::setuid(user.uid) == 0;
            if (!dropped) {
                tell("ERROR",
                     std::string("cannot act as ") + user.name + ": " + std::strerror(errno));
                ::_exit(kBackendFailed);
            }
        }
        std::string error;
        const auto written = faxspool::writeJob(folder, info, documentFd, &error);
        if (!written) {
            // A full disk or quota is mended by someone: the job waits for it.
            const bool full = errno == ENOSPC || errno == EDQUOT;
            tell("ERROR", "the job could not be put into the spool folder: " + error +
                              (full ? "; job held" : ""));
            ::_exit(full ? kBackendHold : kBackendFailed);
        }
        tell("INFO", "job waits for " + user.name + " in " + *written);
        ::_exit(kBackendOk);
    }
    return waitForWriter(child, user, limit);
}

} // namespace

Safeguards Safeguards::fromSystem() {
    Safeguards safeguards;
    safeguards.firstUserId = loginDefinition("UID_MIN", safeguards.firstUserId);
    safeguards.lastUserId = loginDefinition("UID_MAX", safeguards.lastUserId);
    safeguards.queuePolicy = schedulerQueuePolicy;
    return safeguards;
}

std::string printable(const std::string& text) {
    std::string shown = text;
    for (char& c : shown) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f) {
            c = '?';
        }
    }
    return shown;
}

std::string discoveryLine() {
    return "direct vextel-fax \"Unknown\" \"Vextel fax: send from the desktop\"";
}

std::optional<FaxTarget> targetOfDeviceUri(const std::string& uri) {
    if (uri.rfind(kScheme, 0) != 0) {
        return std::nullopt;
    }
    std::string rest = uri.substr(sizeof kScheme - 1);
    FaxTarget target;
    if (rest.rfind("//", 0) == 0 && rest.find('/', 2) != std::string::npos) {
        const size_t slash = rest.find('/', 2);
        target.server = rest.substr(2, slash - 2);
        rest = rest.substr(slash + 1);
        // An empty server ("vextel-fax:///QUEUE") is this scheduler.
        if (target.server.find_first_of(" \t/#?@") != std::string::npos) {
            return std::nullopt;
        }
    }
    while (!rest.empty() && rest.front() == '/') {
        rest.erase(rest.begin());
    }
    if (!isQueueName(rest)) {
        return std::nullopt;
    }
    target.queue = rest;
    return target;
}

std::optional<std::string> queueOfDeviceUri(const std::string& uri) {
    const auto target = targetOfDeviceUri(uri);
    return target ? std::optional(target->queue) : std::nullopt;
}

QueueState lookUpQueue(const FaxTarget& target) {
    std::string host = target.server.empty() ? cupsServer() : target.server;
    int port = ippPort();
    // HOST:PORT; a socket path or a bracketed IPv6 address without a port stays whole.
    const size_t colon = host.rfind(':');
    if (host.front() != '/' && colon != std::string::npos && colon + 1 < host.size() &&
        std::all_of(host.begin() + static_cast<long>(colon) + 1, host.end(),
                    [](unsigned char c) { return std::isdigit(c) != 0; })) {
        port = std::atoi(host.c_str() + colon + 1);
        host.erase(colon);
    }
    http_t* http = httpConnect2(host.c_str(), port, nullptr, AF_UNSPEC,
                                HTTP_ENCRYPTION_IF_REQUESTED, 1, 10000, nullptr);
    if (http == nullptr) {
        return QueueState::Unknown;
    }
    char printerUri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, printerUri, sizeof printerUri, "ipp", nullptr,
                     "localhost", 0, "/printers/%s", target.queue.c_str());
    ipp_t* request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, printerUri);
    static const char* const kWanted[] = {"device-uri", "printer-name"};
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", 2, nullptr,
                  kWanted);
    ipp_t* response = cupsDoRequest(http, request, "/");
    const ipp_status_t status = cupsLastError();
    QueueState state = QueueState::Unknown;
    if (status == IPP_STATUS_ERROR_NOT_FOUND) {
        state = QueueState::Missing;
    } else if (response != nullptr && status <= IPP_STATUS_OK_EVENTS_COMPLETE) {
        // The device URI is shown to the scheduler's administrators only (root on this one).
        ipp_attribute_t* device = ippFindAttribute(response, "device-uri", IPP_TAG_URI);
        const char* value = device != nullptr ? ippGetString(device, 0, nullptr) : nullptr;
        state = value != nullptr && std::strncmp(value, kScheme, sizeof kScheme - 1) == 0
                    ? QueueState::CaptureQueue
                    : QueueState::Present;
    }
    ippDelete(response);
    httpClose(http);
    return state;
}

int runJob(const std::vector<std::string>& arguments, const std::string& deviceUri,
           const Safeguards& safeguards, const QueueLookup& lookUp) {
    const auto target = targetOfDeviceUri(deviceUri);
    if (!target) {
        tell("ERROR", "the device URI must be vextel-fax:/QUEUE or vextel-fax://SERVER/QUEUE "
                      "naming the fax printer's queue, not \"" +
                          printable(deviceUri) + "\"");
        return kBackendStop;
    }
    const std::string where = target->server.empty() ? "this scheduler" : target->server;
    switch (lookUp(*target)) {
    case QueueState::Missing:
        tell("ERROR", "the fax queue \"" + target->queue + "\" does not exist on " + where +
                          "; the device URI must name the fax printer's queue");
        return kBackendStop;
    case QueueState::CaptureQueue:
        tell("ERROR", "the queue \"" + target->queue + "\" on " + where +
                          " is a fax capture queue itself; the device URI must name the fax "
                          "printer's queue");
        return kBackendStop;
    case QueueState::Present:
    case QueueState::Unknown:
        break;
    }
    if (const auto problem = untrustedSender(safeguards)) {
        tell("ERROR", *problem + "; queue stopped");
        return kBackendStop;
    }
    const auto user = findUser(arguments.at(1));
    if (!user) {
        tell("ERROR", "no user \"" + printable(arguments.at(1)) +
                          "\" on this system, so no desktop can send the fax; job cancelled");
        return kBackendCancel;
    }
    if (isSystemAccount(user->uid, safeguards)) {
        tell("ERROR", "\"" + user->name +
                          "\" is a system account, with no desktop of its own to send the fax "
                          "from; job cancelled");
        return kBackendCancel;
    }
    const std::string root = faxspool::spoolRoot();
    const std::string folder = faxspool::userFolder(root, user->name);
    auto problem = prepareRoot(root);
    if (!problem) {
        problem = prepareUserFolder(folder, *user);
    }
    if (problem) {
        tell("ERROR", "the spool folder is refused: " + *problem + "; job held");
        return kBackendHold;
    }

    int documentFd = STDIN_FILENO;
    if (arguments.size() == 6) {
        documentFd = ::open(arguments.at(5).c_str(), O_RDONLY | O_CLOEXEC);
        if (documentFd < 0) {
            tell("ERROR",
                 "cannot read the document " + arguments.at(5) + ": " + std::strerror(errno));
            return kBackendFailed;
        }
    }
    faxspool::JobInfo info;
    info.jobId = arguments.at(0);
    info.user = user->name;
    info.title = arguments.at(2);
    info.copies = std::max(1, std::atoi(arguments.at(3).c_str()));
    info.options = arguments.at(4);
    info.queue = target->queue;
    info.server = target->server;
    const int status = writeAsUser(folder, info, documentFd, *user, safeguards.writerLimit);
    if (documentFd != STDIN_FILENO) {
        ::close(documentFd);
    }
    return status;
}

} // namespace vextel_fax
