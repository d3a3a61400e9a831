#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>

namespace vextel_test {

// A private CUPS scheduler for one test (fixture): started by cupsd-harness.sh in a temporary
// folder with one queue whose device is the capture backend, and stopped (folder removed) when
// the object goes. Needs root and an installed cupsd.
class CupsdHarness {
public:
    // Why the harness cannot run on this machine (not root, no cupsd), or empty when it can.
    static QString unavailableReason();

    explicit CupsdHarness(const QString& ppdPath,
                          const QString& queue = QStringLiteral("vextel-test"));
    ~CupsdHarness();
    CupsdHarness(const CupsdHarness&) = delete;
    CupsdHarness& operator=(const CupsdHarness&) = delete;

    bool isRunning() const { return running_; }
    // The script's error output when start failed.
    QString startError() const { return startError_; }

    QString server() const { return environment_.value(QStringLiteral("CUPS_SERVER")); }
    QString socketPath() const { return environment_.value(QStringLiteral("VEXTEL_CUPS_SOCKET")); }
    QString queue() const { return environment_.value(QStringLiteral("VEXTEL_CUPS_QUEUE")); }
    QString captureFolder() const {
        return environment_.value(QStringLiteral("VEXTEL_CUPS_CAPTURE"));
    }
    QString folder() const { return folder_; }
    // The fax capture spool, when the harness was started with VEXTEL_FAX_BACKEND set.
    QString faxSpool() const { return environment_.value(QStringLiteral("VEXTEL_FAX_SPOOL")); }

    // The capture folder of the job once the backend has finished it; nullopt after the timeout.
    std::optional<QString> waitForCapture(int jobId, int timeoutMs = 20000) const;
    // The job options the backend got (argv[5]), unescaped, by name.
    QMap<QString, QString> capturedOptions(int jobId) const;
    QByteArray capturedDocument(int jobId) const;

    // The job's attributes from the scheduler (IPP Get-Job-Attributes, as this process's user
    // through the local socket): a single string value as it is, any other in its text form.
    QMap<QString, QString> jobAttributes(int jobId) const;
    // The same asked as requestingUser through server (a local socket's path, where the scheduler
    // knows the caller's real user, or host:port); *status is the IPP status (-1: no answer).
    static QMap<QString, QString> requestJobAttributes(const QString& server, int jobId,
                                                       const QString& requestingUser,
                                                       int* status = nullptr);

    // The scheduler's error log, for failure messages.
    QString errorLog() const;

    // Splits an options argument as the scheduler writes it: blanks separate "name=value"
    // items, a backslash takes the next character literally.
    static QMap<QString, QString> parseOptionsArgument(const QString& argument);

private:
    QString folder_;
    QMap<QString, QString> environment_;
    QString startError_;
    bool running_ = false;
};

} // namespace vextel_test
