#pragma once

#include <optional>
#include <string>
#include <vector>

// The fax capture queue's backend. The scheduler runs it with the job's id, user, title, copies,
// options and (optionally) the document's file, and the device URI vextel-fax:/QUEUE in
// DEVICE_URI, QUEUE naming the real fax printer's queue. The job goes into the user's spool
// folder, where the desktop agent picks it up; nothing is sent to the fax printer from here.
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

// The real queue named by a device URI "vextel-fax:/QUEUE" (or "vextel-fax://QUEUE"); nullopt
// when the URI is of another scheme or the name is not a queue name.
std::optional<std::string> queueOfDeviceUri(const std::string& uri);

// Runs one job; arguments as the scheduler passes them (argv[1] on). Messages for the scheduler
// ("INFO: ...", "ERROR: ...") go to standard error.
int runJob(const std::vector<std::string>& arguments, const std::string& deviceUri);

} // namespace vextel_fax
