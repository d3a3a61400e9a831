#pragma once

#include <QByteArray>
#include <QtGlobal>

namespace vextel_test {

// Sets (or, with a null value, unsets) an environment variable for one scope and restores what
// was there before, also when an assertion leaves the test early.
class EnvironmentScope {
public:
    EnvironmentScope(const char* name, const QByteArray& value)
        : name_(name), saved_(qgetenv(name)), wasSet_(qEnvironmentVariableIsSet(name)) {
        set(value);
    }
    ~EnvironmentScope() { set(wasSet_ ? saved_ : QByteArray()); }
    EnvironmentScope(const EnvironmentScope&) = delete;
    EnvironmentScope& operator=(const EnvironmentScope&) = delete;

    void set(const QByteArray& value) {
        if (value.isNull()) {
            qunsetenv(name_);
        } else {
            qputenv(name_, value);
        }
    }

private:
    const char* name_;
    QByteArray saved_;
    bool wasSet_;
};

} // namespace vextel_test
