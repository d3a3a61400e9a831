#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace vextel_print {

// What became of the user's fax jobs: each job on a queue of the fax printer as the scheduler
// knows it, and once the printer holds it, the printer's fax log entry with each recipient's
// result (docs/device-protocol.md). Nothing here reports a fax as sent unless the printer's log
// said so.
class FaxJobResults {
public:
    struct Recipient {
        int number = 0;
        QString name;
        QString faxNumber;
        QString state; // the printer's: sent, busy, no-answer, failed, waiting, dialing
        int tries = 0;
        QString time;
    };
    struct Job {
        int id = 0;
        QString queue;
        QString title;
        QString uuid;
        QString schedulerState; // pending, held, processing, stopped, canceled, aborted, completed
        QString schedulerMessage;
        // Set once the printer was asked: its job state (delayed, queued, sending, sent, failed).
        QString printerState;
        QList<Recipient> recipients;
        // Why the printer's result is not known (it could not be asked); empty otherwise.
        QString unknownReason;

        // The scheduler or the printer is done with the job: its outcome will not change.
        bool isFinal() const;
        // Every recipient was reached, as the printer's log says.
        bool allSent() const { return printerState == QLatin1String("sent"); }
    };

    // The user's jobs on the fax printer's queues of the server (empty: the default), newest
    // first, at most `limit`; each completed one with the printer's result. Null error: the
    // scheduler was asked; otherwise *error says why not.
    static QList<Job> recentJobs(const QString& server, int limit, QString* error);

    // The lines of `vextel-print --status` for a job: the job, then one per recipient, fields
    // separated by tabs.
    static QStringList statusLines(const Job& job);
};

} // namespace vextel_print
