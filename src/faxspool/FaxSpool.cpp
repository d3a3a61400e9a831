#include "faxspool/FaxSpool.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace faxspool {

namespace {

const char kDefaultRoot[] = "/var/spool/vextel-fax";
const char kJobPrefix[] = "job-";
const char kRejectedPrefix[] = "rejected-";
const char kDocumentName[] = "document.pdf";
const char kOptionsName[] = "options";
const char kDescriptionName[] = "job";

std::string errnoText(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

bool writeAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        data += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

// Creates the file, writes it through and syncs it; the file is new, never an existing one.
bool writeFile(const std::string& path, const std::string& text, std::string* error) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        *error = errnoText(path);
        return false;
    }
    const bool ok = writeAll(fd, text.data(), text.size()) && ::fsync(fd) == 0;
    if (!ok) {
        *error = errnoText(path);
    }
    ::close(fd);
    return ok;
}

bool copyStream(int from, const std::string& path, std::string* error) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        *error = errnoText(path);
        return false;
    }
    char buffer[65536];
    bool ok = true;
    for (;;) {
        const ssize_t got = ::read(from, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            *error = errnoText("reading the document");
            ok = false;
            break;
        }
        if (got == 0) {
            break;
        }
        if (!writeAll(fd, buffer, static_cast<size_t>(got))) {
            *error = errnoText(path);
            ok = false;
            break;
        }
    }
    if (ok && ::fsync(fd) != 0) {
        *error = errnoText(path);
        ok = false;
    }
    ::close(fd);
    return ok;
}

bool syncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

// A value on one line: line breaks would start a key of their own.
std::string oneLine(std::string value) {
    std::replace(value.begin(), value.end(), '\n', ' ');
    std::replace(value.begin(), value.end(), '\r', ' ');
    return value;
}

std::string describe(const JobInfo& info) {
    std::ostringstream text;
    text << "queue=" << oneLine(info.queue) << '\n'
         << "title=" << oneLine(info.title) << '\n'
         << "user=" << oneLine(info.user) << '\n'
         << "job-id=" << oneLine(info.jobId) << '\n'
         << "copies=" << info.copies << '\n';
    if (!info.server.empty()) {
        text << "server=" << oneLine(info.server) << '\n';
    }
    return text.str();
}

// A name that sorts in the order the jobs came: UTC time, then the scheduler's job id.
std::string jobFolderName(const JobInfo& info) {
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    gmtime_r(&now, &utc);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%dT%H%M%SZ", &utc);
    std::string id;
    for (const char c : info.jobId) {
        if (std::isalnum(static_cast<unsigned char>(c))) {
            id += c;
        }
    }
    return std::string(kJobPrefix) + stamp + "-" + (id.empty() ? "0" : id);
}

bool startsWith(const std::string& text, const char* prefix) {
    return text.rfind(prefix, 0) == 0;
}

std::string readText(const std::string& path, bool* ok) {
    std::ifstream in(path, std::ios::binary);
    *ok = static_cast<bool>(in);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

std::string spoolRoot() {
    const char* configured = std::getenv("VEXTEL_FAX_SPOOL");
    return configured != nullptr && *configured != '\0' ? configured : kDefaultRoot;
}

std::string userFolder(const std::string& root, const std::string& user) {
    return root + "/" + user;
}

std::optional<std::string> folderProblem(const std::string& folder, uid_t owner) {
    struct stat info {};
    if (::lstat(folder.c_str(), &info) != 0) {
        return errnoText(folder);
    }
    if (S_ISLNK(info.st_mode)) {
        return folder + " is a symbolic link";
    }
    if (!S_ISDIR(info.st_mode)) {
        return folder + " is not a folder";
    }
    if (info.st_uid != owner) {
        return folder + " belongs to user id " + std::to_string(info.st_uid) + ", not " +
               std::to_string(owner);
    }
    if ((info.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
        return folder + " may be written by other users (mode " +
               std::to_string((info.st_mode >> 6) & 7) + std::to_string((info.st_mode >> 3) & 7) +
               std::to_string(info.st_mode & 7) + ")";
    }
    return std::nullopt;
}

std::optional<std::string> writeJob(const std::string& folder, const JobInfo& info, int documentFd,
                                    std::string* error) {
    std::string partial = folder + "/.partial-XXXXXX";
    if (::mkdtemp(partial.data()) == nullptr) {
        *error = errnoText(folder);
        return std::nullopt;
    }
    const std::string target = folder + "/" + jobFolderName(info);
    const bool written = copyStream(documentFd, partial + "/" + kDocumentName, error) &&
                         writeFile(partial + "/" + kOptionsName, info.options, error) &&
                         writeFile(partial + "/" + kDescriptionName, describe(info), error) &&
                         syncFolder(partial);
    if (!written || ::rename(partial.c_str(), target.c_str()) != 0) {
        if (written) {
            *error = errnoText(target);
        }
        // The caller tells a full disk from other failures by errno.
        const int failure = errno;
        std::error_code ignored;
        std::filesystem::remove_all(partial, ignored);
        errno = failure;
        return std::nullopt;
    }
    syncFolder(folder);
    return target;
}

std::vector<std::string> waitingJobs(const std::string& folder) {
    std::vector<std::string> jobs;
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        return jobs;
    }
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (startsWith(name, kJobPrefix)) {
            const std::string path = folder + "/" + name;
            struct stat info {};
            if (::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
                jobs.push_back(path);
            }
        }
    }
    ::closedir(dir);
    std::sort(jobs.begin(), jobs.end());
    return jobs;
}

std::optional<CapturedJob> readJob(const std::string& jobFolder, std::string* error) {
    bool ok = false;
    const std::string description = readText(jobFolder + "/" + kDescriptionName, &ok);
    if (!ok) {
        *error = jobFolder + ": the job description is missing";
        return std::nullopt;
    }
    CapturedJob job;
    job.folder = jobFolder;
    std::istringstream lines(description);
    for (std::string line; std::getline(lines, line);) {
        const size_t equals = line.find('=');
        if (equals == std::string::npos) {
            continue;
        }
        const std::string key = line.substr(0, equals);
        const std::string value = line.substr(equals + 1);
        if (key == "queue") {
            job.info.queue = value;
        } else if (key == "title") {
            job.info.title = value;
        } else if (key == "user") {
            job.info.user = value;
        } else if (key == "job-id") {
            job.info.jobId = value;
        } else if (key == "server") {
            job.info.server = value;
        } else if (key == "copies") {
            job.info.copies = std::max(1, std::atoi(value.c_str()));
        }
    }
    if (job.info.queue.empty()) {
        *error = jobFolder + ": the job names no fax queue";
        return std::nullopt;
    }
    job.info.options = readText(jobFolder + "/" + kOptionsName, &ok);
    return job;
}

bool looksLikePdf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    char head[5] = {};
    return in.read(head, sizeof head) && std::memcmp(head, "%PDF-", sizeof head) == 0;
}

bool removeJob(const std::string& jobFolder, std::string* error) {
    std::error_code failure;
    std::filesystem::remove_all(jobFolder, failure);
    if (failure) {
        *error = jobFolder + ": " + failure.message();
        return false;
    }
    return true;
}

bool rejectJob(const std::string& jobFolder, const std::string& reason, std::string* error) {
    const std::filesystem::path path(jobFolder);
    const std::string target =
        (path.parent_path() / (kRejectedPrefix + path.filename().string())).string();
    std::string ignored;
    writeFile(jobFolder + "/reason", reason + "\n", &ignored);
    if (::rename(jobFolder.c_str(), target.c_str()) != 0) {
        *error = errnoText(target);
        return false;
    }
    return true;
}

} // namespace faxspool
