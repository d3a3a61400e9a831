#include "kit/Resolver.h"

#include <net/if.h>
#include <netdb.h>

namespace kit {

namespace {

Resolver::Override* currentOverride = nullptr;

} // namespace

Resolver::~Resolver() = default;

int Resolver::getAddressInfo(const char* host, addrinfo** result) const {
    return getaddrinfo(host, nullptr, nullptr, result);
}

void Resolver::freeAddressInfo(addrinfo* list) const {
    if (list != nullptr) {
        freeaddrinfo(list);
    }
}

char* Resolver::interfaceName(unsigned int index, char* name) const {
    return if_indextoname(index, name);
}

const Resolver& Resolver::current() {
    static const Resolver system;
    return currentOverride != nullptr ? currentOverride->replacement : system;
}

Resolver::Override::Override(const Resolver& replacement)
    : outer(currentOverride), replacement(replacement) {
    currentOverride = this;
}

Resolver::Override::~Override() {
    currentOverride = outer;
}

} // namespace kit
