#include "UtilityFunctions.h"
#include "UtilityFunctionsSupport.h"
#include "kit/Resolver.h"

#include <arpa/inet.h>
#include <climits>
#include <cstdio>
#include <cstring>
#include <net/if.h>
#include <netdb.h>
#include <netinet/in.h>

namespace tarvik_pde_m40vextel {

namespace {

using utility_detail::printDiagnostic;

bool isLinkLocal(const in6_addr& address) {
    return address.s6_addr[0] == 0xFE && (address.s6_addr[1] & 0xC0) == 0x80;
}

bool isNumericAddress(const char* host) {
    unsigned char address[sizeof(in6_addr)];
    return inet_pton(AF_INET, host, address) == 1 || inet_pton(AF_INET6, host, address) == 1;
}

socklen_t boundedSocklen(size_t size) {
    return size > static_cast<size_t>(INT_MAX) ? static_cast<socklen_t>(INT_MAX)
                                               : static_cast<socklen_t>(size);
}

// Writes the IPv6 address, with "%" and the interface name when it is link-local, its scope
// names an interface, and the whole fits; false when the address itself cannot be written.
bool writeIPv6Address(const sockaddr_in6& address, char* output, size_t outputSize) {
    if (inet_ntop(AF_INET6, &address.sin6_addr, output, boundedSocklen(outputSize)) == nullptr) {
        return false;
    }
    char interfaceName[IF_NAMESIZE] = {};
    if (isLinkLocal(address.sin6_addr) &&
        kit::Resolver::current().interfaceName(address.sin6_scope_id, interfaceName) != nullptr) {
        const size_t length = std::strlen(output);
        if (length + 1 + std::strlen(interfaceName) + 1 <= outputSize) {
            std::snprintf(output + length, outputSize - length, "%%%s", interfaceName);
        }
    }
    return true;
}

} // namespace

int CopyResolvedIPAddress(const char* host, char* output, size_t outputSize) {
    if (host == nullptr || output == nullptr || outputSize == 0) {
        return 1;
    }
    if (isNumericAddress(host)) {
        std::snprintf(output, outputSize, "%s", host);
        return 0;
    }
    const kit::Resolver& resolver = kit::Resolver::current();
    addrinfo* list = nullptr;
    if (resolver.getAddressInfo(host, &list) != 0) {
        printDiagnostic("CopyResolvedIPAddress - getaddrinfo failed.");
        return 1;
    }
    for (const addrinfo* entry = list; entry != nullptr; entry = entry->ai_next) {
        if (entry->ai_family == AF_INET && entry->ai_addr != nullptr) {
            const auto* address = reinterpret_cast<const sockaddr_in*>(entry->ai_addr);
            if (inet_ntop(AF_INET, &address->sin_addr, output, boundedSocklen(outputSize)) !=
                nullptr) {
                break;
            }
            printDiagnostic("CopyResolvedIPAddress - inet_ntop-IPv4 error.");
        } else if (entry->ai_family == AF_INET6 && entry->ai_addr != nullptr) {
            if (writeIPv6Address(*reinterpret_cast<const sockaddr_in6*>(entry->ai_addr), output,
                                 outputSize)) {
                break;
            }
        } else {
            // The same text as for an IPv4 failure, on purpose: tools that read the log match it.
            printDiagnostic("CopyResolvedIPAddress - inet_ntop-IPv4 error.");
        }
    }
    resolver.freeAddressInfo(list);
    return 0;
}

} // namespace tarvik_pde_m40vextel
