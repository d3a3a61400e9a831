#include "vextelpde/AddressBookLibrary.h"

#include "vextelpde/XdirKitLibrary.h"

namespace tarvik_pde_m40vextel {

namespace {

AddressBookLibrary*& installedLibrary() {
    static AddressBookLibrary* library = nullptr;
    return library;
}

} // namespace

AddressBookLibrary& AddressBookLibrary::current() {
    if (AddressBookLibrary* library = installedLibrary()) {
        return *library;
    }
    static XdirKitLibrary real;
    return real;
}

AddressBookLibrary::Override::Override(AddressBookLibrary& library)
    : previous_(installedLibrary()) {
    installedLibrary() = &library;
}

AddressBookLibrary::Override::~Override() {
    installedLibrary() = previous_;
}

} // namespace tarvik_pde_m40vextel
