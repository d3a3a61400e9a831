#pragma once

#include <QString>
#include <QStringList>

namespace kit {

// One-line diagnostic records to the system log (syslog, facility user). There are no levels:
// every record is written at LOG_NOTICE. Line breaks inside a message are folded into blanks so
// that a record always stays one line.
class SystemLog {
public:
    static void log(const QString& message);

    // While a Capture exists, records are collected by it instead of going to syslog.
    // Captures nest; the innermost one collects.
    class Capture {
    public:
        Capture();
        ~Capture();
        Capture(const Capture&) = delete;
        Capture& operator=(const Capture&) = delete;

        QStringList lines() const;
        bool contains(const QString& line) const;
        void clear();

    private:
        friend class SystemLog;
        Capture* outer_ = nullptr;
        QStringList records_;
    };
};

} // namespace kit
