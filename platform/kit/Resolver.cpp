#include "kit/Resolver.h"

#include <net/if.h>
#include <netdb.h>

namespace kit {

namespace {

ScopedOverride<Resolver>* innermostOverride = nullptr;

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
    return ScopedOverride<Resolver>::serviceOr(innermostOverride, system);
}

Resolver::Override::Override(const Resolver& replacement)
    : ScopedOverride(replacement, innermostOverride) {}

} // namespace kit
