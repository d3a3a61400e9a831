#pragma once

#include "DesktopNotifier.h"
#include "HostOptions.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QSet>
#include <QStringList>
#include <QTextStream>

namespace vextel_print {

// The desktop agent: watches the user's fax spool folder, and for each job the fax capture
// queue put there opens the print dialog with the job's choices marked; Start sends it on to the
// real fax queue, Stop or Cancel discards it. One job at a time, oldest first: jobs that arrive
// while a dialog is open wait their turn. A job's files go only once it was sent or discarded,
// so a crash or a log-out loses nothing; a job that is not a PDF is kept aside, never sent. A job
// that cannot be sent is told to the user as a desktop notification with the reason.
class FaxAgent : public QObject {
    Q_OBJECT

public:
    FaxAgent(HostOptions options, QTextStream& output, QTextStream& errors);

    // Runs until the application quits (with --once: until the jobs waiting now are handled).
    // Answers the process's exit status.
    int run();

    // The spool folder the agent takes jobs from.
    QString spoolFolder() const { return folder_; }

private:
    void scan();
    void handleNext();
    // Answers the host's exit status for the job.
    int handleJob(const QString& jobFolder);
    void reject(const QString& jobFolder, const QString& reason);
    void notifyWaiting(const QString& title);
    void watchFolder();
    // The script of the index-th job handled (from 0): --script given again names the later
    // jobs' scripts, the last one for all jobs after.
    QString scriptForJob(int index) const;

    HostOptions options_;
    QTextStream& output_;
    QTextStream& errors_;
    QString folder_;
    DesktopNotifier notifier_;
    QFileSystemWatcher watcher_;
    QStringList waiting_;
    QSet<QString> seen_; // jobs already handled (or failing) in this run
    bool busy_ = false;
    bool anyFailed_ = false;
    int handled_ = 0;
};

} // namespace vextel_print
