#include "LoopbackListener.h"

#include <arpa/inet.h>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <unistd.h>
#include <vector>

namespace xdirkit {

namespace {

constexpr const char* kListenState = "0A";

struct Address {
    bool v6 = false;
    unsigned char bytes[16] = {};
};

std::optional<Address> parseAddress(const std::string& host) {
    Address address;
    const std::string bare = host.substr(0, host.find('%'));
    if (inet_pton(AF_INET, bare.c_str(), address.bytes) == 1)
        return address;
    if (inet_pton(AF_INET6, bare.c_str(), address.bytes) != 1)
        return std::nullopt;
    // An IPv4-mapped address reaches the IPv4 listeners: it is taken as the IPv4 address.
    static const unsigned char kMappedPrefix[12] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xff, 0xff};
    if (std::memcmp(address.bytes, kMappedPrefix, 12) == 0) {
        std::memmove(address.bytes, address.bytes + 12, 4);
        std::memset(address.bytes + 4, 0, 12);
        return address;
    }
    address.v6 = true;
    return address;
}

// The kernel writes an address as its 32-bit words in the machine's byte order, each as eight
// upper-case hex digits.
std::string kernelForm(const unsigned char* bytes, std::size_t size) {
    std::string text;
    for (std::size_t i = 0; i < size; i += 4) {
        std::uint32_t word = 0;
        std::memcpy(&word, bytes + i, 4);
        char hex[9];
        std::snprintf(hex, sizeof hex, "%08X", word);
        text += hex;
    }
    return text;
}

std::string kernelForm(const Address& address) {
    return kernelForm(address.bytes, address.v6 ? 16 : 4);
}

Address mapped(const Address& v4) {
    Address v6;
    v6.v6 = true;
    v6.bytes[10] = v6.bytes[11] = 0xff;
    std::memcpy(v6.bytes + 12, v4.bytes, 4);
    return v6;
}

// The local addresses, in the kernel's form, whose listeners take a connection to the address.
struct Candidates {
    std::vector<std::string> tcp;
    std::vector<std::string> tcp6;
};

Candidates candidatesFor(const Address& address) {
    const Address any4{};
    Address any6{};
    any6.v6 = true;
    Candidates candidates;
    if (address.v6) {
        candidates.tcp6 = {kernelForm(address), kernelForm(any6)};
    } else {
        candidates.tcp = {kernelForm(address), kernelForm(any4)};
        candidates.tcp6 = {kernelForm(mapped(address)), kernelForm(any6)};
    }
    return candidates;
}

// Each line: "sl local rem st tx:rx tr:when retrnsmt uid ..."; local is "ADDRESS:PORT" in hex.
std::optional<uid_t> foreignOwnerIn(const std::string& path, const std::vector<std::string>& wanted,
                                    int port) {
    std::ifstream list(path);
    std::string line;
    std::getline(list, line); // the heading
    char portHex[8];
    std::snprintf(portHex, sizeof portHex, "%04X", static_cast<unsigned>(port));
    while (std::getline(list, line)) {
        std::istringstream fields(line);
        std::string slot, local, remote, state, queues, timer, retransmits;
        long long uid = -1;
        if (!(fields >> slot >> local >> remote >> state >> queues >> timer >> retransmits >> uid))
            continue;
        const std::size_t colon = local.find(':');
        if (state != kListenState || colon == std::string::npos ||
            local.compare(colon + 1, std::string::npos, portHex) != 0)
            continue;
        bool matches = false;
        for (const std::string& address : wanted)
            matches = matches || local.compare(0, colon, address) == 0;
        const auto owner = static_cast<uid_t>(uid);
        if (matches && uid >= 0 && owner != 0 && owner != geteuid())
            return owner;
    }
    return std::nullopt;
}

} // namespace

bool LoopbackListener::isLoopback(const std::string& host) {
    const auto address = parseAddress(host);
    if (!address)
        return false;
    if (!address->v6)
        return address->bytes[0] == 127;
    static const unsigned char kLoopback6[16] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1};
    return std::memcmp(address->bytes, kLoopback6, 16) == 0;
}

std::optional<uid_t> LoopbackListener::foreignOwner(const std::string& host, int port,
                                                    const std::string& procNet) {
    if (!isLoopback(host))
        return std::nullopt;
    const Candidates candidates = candidatesFor(*parseAddress(host));
    if (auto owner = foreignOwnerIn(procNet + "/tcp", candidates.tcp, port))
        return owner;
    return foreignOwnerIn(procNet + "/tcp6", candidates.tcp6, port);
}

} // namespace xdirkit
