#pragma once

namespace kit {

// Installs a driver (the seam through which tests and automation answer alerts, open panels,
// modal runs and service resolution) for the life of a scope, and puts back the driver it covered
// when it goes, so scopes nest. The driver class keeps the installed one in a slot of its own,
// `static Driver*& installed()`, defined in its .cpp so that the kit and every plugin share one
// slot, and lets this scope reach it.
template <class Driver> class DriverScope {
public:
    explicit DriverScope(Driver& driver) : previous_(Driver::installed()) {
        Driver::installed() = &driver;
    }
    ~DriverScope() { Driver::installed() = previous_; }
    DriverScope(const DriverScope&) = delete;
    DriverScope& operator=(const DriverScope&) = delete;

private:
    Driver* previous_;
};

} // namespace kit
