#pragma once

#include "DesktopNotifier.h"
#include "FaxJobResults.h"

#include <QObject>
#include <QSet>
#include <QTimer>

namespace vextel_print {

// Follows the user's fax jobs for the agent: asks the scheduler (and, for a job it finished, the
// printer's fax log) every few seconds, and shows one desktop notification for each job whose
// outcome becomes final while the agent runs, whichever way it was sent. Jobs that were final
// already when first seen are not announced again.
class FaxJobFollower : public QObject {
    Q_OBJECT

public:
    static constexpr int kPollMilliseconds = 2000;

    FaxJobFollower(QString server, const DesktopNotifier& notifier);

    void start();

private:
    void poll();

    const QString server_;
    const DesktopNotifier& notifier_;
    QTimer timer_;
    QSet<int> seen_;      // jobs seen at least once
    QSet<int> announced_; // jobs whose outcome is told (or was final when first seen)
};

} // namespace vextel_print
