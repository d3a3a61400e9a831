#include "printing/CupsConnection.h"

#include <QByteArray>
#include <QFile>
#include <cerrno>

namespace printing {

namespace {

struct ServerAddress {
    QByteArray host;
    int port = 0;
};

// "host", "host:port", "[v6]:port", "/path/to/socket"; empty for the user's default server.
ServerAddress parseServer(const QString& server) {
    if (server.isEmpty()) {
        return {QByteArray(cupsServer()), ippPort()};
    }
    if (server.startsWith(QLatin1Char('/'))) {
        return {QFile::encodeName(server), ippPort()};
    }
    QString host = server;
    int port = ippPort();
    const qsizetype colon = server.lastIndexOf(QLatin1Char(':'));
    const bool bracketed = server.startsWith(QLatin1Char('['));
    const bool hostWithPort = colon > 0 && (bracketed ? server.at(colon - 1) == QLatin1Char(']')
                                                      : server.count(QLatin1Char(':')) == 1);
    if (hostWithPort) {
        bool numeric = false;
        const int parsed = server.mid(colon + 1).toInt(&numeric);
        if (numeric && parsed > 0 && parsed < 65536) {
            port = parsed;
            host = server.left(colon);
        }
    }
    if (host.startsWith(QLatin1Char('[')) && host.endsWith(QLatin1Char(']'))) {
        host = host.mid(1, host.size() - 2);
    }
    return {host.toUtf8(), port};
}

int giveUpWaiting(http_t*, void*) {
    return 0;
}

} // namespace

CupsConnection::CupsConnection(const QString& server)
    : serverName_(server.isEmpty() ? QString::fromUtf8(cupsServer()) : server) {
    const ServerAddress address = parseServer(server);
    http_.reset(httpConnect2(address.host.constData(), address.port, nullptr, AF_UNSPEC,
                             cupsEncryption(), 1, 30000, nullptr));
    if (http_) {
        httpSetTimeout(http_.get(), kAnswerTimeoutSeconds, giveUpWaiting, nullptr);
    }
}

QString CupsConnection::requestError(const QString& error) const {
    if (http_ && httpError(http_.get()) == ETIMEDOUT) {
        return QStringLiteral("the print server %1 did not answer within %2 seconds")
            .arg(serverName_)
            .arg(kAnswerTimeoutSeconds);
    }
    return error;
}

} // namespace printing
