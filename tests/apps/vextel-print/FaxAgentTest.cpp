// The desktop agent run on a spool folder of its own, with no scheduler: what it refuses, what it
// keeps, and that a job goes only once it was sent or discarded.
#include "faxspool/FaxSpool.h"
#include "support/HostRun.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Puts a job into the folder as the capture backend would.
void capture(const QString& folder, const QByteArray& document, const std::string& queue,
             const std::string& title = "Report") {
    const QString source = folder + QStringLiteral("/../document.in");
    QFile file(source);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(document);
    file.close();
    const int fd = open(QFile::encodeName(source).constData(), O_RDONLY);
    std::string error;
    ASSERT_TRUE(
        faxspool::writeJob(folder.toStdString(), {queue, title, "u", "1", 1, "", ""}, fd, &error))
        << error;
    close(fd);
}

struct AgentCase {
    const char* name;
    std::function<void(const QString& folder)> prepare;
    int exitCode;
    const char* message;    // in the agent's output or errors
    QStringList leftBehind; // name patterns of what stays in the folder
};

class FaxAgentTest : public ::testing::TestWithParam<AgentCase> {};

TEST_P(FaxAgentTest, HandlesTheWaitingJobs) {
    const AgentCase& c = GetParam();
    QTemporaryDir base;
    ASSERT_TRUE(base.isValid());
    const QString folder = base.filePath(QStringLiteral("spool"));
    ASSERT_TRUE(QDir().mkdir(folder));
    chmod(QFile::encodeName(folder).constData(), 0700);
    c.prepare(folder);

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), base.path());
    const auto run = vextel_test::runHost(
        {"--agent", "--once", "--spool", folder, "--server", "127.0.0.1:9", "--script",
         QStringLiteral(VEXTEL_SOURCE_DIR "/resources/scripts/walkthrough.script")},
        environment);
    EXPECT_EQ(run.exitCode, c.exitCode) << run.out.toStdString() << run.err.toStdString();
    EXPECT_TRUE((run.out + run.err).contains(QLatin1String(c.message)))
        << run.out.toStdString() << run.err.toStdString();
    QStringList left = QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    ASSERT_EQ(left.size(), c.leftBehind.size()) << left.join(' ').toStdString();
    for (qsizetype i = 0; i < left.size(); ++i) {
        EXPECT_TRUE(left.at(i).startsWith(c.leftBehind.at(i))) << left.at(i).toStdString();
    }
}

const AgentCase kCases[] = {
    {"NothingWaits", [](const QString&) {}, 0, "no fax jobs wait", {}},
    {"NotAPdfIsKeptAsideNeverSent",
     [](const QString& folder) { capture(folder, "%!PS-Adobe-3.0", "fax"); },
     3,
     "is not a readable PDF",
     {"rejected-job-"}},
    // The fax queue cannot be reached: the job stays to be offered again.
    {"AJobThatCannotGoOutStays",
     [](const QString& folder) { capture(folder, "%PDF-1.4", "fax"); },
     3,
     "is offered again when the agent starts next",
     {"job-"}},
    // Each job that is not sent is told as a desktop notification with the reason.
    {"TheUserIsToldWhyAJobWasNotSent",
     [](const QString& folder) { capture(folder, "%PDF-1.4", "fax"); },
     3,
     "notification: \"The fax could not be sent\" \"\\\"Report\\\" was not sent: ",
     {"job-"}},
    {"TheUserIsToldWhyAJobWasRefused",
     [](const QString& folder) { capture(folder, "%!PS-Adobe-3.0", "fax"); },
     3,
     "notification: \"The fax could not be sent\" \"A captured fax job was refused: the "
     "captured document is not a readable PDF.",
     {"rejected-job-"}},
    {"AFolderOthersMayWriteIsRefused",
     [](const QString& folder) {
         capture(folder, "%PDF-1.4", "fax");
         chmod(QFile::encodeName(folder).constData(), 0777);
     },
     3,
     "may be written by other users",
     {"job-"}},
};

INSTANTIATE_TEST_SUITE_P(Cases, FaxAgentTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A session bus of the test's own (a dbus-daemon stopped by its process id at the end) and a
// notification service on it that records what it is sent.
class PrivateSessionBus {
public:
    explicit PrivateSessionBus(const QString& folder) {
        daemon_.start(QStringLiteral("dbus-daemon"),
                      {QStringLiteral("--session"), QStringLiteral("--nofork"),
                       QStringLiteral("--address=unix:path=") + folder + QStringLiteral("/bus"),
                       QStringLiteral("--print-address=1")});
        if (daemon_.waitForReadyRead(10000)) {
            address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
        }
    }
    ~PrivateSessionBus() {
        QDBusConnection::disconnectFromBus(kConnectionName);
        daemon_.terminate();
        if (!daemon_.waitForFinished(5000)) {
            daemon_.kill();
            daemon_.waitForFinished();
        }
    }
    QString address() const { return address_; }

    static constexpr const char* kConnectionName = "fax-agent-test";

private:
    QProcess daemon_;
    QString address_;
};

class NotificationRecorder : public QDBusVirtualObject {
public:
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        if (message.member() != QLatin1String("Notify")) {
            return false;
        }
        {
            const std::lock_guard lock(mutex_);
            received_.append(message.arguments());
        }
        connection.send(message.createReply(QVariantList{1U}));
        return true;
    }
    QString introspect(const QString&) const override { return {}; }

    // Qt may hand the calls over on its own bus thread.
    QList<QVariantList> received() const {
        const std::lock_guard lock(mutex_);
        return received_;
    }

private:
    mutable std::mutex mutex_;
    QList<QVariantList> received_;
};

TEST(FaxAgentNotificationTest, AWaitingJobIsAnnouncedOnTheSessionBus) {
    QTemporaryDir base;
    ASSERT_TRUE(base.isValid());
    PrivateSessionBus bus(base.path());
    ASSERT_FALSE(bus.address().isEmpty()) << "dbus-daemon did not start";
    QDBusConnection connection =
        QDBusConnection::connectToBus(bus.address(), PrivateSessionBus::kConnectionName);
    ASSERT_TRUE(connection.isConnected());
    NotificationRecorder recorder;
    ASSERT_TRUE(connection.registerVirtualObject(QStringLiteral("/org/freedesktop/Notifications"),
                                                 &recorder));
    ASSERT_TRUE(connection.registerService(QStringLiteral("org.freedesktop.Notifications")));

    const QString folder = base.filePath(QStringLiteral("spool"));
    ASSERT_TRUE(QDir().mkdir(folder));
    chmod(QFile::encodeName(folder).constData(), 0700);
    // A title is anyone's text: its markup and links are shown as text.
    capture(folder, "%PDF-1.4", "fax", "<b>Report</b> & <a href=http://x>more</a>");
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), base.path());
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), bus.address());
    const auto run = vextel_test::runHost(
        {"--agent", "--once", "--spool", folder, "--server", "127.0.0.1:9", "--script",
         QStringLiteral(VEXTEL_SOURCE_DIR "/resources/scripts/walkthrough.script")},
        environment);
    EXPECT_TRUE(run.out.contains(QLatin1String("waiting: \"<b>Report</b>")))
        << run.out.toStdString();

    // The call was queued to this process while it waited for the agent.
    const QDeadlineTimer deadline(5000);
    while (recorder.received().size() < 2 && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    connection.unregisterObject(QStringLiteral("/org/freedesktop/Notifications"));
    const QList<QVariantList> received = recorder.received();
    // The job waits, then cannot go out (no scheduler answers): both are told.
    ASSERT_EQ(received.size(), 2);
    const QVariantList& notify = received.front();
    ASSERT_EQ(notify.size(), 8);
    EXPECT_EQ(notify.at(0).toString(), QStringLiteral("Vextel Fax"));
    EXPECT_EQ(notify.at(3).toString(), QStringLiteral("A fax is waiting"));
    EXPECT_EQ(notify.at(4).toString(),
              QStringLiteral("\"&lt;b&gt;Report&lt;/b&gt; &amp; &lt;a href=http://x&gt;"
                             "more&lt;/a&gt;\" is ready to be sent as a fax."));
    EXPECT_EQ(received.back().at(3).toString(), QStringLiteral("The fax could not be sent"));
}

} // namespace
