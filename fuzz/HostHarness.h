#pragma once

// The print host run as the command line would run it, for the targets whose input reaches the
// whole host (a script, a printer's PPD), with everything the run could do outside contained.
//
// What a run can do stays inside one temporary folder: the files a script's lines name
// (screenshots, a PDF destination, open-panel answers) are confined to a folder of it, jobs are
// written into another, home, data, configuration and runtime folders point into it, and the
// working folder is an empty one of it that must stay empty. No program starts: every launch goes
// to a recording Workspace launch recorder (the script runner's own watcher inside it cannot let
// one out) and every URL the dialogs open (the preview, a help page) to a handler that only
// counts it. Waits are cut to a few milliseconds, so a long wait is no hang.
//
// Properties every run checks besides the sanitizers: the host answers an exit status from 0 to
// 3; no modal window is left open; the host's output reports exactly the launches that were
// recorded; nothing lands in the working folder. A run that never ends is libFuzzer's -timeout.

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace fuzz {

class HostHarness {
public:
    // Once per process, from LLVMFuzzerInitialize: the application, the folders and the seams.
    HostHarness(int* argc, char*** argv);

    struct Run {
        int status = -1;
        QString output;
        QString errors;
    };
    // Runs the host with `script` against the PPD at `ppdPath` on a one-page letter, each time
    // with empty file, job and address-book folders (the book holding a few contacts).
    Run run(const QString& ppdPath, const QByteArray& script);

    // The fax printer's PPD as shipped, naming the fax extension this build made.
    static QByteArray faxPrinterPpd();
    QString pathInside(const QString& name) const;
    QString jobsFolder() const { return jobs_; }

private:
    void prepareFolders();
    void checkRunProperties(const Run& run, qsizetype launches) const;

    QTemporaryDir root_;
    QString books_;   // the PC address books the picker shows and the fax dialog adds to
    QString files_;   // what the script's lines may name
    QString jobs_;    // where a job without a queue is written
    QString working_; // the process's working folder: stays empty
    QString document_;
    QString script_;
};

// Writes `bytes` to `path`, replacing what was there; a failure is a broken property.
void writeFile(const QString& path, const QByteArray& bytes);

} // namespace fuzz
