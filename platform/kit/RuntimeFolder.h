#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace kit {

// Qt wants a private runtime folder (and the programs keep their sockets there); a headless run
// under a service account often has none, so one is made in the temporary folder. Call before the
// application object exists. Inline, so a program's main can use it without linking the kit.
inline void provideRuntimeFolder() {
    if (std::getenv("XDG_RUNTIME_DIR") != nullptr) {
        return;
    }
    const QByteArray folder =
        QFile::encodeName(QDir::tempPath() + QStringLiteral("/runtime-%1").arg(getuid()));
    if (mkdir(folder.constData(), 0700) == 0 || errno == EEXIST) {
        setenv("XDG_RUNTIME_DIR", folder.constData(), 1);
    }
}

} // namespace kit
