// A process that starts a SingleInstance: prints "primary", "handed-off" or "failed: REASON";
// as the primary it prints "got: MESSAGE" for each message handed to it and exits after as many
// as its third argument asks (or after 20 s).
//   single-instance-probe SOCKET MESSAGE [COUNT]
#include "SingleInstance.h"

#include <QCoreApplication>
#include <QTimer>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 3) {
        return 2;
    }
    vextel_addressbook::SingleInstance instance(QString::fromLocal8Bit(argv[1]));
    QString error;
    switch (instance.start(QString::fromLocal8Bit(argv[2]), &error)) {
    case vextel_addressbook::SingleInstance::Outcome::HandedOff:
        std::printf("handed-off\n");
        return 0;
    case vextel_addressbook::SingleInstance::Outcome::Failed:
        std::printf("failed: %s\n", qPrintable(error));
        return 1;
    case vextel_addressbook::SingleInstance::Outcome::Primary:
        std::printf("primary\n");
        std::fflush(stdout);
        break;
    }
    int remaining = argc > 3 ? std::atoi(argv[3]) : 0;
    if (remaining <= 0) {
        return 0;
    }
    QObject::connect(&instance, &vextel_addressbook::SingleInstance::messageReceived,
                     [&](const QString& message) {
                         std::printf("got: %s\n", qPrintable(message));
                         std::fflush(stdout);
                         if (--remaining == 0) {
                             QCoreApplication::quit();
                         }
                     });
    QTimer::singleShot(20000, &app, &QCoreApplication::quit);
    return QCoreApplication::exec();
}
