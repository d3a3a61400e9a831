#pragma once

#include <QString>
#include <QTextStream>

namespace vextel_print {

// Desktop notifications of the agent: each goes to the desktop's notification service on the
// session bus (org.freedesktop.Notifications) without waiting for an answer, so a service that
// hangs, or none at all, never holds up a job. With an echo stream (a scripted run) each is also
// written there as one line, notification: "SUMMARY" "BODY", each text quoted as a script word
// (a backslash before a quote or backslash in it).
class DesktopNotifier {
public:
    // The echo stream is borrowed; null writes nothing.
    explicit DesktopNotifier(QTextStream* echo = nullptr) : echo_(echo) {}

    void notify(const QString& summary, const QString& body) const;

    // The application name the notifications carry.
    static const char kApplicationName[];

private:
    QTextStream* echo_;
};

} // namespace vextel_print
