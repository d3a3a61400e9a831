#pragma once

#include <QDateTime>
#include <QString>
#include <cstdint>
#include <optional>

namespace kit {

// The host environment as the process sees it: the kernel release, the home directory and the
// clock, each replaceable in tests through an override object; and the process-wide caches of
// the values derived from them, which start unknown (-1) and are kept for the process life.
class Environment {
public:
    // The kernel release text (uname's release, such as "6.1.0-18-amd64"); none when it cannot
    // be read.
    static std::optional<QString> kernelRelease();
    // The home directory of the process ($HOME, else the user database's entry).
    static QString homeDirectory();
    static QDateTime now();

    // Process-wide caches of derived values; -1 means not known yet.
    static int32_t& minorVersionCache();
    static int32_t& osVersionCache();
    static int32_t& sandboxCache();
    // Forgets the three caches. For tests only: the product keeps them for the process life.
    static void resetCachesForTesting();

    // While one exists, kernelRelease answers its value (none: the read fails). Overrides nest;
    // the innermost one answers and the previous answer returns when it goes.
    class KernelReleaseOverride {
    public:
        explicit KernelReleaseOverride(std::optional<QString> release);
        ~KernelReleaseOverride();
        KernelReleaseOverride(const KernelReleaseOverride&) = delete;
        KernelReleaseOverride& operator=(const KernelReleaseOverride&) = delete;

    private:
        friend class Environment;
        KernelReleaseOverride* outer_;
        std::optional<QString> release_;
    };

    class HomeDirectoryOverride {
    public:
        explicit HomeDirectoryOverride(QString home);
        ~HomeDirectoryOverride();
        HomeDirectoryOverride(const HomeDirectoryOverride&) = delete;
        HomeDirectoryOverride& operator=(const HomeDirectoryOverride&) = delete;

    private:
        friend class Environment;
        HomeDirectoryOverride* outer_;
        QString home_;
    };

    class ClockOverride {
    public:
        explicit ClockOverride(QDateTime now);
        ~ClockOverride();
        ClockOverride(const ClockOverride&) = delete;
        ClockOverride& operator=(const ClockOverride&) = delete;

        void setNow(const QDateTime& time) { current_ = time; }

    private:
        friend class Environment;
        ClockOverride* outer_;
        QDateTime current_;
    };
};

} // namespace kit
