#pragma once

#include <QString>
#include <cups/cups.h>
#include <memory>

namespace printing {

// A connection to a CUPS server that gives up after kAnswerTimeoutSeconds of silence, so a
// server that takes the connection but never answers (or reads) cannot hold the print dialog.
// It names the server explicitly, leaving the thread's default server alone, so it may be used
// from any thread.
class CupsConnection {
public:
    static constexpr double kAnswerTimeoutSeconds = 10.0;

    // server: "host", "host:port", "[v6]:port" or a local socket path; empty for the user's
    // default server. isOpen() tells whether the connection was made.
    explicit CupsConnection(const QString& server);

    bool isOpen() const { return http_ != nullptr; }
    http_t* http() const { return http_.get(); }
    // The server's name as the user gave it (or the default server's).
    QString serverName() const { return serverName_; }
    // The reason a request failed: the server's silence told plainly, else the given error.
    QString requestError(const QString& error) const;

private:
    struct Closer {
        void operator()(http_t* http) const { httpClose(http); }
    };
    std::unique_ptr<http_t, Closer> http_;
    QString serverName_;
};

} // namespace printing
