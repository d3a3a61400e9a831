// vextel-fax-setup: the administrator's set-up of the fax queues (see PolicySetup.h).
#include "PolicySetup.h"

#include <cstring>
#include <iostream>

int main(int argc, char** argv) {
    std::string server;
    std::vector<std::string> queues;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--server") == 0 && i + 1 < argc) {
            server = argv[++i];
        } else if (argv[i][0] == '-') {
            queues.clear();
            break;
        } else {
            queues.emplace_back(argv[i]);
        }
    }
    if (queues.empty()) {
        std::cerr << "usage: vextel-fax-setup [--server SERVER] QUEUE...\n"
                     "  gives the fax printer's queue and its capture queue the scheduler policy\n"
                     "  \"vextel-fax\" (added to the scheduler's configuration when missing)\n";
        return 2;
    }
    return vextel_fax::PolicySetup::run(server, queues, std::cout, std::cerr);
}
