// vextel-faxdriver: the fax queue's CUPS filter. Arguments as the scheduler gives every filter:
// job-id user title copies options [file].
#include "FaxDriver.h"

#include <cstdlib>
#include <cups/cups.h>
#include <fcntl.h>
#include <iostream>
#include <string>

namespace {

// The back channel the scheduler gives every filter: the backend writes what the printer said.
constexpr int kBackChannel = 3;

const char* environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// The job's UUID from the scheduler (the filter runs as an unprivileged user, so it asks).
std::string askJobUuid(int jobId) {
    ipp_t* request = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
    const std::string uri = "ipp://localhost/jobs/" + std::to_string(jobId);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri.c_str());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
                 cupsUser());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr,
                 "job-uuid");
    ipp_t* response = cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/");
    std::string uuid;
    if (ipp_attribute_t* attribute = ippFindAttribute(response, "job-uuid", IPP_TAG_URI))
        uuid = ippGetString(attribute, 0, nullptr);
    ippDelete(response);
    return uuid;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 6 || argc > 7) {
        std::cerr << "Usage: vextel-faxdriver job-id user title copies options [file]\n";
        return 1;
    }
    vextel_faxdriver::DriverJob job;
    job.jobId = std::atoi(argv[1]);
    job.user = argv[2];
    job.title = argv[3];
    job.options = argv[5];
    if (argc == 7)
        job.documentPath = argv[6];
    job.deviceUri = environment("DEVICE_URI");
    job.ppdPath = environment("PPD");
    const int backChannel = fcntl(kBackChannel, F_GETFD) >= 0 ? kBackChannel : -1;
    vextel_faxdriver::FaxDriver driver(std::move(job), 0, 1, backChannel, std::cerr, askJobUuid);
    return driver.run();
}
