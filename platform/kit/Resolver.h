#pragma once

#include "kit/ScopedOverride.h"

struct addrinfo;

namespace kit {

// Name resolution (getaddrinfo) and interface names (if_indextoname). Replaceable in tests by a
// subclass installed with an Override, so a test can hand out address lists of its own (scoped
// link-local addresses among them).
class Resolver {
public:
    virtual ~Resolver();

    // getaddrinfo(host, no service, no hints): 0 and a list in *result, else an EAI_ code.
    // A list obtained here goes back through freeAddressInfo of the same resolver.
    virtual int getAddressInfo(const char* host, addrinfo** result) const;
    virtual void freeAddressInfo(addrinfo* list) const;
    // if_indextoname: the interface's name written into name (IF_NAMESIZE bytes) and returned,
    // or null when no interface has that index.
    virtual char* interfaceName(unsigned int index, char* name) const;

    static const Resolver& current();

    class Override : public ScopedOverride<Resolver> {
    public:
        explicit Override(const Resolver& replacement);
    };
};

} // namespace kit
