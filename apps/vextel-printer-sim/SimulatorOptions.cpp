#include "SimulatorOptions.h"

#include <charconv>
#include <string_view>
#include <utility>

namespace vextel_sim {

namespace {

constexpr std::pair<const char*, Fault> kFaults[] = {
    {"down", Fault::Down},
    {"slow", Fault::Slow},
    {"garbage", Fault::Garbage},
    {"truncated", Fault::Truncated},
    {"wrong-type", Fault::WrongType},
    {"oversized", Fault::Oversized},
    {"disconnect", Fault::Disconnect},
    {"busy", Fault::Busy},
    {"stale-nonce", Fault::StaleNonce},
    {"header-flood", Fault::HeaderFlood},
};

// The listen address when none is given: where a USB printer answers through the
// IPP-over-USB daemon, so the dialog's USB connection finds the simulator unchanged.
const ListenAddress kDefaultListen{"127.0.0.1", 60000};

std::optional<ListenAddress> parseListen(const std::string& text) {
    std::string host;
    std::string port;
    if (!text.empty() && text.front() == '[') {
        const std::size_t close = text.find("]:");
        if (close == std::string::npos)
            return std::nullopt;
        host = text.substr(1, close - 1);
        port = text.substr(close + 2);
    } else {
        const std::size_t colon = text.find(':');
        if (colon == std::string::npos || text.find(':', colon + 1) != std::string::npos)
            return std::nullopt;
        host = text.substr(0, colon);
        port = text.substr(colon + 1);
    }
    int number = -1;
    const auto [end, error] = std::from_chars(port.data(), port.data() + port.size(), number);
    if (host.empty() || port.empty() || error != std::errc() || end != port.data() + port.size() ||
        number < 0 || number > 65535)
        return std::nullopt;
    return ListenAddress{host, number};
}

std::optional<int> numberIn(std::string_view text, int low, int high) {
    int number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || number < low ||
        number > high)
        return std::nullopt;
    return number;
}

std::optional<int> minutesOfDay(const std::string& text) {
    if (text.size() != 5 || text[2] != ':')
        return std::nullopt;
    const auto hour = numberIn(std::string_view(text).substr(0, 2), 0, 23);
    const auto minute = numberIn(std::string_view(text).substr(3, 2), 0, 59);
    if (!hour || !minute)
        return std::nullopt;
    return *hour * 60 + *minute;
}

bool isCode(const std::string& text) {
    return text.size() == 4 && text.find_first_not_of("0123456789") == std::string::npos;
}

} // namespace

std::optional<Fault> SimulatorOptions::faultNamed(const std::string& name) {
    for (const auto& [word, fault] : kFaults)
        if (name == word)
            return fault;
    return std::nullopt;
}

std::optional<SimulatorOptions> SimulatorOptions::parse(const std::vector<std::string>& arguments,
                                                        std::string* error) {
    SimulatorOptions options;
    const auto refuse = [&](std::string message) {
        if (error)
            *error = std::move(message);
        return std::nullopt;
    };
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& option = arguments[i];
        if (option != "--book" && option != "--listen" && option != "--password" &&
            option != "--fault" && option != "--jobs-listen" && option != "--dial-plan" &&
            option != "--clock-start" && option != "--clock-speed")
            return refuse("unknown argument: " + option);
        if (i + 1 == arguments.size())
            return refuse(option + " needs a value");
        const std::string& value = arguments[++i];
        if (option == "--book") {
            options.bookPath = value;
        } else if (option == "--listen") {
            auto address = parseListen(value);
            if (!address)
                return refuse("--listen takes ADDRESS:PORT or [IPV6]:PORT: " + value);
            options.listen.push_back(*address);
        } else if (option == "--jobs-listen") {
            auto address = parseListen(value);
            if (!address)
                return refuse("--jobs-listen takes ADDRESS:PORT or [IPV6]:PORT: " + value);
            options.jobsListen.push_back(*address);
        } else if (option == "--dial-plan") {
            options.dialPlanPath = value;
        } else if (option == "--clock-start") {
            options.clockStart = minutesOfDay(value);
            if (!options.clockStart)
                return refuse("--clock-start takes HH:MM: " + value);
        } else if (option == "--clock-speed") {
            const auto speed = numberIn(value, 1, 3600);
            if (!speed)
                return refuse("--clock-speed takes a factor from 1 to 3600: " + value);
            options.clockSpeed = *speed;
        } else if (option == "--password") {
            if (!isCode(value))
                return refuse("--password takes a four-digit code");
            options.password = value;
        } else {
            auto fault = faultNamed(value);
            if (!fault)
                return refuse("unknown fault mode: " + value);
            options.fault = *fault;
        }
    }
    if (options.bookPath.empty())
        return refuse("--book FILE is required");
    if (options.listen.empty())
        options.listen.push_back(kDefaultListen);
    return options;
}

std::string SimulatorOptions::usage() {
    return "usage: vextel-printer-sim --book FILE [--listen ADDRESS:PORT]... [--password CODE]\n"
           "                          [--fault MODE] [--jobs-listen ADDRESS:PORT]...\n"
           "                          [--dial-plan FILE] [--clock-start HH:MM]\n"
           "                          [--clock-speed FACTOR]\n"
           "  --book FILE            the printer's address book: JSON (as the printer serves it)\n"
           "                         or vCard; a write from a client replaces it\n"
           "  --listen ADDRESS:PORT  numeric address to serve on, IPv6 as [::1]:PORT; port 0\n"
           "                         picks a free port (default 127.0.0.1:60000)\n"
           "  --password CODE        the four-digit code (default 0000)\n"
           "  --fault MODE           down, slow, garbage, truncated, wrong-type, oversized,\n"
           "                         disconnect, busy, stale-nonce or header-flood\n"
           "  --jobs-listen ADDRESS:PORT  the job port: takes fax jobs (docs/fax-job-format.md)\n"
           "  --dial-plan FILE       what each fax number answers (default: every one is sent)\n"
           "  --clock-start HH:MM    the printer's clock starts at this time of day\n"
           "  --clock-speed FACTOR   the printer's clock runs FACTOR times faster (1 to 3600)\n"
           "Prints each address it listens on, one a line (job ports as \"jobs ADDRESS:PORT\"),\n"
           "then serves until SIGTERM.\n";
}

} // namespace vextel_sim
