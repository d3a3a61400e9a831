#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

namespace vextel_print {

class HostCallback;

// Sends a job the panels let go to where its destination says: a CUPS queue, a job folder when
// there is no queue, a file, or the desktop's viewer.
class JobDispatcher {
public:
    struct Target {
        QString queue;        // CUPS queue; empty: write the job into outputFolder
        QString server;       // CUPS server for the queue; empty for the default
        QString outputFolder; // where jobs without a queue go, each in a folder of its own
        QString title{};      // the job's title; empty: the first document's file name
    };
    struct Result {
        bool ok = false;
        QString description; // one line: where the job went, or why it did not
    };

    JobDispatcher(Target target, QStringList documents);

    // The job options of a print: every marked PPD choice, then every print-settings entry
    // (which win over a PPD keyword of the same name), and the copies when more than one.
    static QMap<QString, QString> jobOptions(HostCallback& host, int copies);

    Result dispatch(HostCallback& host, int copies) const;
    // The printer destination alone: to the queue, or into a job folder without one. Touches
    // nothing of the host's, so it may run away from the main thread.
    Result sendToPrinter(const QMap<QString, QString>& options) const;

private:
    Result saveToFile(const QString& path) const;
    Result openPreview() const;
    QString jobTitle() const;
    // A new folder "job-N" in the output folder for a job that goes to no queue.
    QString nextJobFolder() const;

    Target target_;
    QStringList documents_;
};

} // namespace vextel_print
