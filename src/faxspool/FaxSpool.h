#pragma once

#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

// The fax capture spool. Each user has one folder, <root>/<user>, owned by that user with mode
// 0700; the capture backend writes each captured job into it as a folder of its own, and the
// desktop agent reads, sends and removes it.
//
//   <root>/<user>/job-<UTC time>-<job id>/     one captured job, complete once it has this name
//       document.pdf    the document as the scheduler's filters made it
//       options         the job options as the scheduler passed them (name=value, blank-separated)
//       job             queue=, title=, user=, copies=, job-id=, server= (when another
//                       scheduler has the fax queue), one "key=value" per line
//   <root>/<user>/rejected-job-.../            a job the agent refused, kept for inspection,
//       reason          with one line on why
//
// A job folder is written under a hidden temporary name and renamed when every file is on disk,
// so a reader never sees half a job and a crash of either side loses nothing that was complete.
namespace faxspool {

// Where the users' folders live: $VEXTEL_FAX_SPOOL, else /var/spool/vextel-fax.
std::string spoolRoot();
// The folder of one user under the root.
std::string userFolder(const std::string& root, const std::string& user);

// Why the folder cannot be trusted with this user's jobs (it is not a folder, is a symbolic link,
// belongs to someone else, or others may write into it), or nullopt when it can.
std::optional<std::string> folderProblem(const std::string& folder, uid_t owner);

struct JobInfo {
    std::string queue; // the real fax queue the job goes to
    std::string title;
    std::string user;
    std::string jobId; // the capture queue's job id
    int copies = 1;
    std::string options; // job options as the scheduler passed them
    std::string server;  // the scheduler of the fax queue, HOST[:PORT]; empty: the user's own
};

struct CapturedJob {
    std::string folder; // full path of the job's folder
    JobInfo info;
    std::string documentPath() const { return folder + "/document.pdf"; }
};

// Writes one job into the folder atomically, the document read from documentFd until its end.
// Answers the new job folder, or nullopt with a reason in *error and errno telling why (nothing
// is left behind).
std::optional<std::string> writeJob(const std::string& folder, const JobInfo& info, int documentFd,
                                    std::string* error);

// The complete jobs waiting in the folder, oldest first (hidden, partial and rejected folders
// are not jobs).
std::vector<std::string> waitingJobs(const std::string& folder);

// Reads a job folder; nullopt with a reason when its description is missing or unreadable.
std::optional<CapturedJob> readJob(const std::string& jobFolder, std::string* error);

// True when the file starts as a PDF does.
bool looksLikePdf(const std::string& path);

// Removes a job folder and what it holds.
bool removeJob(const std::string& jobFolder, std::string* error);
// Renames the job folder to rejected-<name> with the reason beside the document, so it is kept for
// inspection and never offered again.
bool rejectJob(const std::string& jobFolder, const std::string& reason, std::string* error);

} // namespace faxspool
