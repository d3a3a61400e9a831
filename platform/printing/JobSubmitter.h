#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

namespace printing {

// Sends documents to a CUPS queue as one job, with job options kept exactly as given: each
// value travels as one text value, except where the client library's typed encoding gives back
// the very same single value (copies=2, PageSize=A4), which is then used so the scheduler
// understands the option. (Typed encoding would turn "true" into a boolean that reaches the
// driver as a bare option name, and "0123" for a known numeric option into 123.)
class JobSubmitter {
public:
    struct Result {
        int jobId = 0; // the CUPS job id, > 0 on success
        QString error; // one line, empty on success
        bool ok() const { return jobId > 0; }
    };

    // server: "host:port", "host" (default port) or a local socket path; empty for the user's
    // default server (CUPS_SERVER, client.conf, local scheduler).
    explicit JobSubmitter(QString server = QString());

    QString server() const { return server_; }

    // Submits the files in order as the documents of one job named title.
    Result submit(const QString& queue, const QStringList& files, const QString& title,
                  const QMap<QString, QString>& options) const;

    // The job written into a folder instead of a queue: every document copied in under its own
    // file name (a clash gets a numbered name), plus "job-options" with one "key=value" line per
    // option in key order. The folder is made when missing, for the user alone (0700), and
    // every file in it is made new with mode 0600, never through a link. A key that is empty or
    // holds "=" or a line break, or a value with a line break, cannot be written as one line: such
    // a job is refused whole. False with a reason in *error.
    static bool writeToFolder(const QString& folder, const QStringList& files,
                              const QMap<QString, QString>& options, QString* error = nullptr);

    // Name of the options file that writeToFolder writes.
    static constexpr const char* kJobOptionsFileName = "job-options";

private:
    QString server_;
};

} // namespace printing
