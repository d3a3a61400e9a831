#pragma once

#include <optional>
#include <string>
#include <sys/types.h>

namespace xdirkit {

// Who holds the socket a connection to a loopback endpoint would reach. On loopback any local
// user may listen on a port nobody holds, or on the same port of the other address family, and
// a client that sends a Digest exchange there hands over what recovers the printer's code.
// The kernel's socket lists (/proc/net/tcp and tcp6) tell the owner of each listening socket;
// where they cannot be read (another network namespace, a mount without them) nothing can be
// told and nothing is refused.
class LoopbackListener {
public:
    // "127.0.0.0/8" or "::1" (with or without a zone), or their IPv4-mapped form.
    static bool isLoopback(const std::string& host);

    // The user id of a listening socket that could take a connection to host:port (the address
    // itself, its IPv4-mapped form or a wildcard address) and belongs neither to root (system
    // services) nor to the calling user. Absent when there is none or host is not loopback.
    // procNet: the folder holding the "tcp" and "tcp6" lists.
    static std::optional<uid_t> foreignOwner(const std::string& host, int port,
                                             const std::string& procNet = "/proc/net");
};

} // namespace xdirkit
