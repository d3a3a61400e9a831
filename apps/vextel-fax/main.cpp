// vextel-fax: the CUPS backend of the fax capture queue.
#include "CaptureBackend.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc == 1) {
        std::puts(vextel_fax::discoveryLine().c_str());
        return vextel_fax::kBackendOk;
    }
    if (argc < 6 || argc > 7) {
        std::fputs("ERROR: usage: vextel-fax job-id user title copies options [file]\n", stderr);
        return vextel_fax::kBackendFailed;
    }
    const char* uri = std::getenv("DEVICE_URI");
    return vextel_fax::runJob(std::vector<std::string>(argv + 1, argv + argc),
                              uri != nullptr ? uri : argv[0], vextel_fax::Safeguards::fromSystem());
}
