#include "kit/Environment.h"

#include <QDir>
#include <sys/utsname.h>

namespace kit {

namespace {

Environment::KernelReleaseOverride* kernelReleaseOverride = nullptr;
Environment::HomeDirectoryOverride* homeDirectoryOverride = nullptr;
Environment::ClockOverride* clockOverride = nullptr;

int32_t minorVersion = -1;
int32_t osVersion = -1;
int32_t isSandbox = -1;

} // namespace

std::optional<QString> Environment::kernelRelease() {
    if (kernelReleaseOverride != nullptr) {
        return kernelReleaseOverride->release_;
    }
    utsname names{};
    if (uname(&names) != 0) {
        return std::nullopt;
    }
    return QString::fromLocal8Bit(names.release);
}

QString Environment::homeDirectory() {
    if (homeDirectoryOverride != nullptr) {
        return homeDirectoryOverride->home_;
    }
    return QDir::homePath();
}

QDateTime Environment::now() {
    if (clockOverride != nullptr) {
        return clockOverride->current_;
    }
    return QDateTime::currentDateTime();
}

int32_t& Environment::minorVersionCache() {
    return minorVersion;
}
int32_t& Environment::osVersionCache() {
    return osVersion;
}
int32_t& Environment::sandboxCache() {
    return isSandbox;
}

void Environment::resetCachesForTesting() {
    minorVersion = -1;
    osVersion = -1;
    isSandbox = -1;
}

Environment::KernelReleaseOverride::KernelReleaseOverride(std::optional<QString> release)
    : outer_(kernelReleaseOverride), release_(std::move(release)) {
    kernelReleaseOverride = this;
}

Environment::KernelReleaseOverride::~KernelReleaseOverride() {
    kernelReleaseOverride = outer_;
}

Environment::HomeDirectoryOverride::HomeDirectoryOverride(QString home)
    : outer_(homeDirectoryOverride), home_(std::move(home)) {
    homeDirectoryOverride = this;
}

Environment::HomeDirectoryOverride::~HomeDirectoryOverride() {
    homeDirectoryOverride = outer_;
}

Environment::ClockOverride::ClockOverride(QDateTime now)
    : outer_(clockOverride), current_(std::move(now)) {
    clockOverride = this;
}

Environment::ClockOverride::~ClockOverride() {
    clockOverride = outer_;
}

} // namespace kit
