#pragma once

#include "HostOptions.h"
#include "ScriptRunner.h"

#include <QTextStream>
#include <optional>

namespace vextel_print {

class PpdDocument;
class PrintDialog;

// The host's run: opens the printer's PPD, loads the print-dialog plug-ins, shows the print
// dialog (on the display, offscreen for a screenshot, or driven by a script) and reports what
// became of the job. Answers the process's exit status.
class HostApplication {
public:
    enum ExitStatus { kSent = 0, kCancelled = 1, kUsageError = 2, kFailed = 3 };

    HostApplication(HostOptions options, QTextStream& output, QTextStream& errors);
    int run();
    // Confines what a --script run writes and how long it waits (see ScriptRunner); for a caller
    // that runs untrusted scripts.
    void confineScript(ScriptRunner::Confinement confinement) {
        scriptConfinement_ = std::move(confinement);
    }

    // Why the run did not send the job, one line; empty when it was sent or cancelled.
    QString failure() const { return failure_; }

    // Where the host finds its installed plug-in bundles.
    static QString installedPluginFolder();

private:
    // Marks the choices given with -o (or taken from a captured job).
    void markPresets(PpdDocument& ppd);
    // Writes the reason to the errors, keeps it as the failure and answers the status.
    int refuse(int status, const QString& reason);
    // Writes the job's options and where it went (or why not).
    void reportOutcome(const PrintDialog& dialog);

    HostOptions options_;
    QTextStream& output_;
    QTextStream& errors_;
    std::optional<ScriptRunner::Confinement> scriptConfinement_;
    QString failure_;
};

} // namespace vextel_print
