#include "kit/SystemLog.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <mutex>
#include <syslog.h>

namespace kit {

namespace {

std::mutex captureMutex;
SystemLog::Capture* innermostCapture = nullptr;

QString oneLine(const QString& message) {
    QString line = message;
    line.replace(QLatin1String("\r\n"), QLatin1String(" "));
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    line.replace(QLatin1Char('\r'), QLatin1Char(' '));
    return line;
}

// openlog keeps the pointer it is given, so the identity must outlive every later syslog call.
void openSystemLogOnce() {
    static std::once_flag opened;
    std::call_once(opened, [] {
        static QByteArray identity;
        if (QCoreApplication::instance() != nullptr) {
            identity = QFileInfo(QCoreApplication::applicationFilePath()).fileName().toLocal8Bit();
        }
        openlog(identity.isEmpty() ? nullptr : identity.constData(), LOG_PID, LOG_USER);
    });
}

} // namespace

void SystemLog::log(const QString& message) {
    const QString line = oneLine(message);
    {
        std::lock_guard lock(captureMutex);
        if (innermostCapture != nullptr) {
            innermostCapture->records_.append(line);
            return;
        }
    }
    openSystemLogOnce();
    // The message goes through "%s": a '%' in it must never be read as a format directive.
    syslog(LOG_NOTICE, "%s", line.toUtf8().constData());
}

SystemLog::Capture::Capture() {
    std::lock_guard lock(captureMutex);
    outer_ = innermostCapture;
    innermostCapture = this;
}

SystemLog::Capture::~Capture() {
    std::lock_guard lock(captureMutex);
    innermostCapture = outer_;
}

QStringList SystemLog::Capture::lines() const {
    std::lock_guard lock(captureMutex);
    return records_;
}

bool SystemLog::Capture::contains(const QString& line) const {
    return lines().contains(line);
}

void SystemLog::Capture::clear() {
    std::lock_guard lock(captureMutex);
    records_.clear();
}

} // namespace kit
