// One desktop to an office: the fax queue lives on a print server's scheduler, the desktop's
// scheduler holds only the capture queue, whose URI names the server. lp on the desktop ends as a
// job on the server's fax queue with every fax option, sent by the agent of the desktop's user.
#include "CupsdHarness.h"
#include "support/EnvironmentScope.h"
#include "support/HostRun.h"
#include "support/LocalUser.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace {

using vextel_test::CupsdHarness;

const QString kPpd = QStringLiteral(VEXTEL_SOURCE_DIR "/resources/ppd/Tarvik-M40-Vextel-Fax.ppd");
const QString kWalkthrough =
    QStringLiteral(VEXTEL_SOURCE_DIR "/resources/scripts/walkthrough.script");
const QString kSample = QStringLiteral(VEXTEL_SOURCE_DIR "/resources/samples/fax-sample.pdf");

QString run(const QString& program, const QStringList& arguments, int* exitCode) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    process.waitForFinished(30000);
    *exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return QString::fromLocal8Bit(process.readAll());
}

TEST(OfficeFaxSystemTest, ADesktopsCaptureQueueSendsToTheFaxQueueOfThePrintServer) {
    QString reason = CupsdHarness::unavailableReason();
    if (reason.isEmpty()) {
        reason = vextel_test::LocalUser::unavailableReason();
    }
    if (!reason.isEmpty()) {
        GTEST_SKIP() << reason.toStdString();
    }
    // A person of the office, with an account of their own on the desktop.
    const vextel_test::LocalUser user(QStringLiteral("office"));
    ASSERT_TRUE(user.isMade()) << user.error().toStdString();
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    ASSERT_EQ(chown(QFile::encodeName(home.path()).constData(), user.uid(), user.gid()), 0);

    // The print server's fax queue stands in for the fax printer and keeps what it receives.
    const CupsdHarness server(kPpd, QStringLiteral("M40"));
    ASSERT_TRUE(server.isRunning()) << server.startError().toStdString();
    const vextel_test::EnvironmentScope backend(
        "VEXTEL_FAX_BACKEND",
        QFile::encodeName(QStringLiteral(VEXTEL_BINARY_DIR "/bin/vextel-fax")));
    const CupsdHarness desktop(kPpd, QStringLiteral("desktop-printer"));
    ASSERT_TRUE(desktop.isRunning()) << desktop.startError().toStdString();
    int status = 0;
    const QString made = run(QStringLiteral("lpadmin"),
                             {"-h", desktop.server(), "-p", "Fax", "-E", "-v",
                              "vextel-fax://" + server.server() + "/M40", "-P", kPpd},
                             &status);
    ASSERT_EQ(status, 0) << made.toStdString();
    const QString setup = run(QStringLiteral(VEXTEL_BINARY_DIR "/bin/vextel-fax-setup"),
                              {"--server", desktop.socketPath(), "Fax"}, &status);
    ASSERT_EQ(status, 0) << setup.toStdString();

    // As the user, through the desktop scheduler's local socket, where it knows who prints.
    const QString printed = run(
        QStringLiteral("setpriv"),
        user.asUser() + QStringList{"lp", "-h", desktop.socketPath(), "-d", "Fax", "-t",
                                    "Quarterly report", "-n", "2", "-o", "TKFaxImageQuality=Photo",
                                    "-o", "TKFaxTransmissionReport=Always", kSample},
        &status);
    ASSERT_EQ(status, 0) << printed.toStdString();
    const QString spool = desktop.faxSpool() + QLatin1Char('/') + user.name();
    QElapsedTimer timer;
    timer.start();
    while (QDir(spool).entryList({QStringLiteral("job-*")}, QDir::Dirs).isEmpty() &&
           timer.elapsed() < 20000) {
        QThread::msleep(100);
    }

    // The desktop user's agent, with no --server: the job names its fax queue's scheduler.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("VEXTEL_PDE_PATH"));
    environment.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    environment.remove(QStringLiteral("CUPS_SERVER"));
    environment.insert(QStringLiteral("HOME"), home.path());
    environment.insert(QStringLiteral("VEXTEL_FAX_SPOOL"), desktop.faxSpool());
    const auto agent =
        vextel_test::runProgram(QStringLiteral("setpriv"),
                                user.asUser() + QStringList{vextel_test::hostProgram(), "--agent",
                                                            "--once", "--script", kWalkthrough},
                                environment, 90000);
    const std::string shown =
        (agent.out + agent.err + desktop.errorLog().right(2000)).toStdString();
    ASSERT_EQ(agent.exitCode, 0) << shown;
    const int jobId = agent.jobId();
    ASSERT_GT(jobId, 0) << shown;
    ASSERT_TRUE(server.waitForCapture(jobId)) << shown;

    const auto options = server.capturedOptions(jobId);
    const QString prefix = QStringLiteral("tarvik.print.printsettings.");
    EXPECT_EQ(options.value("TKFaxImageQuality"), "Photo");
    EXPECT_EQ(options.value("TKFaxTransmissionReport"), "Always");
    EXPECT_EQ(options.value("TKFaxCoverPageMode"), "Detailed");
    EXPECT_EQ(options.value(prefix + "VTelCoverSenderName"), "Dana Whitfield");
    EXPECT_EQ(options.value(prefix + "VTelDestinationNumber"), "2");
    EXPECT_EQ(options.value(prefix + "VTelDestinationPhoneNumber1"), "0312345678");
    EXPECT_EQ(options.value(prefix + "VTelDelayedPrint"), "1");
    EXPECT_FALSE(options.value(prefix + "VTelPassword").isEmpty());
    const auto attributes = server.jobAttributes(jobId);
    EXPECT_EQ(attributes.value("job-name"), "Quarterly report");
    EXPECT_EQ(attributes.value("copies"), "2");
    EXPECT_EQ(attributes.value("job-originating-user-name"), user.name());
    EXPECT_TRUE(server.capturedDocument(jobId).startsWith("%PDF-"));
    EXPECT_TRUE(QDir(spool).isEmpty()) << shown;
}

} // namespace
