#include "DesktopNotifier.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QStringList>
#include <QVariantMap>

namespace vextel_print {

namespace {

// In double quotes, a backslash before a quote or backslash inside: one word of a script line.
QString quotedWord(QString text) {
    text.replace(QLatin1Char('\\'), QLatin1String("\\\\"))
        .replace(QLatin1Char('"'), QLatin1String("\\\""))
        .replace(QLatin1Char('\n'), QLatin1String("\\n"));
    return QLatin1Char('"') + text + QLatin1Char('"');
}

} // namespace

const char DesktopNotifier::kApplicationName[] = "Vextel Fax";

void DesktopNotifier::notify(const QString& summary, const QString& body) const {
    if (echo_ != nullptr) {
        *echo_ << "notification: " << quotedWord(summary) << ' ' << quotedWord(body) << Qt::endl;
    }
    // Sent without introspecting the service first, for the same reason as not waiting.
    QDBusMessage message = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"),
        QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    message << QString::fromLatin1(kApplicationName) << 0U << QStringLiteral("vextel-print")
            << summary << body << QStringList() << QVariantMap() << -1;
    QDBusConnection::sessionBus().send(message);
}

} // namespace vextel_print
