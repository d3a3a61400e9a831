#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vextel_sim {

// The ways the simulated printer misbehaves (--fault), for tests of the client's failure paths.
enum class Fault {
    None,
    Down,        // accepts connections and closes them without a byte
    Slow,        // answers only after the client has given up
    Garbage,     // answers 200 with bytes that are not JSON
    Truncated,   // answers 200 with the JSON document cut in half
    WrongType,   // answers 200 with JSON whose members have the wrong types
    Oversized,   // answers 200 with a body over the client's size limit
    Disconnect,  // announces the whole body, sends half and closes the connection
    Busy,        // the status says "busy"
    StaleNonce,  // calls every nonce stale, however fresh
    HeaderFlood, // answers 200 with header lines that never end, until the client hangs up
};

// One address to listen on: a numeric host and a port (0: any free port).
struct ListenAddress {
    std::string host;
    int port = 0;
};

// What the command line asked of the simulator.
struct SimulatorOptions {
    std::string bookPath;              // --book FILE
    std::vector<ListenAddress> listen; // --listen ADDRESS:PORT, repeatable
    std::string password = "0000";     // --password CODE: four digits
    Fault fault = Fault::None;         // --fault MODE
    // The job port: fax jobs (docs/fax-job-format.md) are taken on each address.
    std::vector<ListenAddress> jobsListen; // --jobs-listen ADDRESS:PORT, repeatable
    std::string dialPlanPath;              // --dial-plan FILE; without one every number answers
    // The printer's clock: the time of day it starts at (minutes after midnight, absent: the
    // computer's local time) and how many times faster than real time it runs, so that tests
    // need not wait for a delayed send or a long transmission.
    std::optional<int> clockStart; // --clock-start HH:MM
    int clockSpeed = 1;            // --clock-speed FACTOR, 1 to 3600

    // Parses the arguments after the program name; nullopt with a message in *error when they
    // cannot be used.
    static std::optional<SimulatorOptions> parse(const std::vector<std::string>& arguments,
                                                 std::string* error);
    static std::string usage();
    // The --fault word for a mode, and back; absent for an unknown word.
    static std::optional<Fault> faultNamed(const std::string& name);
};

} // namespace vextel_sim
