#pragma once

#include <functional>
#include <optional>
#include <string>
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
// and the job never shows as done.
int runJob(const std::vector<std::string>& arguments, const std::string& deviceUri,
           const QueueLookup& lookUp = lookUpQueue);

} // namespace vextel_fax
