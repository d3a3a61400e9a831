// vextel-printer-sim: serves the printer's address-book protocol from a book file until SIGTERM.
#include "PrinterSimulator.h"
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

    // Every thread started from here on inherits the mask, so only sigwait below sees the stop.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    PrinterSimulator simulator(*options, std::move(*book));
    if (!simulator.bind(&error)) {
        std::cerr << "vextel-printer-sim: " << error << "\n";
        return 1;
    }
    simulator.start();
    for (const std::string& address : simulator.addresses())
        std::cout << address << "\n";
    std::cout.flush();

    int received = 0;
    sigwait(&stopSignals, &received);
    simulator.stop();
    return 0;
}
