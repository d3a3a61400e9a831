// vextel-printer-sim: serves the printer's address-book protocol from a book file, and with
// --jobs-listen takes fax jobs and keeps their log, until SIGTERM.
#include "DialPlan.h"
#include "FaxLog.h"
#include "FaxSender.h"
#include "JobPort.h"
#include "PrinterSimulator.h"
#include "SimulatorClock.h"
#include "SimulatorOptions.h"
#include "StoredBook.h"

#include <csignal>
#include <cstdio>
#include <iostream>
#include <pthread.h>

int main(int argc, char** argv) {
    using namespace vextel_sim;
    std::string error;
    const auto options =
        SimulatorOptions::parse(std::vector<std::string>(argv + 1, argv + argc), &error);
    if (!options) {
        std::cerr << "vextel-printer-sim: " << error << "\n" << SimulatorOptions::usage();
        return 2;
    }
    std::vector<std::string> warnings;
    auto book = StoredBook::load(options->bookPath, &error, &warnings);
    for (const std::string& warning : warnings)
        std::cerr << "vextel-printer-sim: " << warning << "\n";
    if (!book) {
        std::cerr << "vextel-printer-sim: " << error << "\n";
        return 1;
    }

    DialPlan plan;
    if (!options->dialPlanPath.empty()) {
        auto loaded = DialPlan::load(options->dialPlanPath, &error);
        if (!loaded) {
            std::cerr << "vextel-printer-sim: " << error << "\n";
            return 2;
        }
        plan = std::move(*loaded);
    }

    // Every thread started from here on inherits the mask, so only sigwait below sees the stop.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    const SimulatorClock clock(options->clockStart, options->clockSpeed);
    FaxLog faxLog;
    FaxSender sender(faxLog, std::move(plan), clock);
    JobPort jobPort(*options, faxLog, sender, clock);
    PrinterSimulator simulator(*options, std::move(*book), &faxLog);
    if (!simulator.bind(&error) || !jobPort.bind(&error)) {
        std::cerr << "vextel-printer-sim: " << error << "\n";
        return 1;
    }
    sender.start();
    simulator.start();
    jobPort.start();
    for (const std::string& address : simulator.addresses())
        std::cout << address << "\n";
    for (const std::string& address : jobPort.addresses())
        std::cout << "jobs " << address << "\n";
    std::cout.flush();

    int received = 0;
    sigwait(&stopSignals, &received);
    jobPort.stop();
    simulator.stop();
    sender.stop();
    return 0;
}
