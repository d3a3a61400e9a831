#pragma once

#include "kit/DriverScope.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace kit {

class Window;

// Acts inside modal runs, for tests and automation. Each run takes the next queued step; with no
// step left the every-run handler is used; with neither, the run is aborted (logged to standard
// error) rather than left waiting for a person. A run still going after the time limit is
// aborted too.
//
// A step runs inside the run's event loop with the window shown; it may set fields, press
// buttons (a press that opens a nested run returns only when that run ends, so queue the nested
// run's step first) and stop the run.
class ModalDriver {
public:
    using Step = std::function<void(Window* window)>;

    ModalDriver() = default;
    explicit ModalDriver(Step everyRun);

    void enqueue(Step step);
    void setEveryRun(Step step) { everyRun_ = std::move(step); }
    int pendingSteps() const { return static_cast<int>(steps_.size()); }

    // Milliseconds after which a driven run is aborted; 0 for no limit. Default 10000.
    void setTimeLimit(int milliseconds) { timeLimit_ = milliseconds; }
    int timeLimit() const { return timeLimit_; }

    // Titles of the windows of every run seen, in order.
    QStringList windowTitles() const { return titles_; }
    int runCount() const { return static_cast<int>(titles_.size()); }
    // Runs that had no step and were aborted.
    int abortedRuns() const { return aborted_; }

    // Called by Application inside a run.
    void windowDidBeginModal(Window* window);

    // The installed driver, or null.
    static ModalDriver* current() { return installed(); }

private:
    friend class DriverScope<ModalDriver>;
    static ModalDriver*& installed();
    QList<Step> steps_;
    Step everyRun_;
    QStringList titles_;
    int timeLimit_ = 10000;
    int aborted_ = 0;
};

// Installs a driver for its lifetime and restores the previous one afterwards.
using ModalDriverScope = DriverScope<ModalDriver>;

} // namespace kit
