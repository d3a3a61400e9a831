#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

// The fax capture queue's backend. The scheduler runs it with the job's id, user, title, copies,
// options and (optionally) the document's file, and the device URI in DEVICE_URI:
// vextel-fax:/QUEUE, QUEUE naming the real fax printer's queue on this scheduler, or
// vextel-fax://SERVER/QUEUE for a queue on another scheduler (an office's print server). The job
// goes into the user's spool folder, where the desktop agent picks it up; nothing is sent to the
// fax printer from here.
namespace vextel_fax {

// The scheduler's backend exit statuses this backend answers.
enum BackendStatus {
    kBackendOk = 0,
    kBackendFailed = 1,
    kBackendHold = 3,   // a problem someone can mend (the spool folder): the job waits
    kBackendStop = 4,   // the queue is set up wrongly: the queue stops
    kBackendCancel = 5, // the job can never be delivered (no such user)
};

// The operation policy (vextel-fax-setup) under which the scheduler authenticates every job of
// the capture queue: only then is the job's user the person who really sent it.
inline constexpr char kQueuePolicy[] = "vextel-fax";

// What a job must pass before it reaches a desktop, and how long its writer may take.
struct Safeguards {
    // People's own accounts; the others (root, daemon, lp, nobody, ...) are system accounts,
    // whose jobs are refused: no desktop of theirs asked for a fax.
    uid_t firstUserId = 1000;
    uid_t lastUserId = 60000;
    // The writer runs as the job's user, who can stop it: past this, the job is held.
    std::chrono::milliseconds writerLimit = std::chrono::seconds(120);
    // The capture queue's operation policy as the scheduler reports it; nullopt with a reason
    // when it cannot be asked.
    std::function<std::optional<std::string>(std::string* error)> queuePolicy;

    // The system's: UID_MIN and UID_MAX of /etc/login.defs, the policy of the queue $PRINTER
    // asked from the scheduler at $CUPS_SERVER (both set by the scheduler that runs backends).
    static Safeguards fromSystem();
};

// The text with every control character as '?', safe for a one-line message to the scheduler.
std::string printable(const std::string& text);

// The discovery line `lpinfo -v` lists.
std::string discoveryLine();

// Where a capture queue's jobs go: the fax queue, and the scheduler that has it.
struct FaxTarget {
    std::string server; // HOST[:PORT]; empty: the scheduler that runs the backend
    std::string queue;
};

// The target named by a device URI "vextel-fax:/QUEUE" (or "vextel-fax://QUEUE"), or
// "vextel-fax://SERVER/QUEUE"; nullopt when the URI is of another scheme or the name is not a
// queue name.
std::optional<FaxTarget> targetOfDeviceUri(const std::string& uri);
// The queue of targetOfDeviceUri.
std::optional<std::string> queueOfDeviceUri(const std::string& uri);

// What the fax queue's scheduler says of the target queue.
enum class QueueState {
    Present,      // a queue the agent can send to
    Missing,      // the scheduler has no such queue
    CaptureQueue, // a queue on this backend: the job would come back here
    Unknown,      // the scheduler could not be asked (the agent tries again later)
};
using QueueLookup = std::function<QueueState(const FaxTarget&)>;
// Asks the target's scheduler over IPP.
QueueState lookUpQueue(const FaxTarget& target);

// Runs one job; arguments as the scheduler passes them (argv[1] on). Messages for the scheduler
// ("INFO: ...", "ERROR: ...") go to standard error. A target queue that the scheduler knows is
// missing, or is a capture queue itself, stops the capture queue with the reason: its jobs wait,
// and the job never shows as done. Then the safeguards: a capture queue without the policy
// stops, a job of a system account is cancelled, a writer past its time holds its job.
int runJob(const std::vector<std::string>& arguments, const std::string& deviceUri,
           const Safeguards& safeguards, const QueueLookup& lookUp = lookUpQueue);

} // namespace vextel_fax
