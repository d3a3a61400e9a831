// Faxing from any application: a PDF printed with lp to a queue on the vextel-fax backend waits
// in its user's spool folder; the desktop agent, run as that user, shows the dialogs and sends it
// on to the real fax queue (the capture backend of the private scheduler) with the fax entries.
#include "CupsdHarness.h"
#include "support/EnvironmentScope.h"
#include "support/HostRun.h"
#include "support/LocalUser.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>
#include <gtest/gtest.h>
#include <memory>
#include <pwd.h>
#include <sys/stat.h>

namespace {

using vextel_test::CupsdHarness;
using vextel_test::HostRun;

const QString kPpd = QStringLiteral(VEXTEL_SOURCE_DIR "/resources/ppd/Tarvik-M40-Vextel-Fax.ppd");
const QString kWalkthrough =
    QStringLiteral(VEXTEL_SOURCE_DIR "/resources/scripts/walkthrough.script");
const QString kSample = QStringLiteral(VEXTEL_SOURCE_DIR "/resources/samples/fax-sample.pdf");
const QString kBackend = QStringLiteral(VEXTEL_BINARY_DIR "/bin/vextel-fax");
const QString kSetup = QStringLiteral(VEXTEL_BINARY_DIR "/bin/vextel-fax-setup");
const QString kCaptureQueue = QStringLiteral("fax-capture");

QString run(const QString& program, const QStringList& arguments, int* exitCode) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    process.waitForFinished(30000);
    *exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return QString::fromLocal8Bit(process.readAll());
}

class FaxCaptureSystemTest : public ::testing::Test {
protected:
    void SetUp() override {
        QString reason = CupsdHarness::unavailableReason();
        if (reason.isEmpty()) {
            reason = vextel_test::LocalUser::unavailableReason();
        }
        if (!reason.isEmpty()) {
            GTEST_SKIP() << reason.toStdString();
        }
        // A person's own account: the capture backend refuses system accounts.
        user_ = std::make_unique<vextel_test::LocalUser>(QStringLiteral("fax"));
        ASSERT_TRUE(user_->isMade()) << user_->error().toStdString();
        uid_ = user_->uid();
        gid_ = user_->gid();
        ASSERT_TRUE(home_.isValid());
        // The agent runs as the user: its home and the script must be theirs to read.
        ASSERT_EQ(chown(QFile::encodeName(home_.path()).constData(), uid_, gid_), 0);
        const vextel_test::EnvironmentScope backend("VEXTEL_FAX_BACKEND",
                                                    QFile::encodeName(kBackend));
        harness_ = std::make_unique<CupsdHarness>(kPpd);
        ASSERT_TRUE(harness_->isRunning()) << harness_->startError().toStdString();
        int status = 0;
        const QString made = run(QStringLiteral("lpadmin"),
                                 {"-h", harness_->server(), "-p", kCaptureQueue, "-E", "-v",
                                  "vextel-fax:/" + harness_->queue(), "-P", kPpd},
                                 &status);
        ASSERT_EQ(status, 0) << made.toStdString();
        // Set up as the README tells an administrator.
        const QString setup =
            run(kSetup, {"--server", harness_->socketPath(), harness_->queue(), kCaptureQueue},
                &status);
        ASSERT_EQ(status, 0) << setup.toStdString();
    }

    QString userSpool() const { return harness_->faxSpool() + QLatin1Char('/') + user_->name(); }

    // Prints the sample as the user from the command line, as any application would (through
    // the scheduler's local socket, where it knows who the user is).
    void printAsUser(const QString& quality, const QStringList& more = {},
                     const QString& queue = kCaptureQueue) {
        int status = 0;
        const QString out =
            run(QStringLiteral("setpriv"),
                user_->asUser() +
                    QStringList{"lp", "-h", harness_->socketPath(), "-d", queue, "-t",
                                "Quarterly report", "-o", "TKFaxImageQuality=" + quality} +
                    more + QStringList{kSample},
                &status);
        ASSERT_EQ(status, 0) << out.toStdString();
    }

    // The captured jobs waiting in the user's folder, once the backend has finished one.
    QStringList waitForCapturedJob() const {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 20000) {
            const QStringList jobs =
                QDir(userSpool()).entryList({QStringLiteral("job-*")}, QDir::Dirs);
            if (!jobs.isEmpty()) {
                return jobs;
            }
            QThread::msleep(100);
        }
        return {};
    }

    QProcessEnvironment agentEnvironment() const {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("VEXTEL_PDE_PATH"));
        environment.remove(QStringLiteral("XDG_RUNTIME_DIR"));
        environment.insert(QStringLiteral("HOME"), home_.path());
        environment.insert(QStringLiteral("VEXTEL_FAX_SPOOL"), harness_->faxSpool());
        return environment;
    }
    QStringList agentArguments(const QString& scriptPath) const {
        return agentArguments({scriptPath}, true);
    }
    QStringList agentArguments(const QStringList& scripts, bool once) const {
        // setpriv runs the agent itself as the user (no process in between to outlive a kill).
        QStringList arguments = {QStringLiteral("--reuid=%1").arg(uid_),
                                 QStringLiteral("--regid=%1").arg(gid_),
                                 "--clear-groups",
                                 vextel_test::hostProgram(),
                                 "--agent",
                                 "--server",
                                 harness_->socketPath()};
        if (once) {
            arguments.append(QStringLiteral("--once"));
        }
        for (const QString& script : scripts) {
            arguments << QStringLiteral("--script") << script;
        }
        return arguments;
    }

    HostRun runAgent(const QString& scriptPath) const {
        return vextel_test::runProgram(QStringLiteral("setpriv"), agentArguments(scriptPath),
                                       agentEnvironment(), 90000);
    }

    QString writeScript(const QByteArray& text,
                        const QString& name = QStringLiteral("stop.script")) const {
        const QString path = home_.filePath(name);
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(text);
        return path;
    }

    std::string describe(const HostRun& run) const {
        return QStringLiteral("exit %1\nstdout:\n%2\nstderr:\n%3\nscheduler log:\n%4")
            .arg(run.exitCode)
            .arg(run.out, run.err, harness_->errorLog().right(4000))
            .toStdString();
    }

    std::unique_ptr<vextel_test::LocalUser> user_;
    QTemporaryDir home_;
    uid_t uid_ = 0;
    gid_t gid_ = 0;
    std::unique_ptr<CupsdHarness> harness_;
};

TEST_F(FaxCaptureSystemTest, TheBackendIsListedAndCapturesIntoTheUsersPrivateFolder) {
    int status = 0;
    const QString devices =
        run(QStringLiteral("lpinfo"), {"-h", harness_->server(), "-v"}, &status);
    EXPECT_TRUE(devices.contains(QLatin1String("direct vextel-fax"))) << devices.toStdString();

    printAsUser(QStringLiteral("Fine"));
    const QStringList jobs = waitForCapturedJob();
    ASSERT_EQ(jobs.size(), 1) << harness_->errorLog().toStdString();
    struct stat info {};
    ASSERT_EQ(stat(QFile::encodeName(userSpool()).constData(), &info), 0);
    EXPECT_EQ(info.st_uid, uid_);
    EXPECT_EQ(info.st_mode & 0777, 0700U);
    const QString document = userSpool() + "/" + jobs.first() + "/document.pdf";
    QFile captured(document);
    ASSERT_TRUE(captured.open(QIODevice::ReadOnly));
    EXPECT_TRUE(captured.read(5) == "%PDF-");
}

TEST_F(FaxCaptureSystemTest, StartSendsTheCapturedJobToTheFaxQueueWithEveryEntry) {
    printAsUser(QStringLiteral("SuperFine"), {"-n", "2", "-o", "collate=false"});
    ASSERT_EQ(waitForCapturedJob().size(), 1) << harness_->errorLog().toStdString();

    const HostRun agent = runAgent(kWalkthrough);
    ASSERT_EQ(agent.exitCode, 0) << describe(agent);
    const int jobId = agent.jobId();
    ASSERT_GT(jobId, 0) << describe(agent);
    ASSERT_TRUE(harness_->waitForCapture(jobId)) << describe(agent);

    const auto options = harness_->capturedOptions(jobId);
    // Chosen in the application's print dialog, and in the fax panel at print time.
    EXPECT_EQ(options.value("TKFaxImageQuality"), "SuperFine");
    EXPECT_EQ(options.value("TKFaxCoverPageMode"), "Detailed");
    const QString prefix = QStringLiteral("tarvik.print.printsettings.");
    EXPECT_EQ(options.value(prefix + "VTelCoverSenderName"), "Dana Whitfield");
    EXPECT_EQ(options.value(prefix + "VTelDestinationNumber"), "2");
    EXPECT_EQ(options.value(prefix + "VTelDestinationName1"), "Northwind Office");
    EXPECT_FALSE(options.value(prefix + "VTelPassword").isEmpty());
    EXPECT_TRUE(harness_->capturedDocument(jobId).startsWith("%PDF-"));
    const auto attributes = harness_->jobAttributes(jobId);
    EXPECT_EQ(attributes.value("job-name"), "Quarterly report");
    // Given to lp, left by the capture queue's filters to the printer: they go on.
    EXPECT_EQ(attributes.value("copies"), "2");
    EXPECT_EQ(attributes.value("collate"), "false")
        << QStringList(attributes.keys()).join(' ').toStdString()
        << QStringList(options.keys()).join(' ').toStdString();
    EXPECT_TRUE(QDir(userSpool()).isEmpty()) << "the sent job was not removed";
}

// A capture queue whose URI names no queue of the scheduler: the job never shows as done, the
// queue says why, and nothing lands in the spool.
TEST_F(FaxCaptureSystemTest, ACaptureQueueNamingNoQueueStopsWithTheReason) {
    int status = 0;
    const QString made = run(QStringLiteral("lpadmin"),
                             {"-h", harness_->server(), "-p", "broken-capture", "-E", "-v",
                              "vextel-fax:/NoSuchQueue", "-P", kPpd},
                             &status);
    ASSERT_EQ(status, 0) << made.toStdString();
    const QString printed = run(
        QStringLiteral("lp"),
        {"-h", harness_->server(), "-d", "broken-capture", "-U", user_->name(), kSample}, &status);
    ASSERT_EQ(status, 0) << printed.toStdString();
    const int jobId = QRegularExpression(QStringLiteral("broken-capture-(\\d+)"))
                          .match(printed)
                          .captured(1)
                          .toInt();
    QString queueState;
    QElapsedTimer timer;
    timer.start();
    while (!queueState.contains(QLatin1String("does not exist")) && timer.elapsed() < 20000) {
        QThread::msleep(200);
        queueState = run(QStringLiteral("lpstat"),
                         {"-h", harness_->server(), "-l", "-p", "broken-capture"}, &status);
    }
    EXPECT_TRUE(queueState.contains(
        QLatin1String("the fax queue \"NoSuchQueue\" does not exist on this scheduler")))
        << queueState.toStdString() << harness_->errorLog().right(3000).toStdString();
    const QString jobState = harness_->jobAttributes(jobId).value("job-state");
    EXPECT_NE(jobState, "completed");
    EXPECT_NE(jobState, "9");
    EXPECT_FALSE(QFileInfo::exists(userSpool())) << jobState.toStdString();
}

TEST_F(FaxCaptureSystemTest, JobsWaitTheirTurnAndGoOutOldestFirst) {
    printAsUser(QStringLiteral("Fine"));
    ASSERT_EQ(waitForCapturedJob().size(), 1) << harness_->errorLog().toStdString();
    printAsUser(QStringLiteral("Photo"));
    QElapsedTimer timer;
    timer.start();
    while (QDir(userSpool()).entryList({QStringLiteral("job-*")}, QDir::Dirs).size() < 2 &&
           timer.elapsed() < 20000) {
        QThread::msleep(100);
    }

    const HostRun agent = runAgent(kWalkthrough);
    ASSERT_EQ(agent.exitCode, 0) << describe(agent);
    const auto sent =
        QRegularExpression(QStringLiteral("job (\\d+) sent to the queue")).globalMatch(agent.out);
    QStringList qualities;
    for (auto it = sent; it.hasNext();) {
        const int jobId = it.next().captured(1).toInt();
        ASSERT_TRUE(harness_->waitForCapture(jobId)) << describe(agent);
        qualities.append(harness_->capturedOptions(jobId).value("TKFaxImageQuality"));
    }
    EXPECT_EQ(qualities, QStringList({"Fine", "Photo"})) << describe(agent);
    EXPECT_TRUE(QDir(userSpool()).isEmpty());
}

// Reads the process's output until it holds the text count times; false after the timeout.
bool waitForOutput(QProcess& process, QByteArray& out, const QByteArray& text, int count = 1,
                   int timeoutMs = 60000) {
    QElapsedTimer timer;
    timer.start();
    while (out.count(text) < count && timer.elapsed() < timeoutMs &&
           process.state() == QProcess::Running) {
        process.waitForReadyRead(500);
        out += process.readAllStandardOutput();
    }
    out += process.readAllStandardOutput();
    return out.count(text) >= count;
}

// The agent as log-in starts it (no --once): every job, one after the other, in one process,
// also after a dialog that the window manager closed.
TEST_F(FaxCaptureSystemTest, OneAgentHandlesEveryJobAndOutlivesAClosedDialog) {
    printAsUser(QStringLiteral("Fine"));
    ASSERT_EQ(waitForCapturedJob().size(), 1) << harness_->errorLog().toStdString();
    const QString closing = writeScript("close\n", QStringLiteral("close.script"));
    QProcess agent;
    agent.setProcessEnvironment(agentEnvironment());
    agent.start(QStringLiteral("setpriv"),
                agentArguments({kWalkthrough, closing, kWalkthrough}, false));
    ASSERT_TRUE(agent.waitForStarted());
    // Stopped by its process id however the test ends.
    const std::unique_ptr<QProcess, void (*)(QProcess*)> stopAtEnd(&agent, [](QProcess* process) {
        process->terminate();
        if (!process->waitForFinished(10000)) {
            process->kill();
            process->waitForFinished();
        }
    });
    QByteArray out;
    ASSERT_TRUE(waitForOutput(agent, out, "sent to the queue")) << out.toStdString();
    printAsUser(QStringLiteral("Photo"));
    ASSERT_TRUE(waitForOutput(agent, out, "the job was cancelled")) << out.toStdString();
    printAsUser(QStringLiteral("SuperFine"));
    const bool third = waitForOutput(agent, out, "sent to the queue", 2);
    const bool stillRunning = agent.state() == QProcess::Running;
    out += agent.readAllStandardOutput();
    const std::string shown = out.toStdString() + agent.readAllStandardError().toStdString();
    ASSERT_TRUE(third) << shown;
    EXPECT_TRUE(stillRunning) << shown;
    EXPECT_EQ(out.count("fax job \"Quarterly report\""), 3) << shown;
    QStringList qualities;
    for (auto it = QRegularExpression(QStringLiteral("job (\\d+) sent to the queue"))
                       .globalMatch(QString::fromUtf8(out));
         it.hasNext();) {
        const int jobId = it.next().captured(1).toInt();
        ASSERT_TRUE(harness_->waitForCapture(jobId)) << shown;
        qualities.append(harness_->capturedOptions(jobId).value("TKFaxImageQuality"));
    }
    EXPECT_EQ(qualities, QStringList({"Fine", "SuperFine"})) << shown;
    EXPECT_TRUE(QDir(userSpool()).isEmpty()) << shown;
}

TEST_F(FaxCaptureSystemTest, AnAgentKilledWithTheDialogOpenLosesNoJob) {
    printAsUser(QStringLiteral("Fine"));
    const QStringList captured = waitForCapturedJob();
    ASSERT_EQ(captured.size(), 1) << harness_->errorLog().toStdString();

    QProcess agent;
    agent.setProcessEnvironment(agentEnvironment());
    agent.start(QStringLiteral("setpriv"),
                agentArguments(writeScript("panel \"Fax Settings\"\nwait 60\n")));
    QElapsedTimer timer;
    timer.start();
    QByteArray out;
    while (!out.contains("fax job \"Quarterly report\"") && timer.elapsed() < 30000) {
        agent.waitForReadyRead(500);
        out += agent.readAllStandardOutput();
    }
    ASSERT_TRUE(out.contains("fax job")) << out.toStdString();
    QThread::msleep(500);
    ::kill(static_cast<pid_t>(agent.processId()), SIGKILL);
    agent.waitForFinished();

    EXPECT_EQ(QDir(userSpool()).entryList({QStringLiteral("job-*")}, QDir::Dirs), captured);
    const HostRun again = runAgent(kWalkthrough);
    ASSERT_EQ(again.exitCode, 0) << describe(again);
    EXPECT_GT(again.jobId(), 0) << describe(again);
    EXPECT_TRUE(QDir(userSpool()).isEmpty());
}

TEST_F(FaxCaptureSystemTest, SendAsFaxFindsTheFaxPrinterAndNotTheCaptureQueue) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("VEXTEL_PDE_PATH"));
    environment.insert(QStringLiteral("HOME"), home_.path());
    const HostRun run = vextel_test::runHost(
        {"--server", harness_->socketPath(), "--fax", "--script", kWalkthrough, kSample},
        environment);
    ASSERT_EQ(run.exitCode, 0) << describe(run);
    EXPECT_TRUE(run.out.contains("sent to the queue " + harness_->queue())) << describe(run);
}

TEST_F(FaxCaptureSystemTest, StopLeavesNothingBehind) {
    printAsUser(QStringLiteral("Fine"));
    ASSERT_EQ(waitForCapturedJob().size(), 1) << harness_->errorLog().toStdString();

    const HostRun agent = runAgent(writeScript("print\n"
                                               "type addressNameTextField \"Ada Lovelace\"\n"
                                               "type addressPhoneNumberTextField 0207946001\n"
                                               "press Add\n"
                                               "press Stop\n"));
    EXPECT_EQ(agent.exitCode, 0) << describe(agent);
    EXPECT_EQ(agent.jobId(), 0) << describe(agent);
    EXPECT_TRUE(QDir(userSpool()).isEmpty()) << describe(agent);
    EXPECT_TRUE(QDir(harness_->captureFolder()).isEmpty()) << "the fax queue got a job";
}

} // namespace
