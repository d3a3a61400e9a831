#include "SingleInstance.h"

#include <QDir>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>

namespace vextel_addressbook {

namespace {

constexpr int kHandOffTimeoutMs = 3000;
// A message is one line of UTF-8; the running editor answers "ok" when it took it.
constexpr qint64 kMaximumMessageBytes = 4096;
const QByteArray kAcknowledgement = QByteArrayLiteral("ok\n");

QString defaultSocketPath() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) {
        return {};
    }
    return QDir(folder).filePath(QStringLiteral("vextel-addressbook.socket"));
}

} // namespace

SingleInstance::SingleInstance(QString socketPath, QObject* parent)
    : QObject(parent), socketPath_(socketPath.isEmpty() ? defaultSocketPath() : socketPath) {}

SingleInstance::~SingleInstance() = default;

SingleInstance::Outcome SingleInstance::start(const QString& message, QString* error) {
    if (socketPath_.isEmpty()) {
        *error = QStringLiteral("no runtime folder for the single-instance socket");
        return Outcome::Failed;
    }
    QLockFile lock(socketPath_ + QStringLiteral(".lock"));
    if (!lock.tryLock(kHandOffTimeoutMs)) {
        *error = QStringLiteral("cannot lock %1")
                     .arg(lock.error() == QLockFile::PermissionError ? socketPath_ + " (permission)"
                                                                     : socketPath_);
        return Outcome::Failed;
    }
    if (handOff(message)) {
        return Outcome::HandedOff;
    }
    // Nobody answers: a socket file left by an editor that crashed is in the way of listening.
    QLocalServer::removeServer(socketPath_);
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(socketPath_)) {
        *error = QStringLiteral("cannot listen on %1: %2").arg(socketPath_, server_->errorString());
        server_.reset();
        return Outcome::Failed;
    }
    connect(server_.get(), &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this,
                    [this, socket] { readMessage(socket); });
        }
    });
    return Outcome::Primary;
}

bool SingleInstance::handOff(const QString& message) {
    QLocalSocket socket;
    socket.connectToServer(socketPath_);
    if (!socket.waitForConnected(kHandOffTimeoutMs)) {
        return false;
    }
    socket.write(message.toUtf8() + '\n');
    if (!socket.waitForBytesWritten(kHandOffTimeoutMs)) {
        return false;
    }
    QByteArray answer;
    while (!answer.endsWith('\n') && socket.waitForReadyRead(kHandOffTimeoutMs)) {
        answer += socket.readAll();
    }
    return answer == kAcknowledgement;
}

void SingleInstance::readMessage(QLocalSocket* socket) {
    if (!socket->canReadLine()) {
        if (socket->bytesAvailable() > kMaximumMessageBytes) {
            socket->abort();
        }
        return;
    }
    const QString message = QString::fromUtf8(socket->readLine(kMaximumMessageBytes)).trimmed();
    socket->write(kAcknowledgement);
    socket->flush();
    socket->disconnectFromServer();
    emit messageReceived(message);
}

} // namespace vextel_addressbook
