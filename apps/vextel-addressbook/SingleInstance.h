#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>
#include <memory>

namespace vextel_addressbook {

// One editor per user. The first start listens on a socket in the user's runtime folder; a later
// start connects to it, hands over its message (the printer connection of its command line, or
// the empty text) and exits, and the running editor takes the message and comes to the front.
// A check and the start of listening happen under a lock file, so two editors started at the same
// instant end as one editor, not two or none.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    // socketPath empty: "vextel-addressbook.socket" in the user's runtime folder.
    explicit SingleInstance(QString socketPath = {}, QObject* parent = nullptr);
    ~SingleInstance() override;

    enum class Outcome {
        Primary,   // this process listens now and runs the editor
        HandedOff, // a running editor took the message; this process should exit
        Failed     // neither: no runtime folder, or the socket cannot be made (reason in error)
    };
    Outcome start(const QString& message, QString* error);

    QString socketPath() const { return socketPath_; }

signals:
    // A message handed over by a later start.
    void messageReceived(const QString& message);

private:
    bool handOff(const QString& message);
    void readMessage(class QLocalSocket* socket);

    QString socketPath_;
    std::unique_ptr<QLocalServer> server_;
};

} // namespace vextel_addressbook
