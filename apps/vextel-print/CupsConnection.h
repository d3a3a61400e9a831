#pragma once

#include <QString>
#include <cups/cups.h>
#include <memory>

namespace vextel_print {

// A connection to a CUPS server that gives up after kAnswerTimeoutSeconds of silence, so a
// server that takes the connection but never answers cannot keep the host waiting.
class CupsConnection {
public:
    static constexpr double kAnswerTimeoutSeconds = 10.0;

    // Connects to the server ("host", "host:port" or a socket path), or to the user's default
    // server when it is empty; isOpen() tells whether that worked.
    explicit CupsConnection(const QString& server);

    bool isOpen() const { return http_ != nullptr; }
    http_t* http() const { return http_.get(); }
    // The server's name as the user would know it.
    QString serverName() const { return serverName_; }
    // Why the last request failed: the silence, or what the server said.
    QString lastError() const;

private:
    struct Closer {
        void operator()(http_t* http) const { httpClose(http); }
    };
    std::unique_ptr<http_t, Closer> http_;
    QString serverName_;
};

} // namespace vextel_print
