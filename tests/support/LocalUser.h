#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <pwd.h>
#include <unistd.h>

namespace vextel_test {

// A throwaway local user for a test that runs something as a second person: made with useradd
// under a name unique to this process (other test runs share the machine), without a home,
// and removed with userdel when the object goes. Needs root.
class LocalUser {
public:
    // prefix: a few letters naming the role ("alice"); the name adds the process id and a count.
    explicit LocalUser(const QString& prefix) {
        static int count = 0;
        name_ = QStringLiteral("vx%1%2x%3").arg(prefix).arg(::getpid()).arg(++count);
        QProcess add;
        add.start(QStringLiteral("useradd"),
                  {"--no-create-home", "--shell", "/usr/sbin/nologin", "--user-group", name_});
        add.waitForFinished(30000);
        const passwd* entry = ::getpwnam(name_.toLocal8Bit().constData());
        if (add.exitStatus() != QProcess::NormalExit || add.exitCode() != 0 || entry == nullptr) {
            error_ = QString::fromLocal8Bit(add.readAllStandardError()).trimmed();
            return;
        }
        uid_ = entry->pw_uid;
        gid_ = entry->pw_gid;
        made_ = true;
    }
    ~LocalUser() {
        if (made_) {
            QProcess::execute(QStringLiteral("userdel"), {name_});
        }
    }
    LocalUser(const LocalUser&) = delete;
    LocalUser& operator=(const LocalUser&) = delete;

    // Why a second user cannot be made here (not root, no useradd), or empty when one can.
    static QString unavailableReason() {
        if (::geteuid() != 0) {
            return QStringLiteral("making a second local user needs root");
        }
        if (QProcess::execute(QStringLiteral("sh"),
                              {"-c", "command -v useradd userdel >/dev/null"}) != 0) {
            return QStringLiteral("useradd and userdel are not installed");
        }
        return {};
    }

    bool isMade() const { return made_; }
    QString error() const { return error_; }
    QString name() const { return name_; }
    uid_t uid() const { return uid_; }
    gid_t gid() const { return gid_; }

    // setpriv's arguments that run a program as this user (followed by the program).
    QStringList asUser() const {
        return {QStringLiteral("--reuid=%1").arg(uid_), QStringLiteral("--regid=%1").arg(gid_),
                QStringLiteral("--clear-groups")};
    }

private:
    QString name_;
    QString error_;
    uid_t uid_ = 0;
    gid_t gid_ = 0;
    bool made_ = false;
};

} // namespace vextel_test
