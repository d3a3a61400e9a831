#include "CupsConnection.h"

#include <cerrno>

namespace vextel_print {

namespace {

int giveUpWaiting(http_t*, void*) {
    return 0;
}

} // namespace

CupsConnection::CupsConnection(const QString& server) {
    if (!server.isEmpty()) {
        cupsSetServer(server.toUtf8().constData());
    }
    // cupsServer() keeps the host alone; the port of "host:port" goes to ippPort().
    serverName_ = server.isEmpty() ? QString::fromUtf8(cupsServer()) : server;
    http_.reset(httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                             30000, nullptr));
    if (http_) {
        httpSetTimeout(http_.get(), kAnswerTimeoutSeconds, giveUpWaiting, nullptr);
    }
}

QString CupsConnection::lastError() const {
    if (http_ && httpError(http_.get()) == ETIMEDOUT) {
        return QStringLiteral("the CUPS server %1 did not answer within %2 seconds")
            .arg(serverName_)
            .arg(kAnswerTimeoutSeconds);
    }
    return QString::fromUtf8(cupsLastErrorString());
}

} // namespace vextel_print
