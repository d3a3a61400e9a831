// How a fax leaves the computer: a PDF printed with lp to the fax capture queue goes through the
// desktop agent's dialogs to the fax queue, whose driver writes the printer's fax job, which the
// scheduler's socket backend takes to the simulated printer's job port. The printer's fax log
// shows every parameter as the dialog set it and each recipient's result; a job the driver or the
// printer cannot send fails with its reason.
#include "CupsdHarness.h"
#include "DeviceClient.h"
#include "support/EnvironmentScope.h"
#include "support/HostRun.h"
#include "support/LocalUser.h"
#include "support/PrinterSimProcess.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <memory>
#include <nlohmann/json.hpp>
#include <pwd.h>

namespace {

using vextel_test::CupsdHarness;
using vextel_test::HostRun;
using xdirkit::DeviceClient;
using xdirkit::DeviceEndpoint;

const QString kPpd = QStringLiteral(VEXTEL_SOURCE_DIR "/resources/ppd/Tarvik-M40-Vextel-Fax.ppd");
const QString kWalkthrough =
    QStringLiteral(VEXTEL_SOURCE_DIR "/resources/scripts/walkthrough.script");
const QString kSample = QStringLiteral(VEXTEL_SOURCE_DIR "/resources/samples/fax-sample.pdf");
const QString kBackend = QStringLiteral(VEXTEL_BINARY_DIR "/bin/vextel-fax");
const QString kFaxQueue = QStringLiteral("M40");
const QString kCaptureQueue = QStringLiteral("fax-capture");
const QString kSetup = QStringLiteral(VEXTEL_BINARY_DIR "/bin/vextel-fax-setup");
// The walkthrough's password; the printer's code.
const char kCode[] = "4321";
// One number of the walkthrough is busy at each of its two tries.
const char kDialPlan[] = "0207946001 busy 2\nseconds-per-page 1\nretry-interval 10\n";

std::string dump(const QMap<QString, QString>& attributes) {
    QString text;
    for (auto it = attributes.begin(); it != attributes.end(); ++it)
        text += it.key() + QLatin1Char('=') + it.value() + QLatin1Char('\n');
    return text.toStdString();
}

QString run(const QString& program, const QStringList& arguments, int* exitCode) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    process.waitForFinished(30000);
    *exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return QString::fromLocal8Bit(process.readAll());
}

class FaxDeliverySystemTest : public ::testing::Test {
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
        ASSERT_EQ(chown(QFile::encodeName(home_.path()).constData(), uid_, gid_), 0);
        const vextel_test::EnvironmentScope backend("VEXTEL_FAX_BACKEND",
                                                    QFile::encodeName(kBackend));
        harness_ = std::make_unique<CupsdHarness>(kPpd);
        ASSERT_TRUE(harness_->isRunning()) << harness_->startError().toStdString();
    }

    // The printer, with its clock five times as fast from 21:25, and the fax queue on its job
    // port. Started just before the job goes out, so that the walkthrough's 21:30 is still ahead
    // on the printer's clock.
    void startPrinter() {
        const QString plan = home_.filePath(QStringLiteral("dial-plan"));
        QFile file(plan);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(kDialPlan);
        file.close();
        printer_ = std::make_unique<vextel_test::PrinterSimProcess>(
            R"({"individuals": [], "groups": []})",
            std::vector<std::string>{"--jobs-listen", "127.0.0.1:0", "--password", kCode,
                                     "--dial-plan", plan.toStdString(), "--clock-start", "21:25",
                                     "--clock-speed", "5"});
        ASSERT_FALSE(printer_->jobsAddress().empty()) << "the simulator did not start";
        addQueue(kFaxQueue, "socket://" + QString::fromStdString(printer_->jobsAddress()));
    }

    void addQueue(const QString& queue, const QString& uri) {
        int status = 0;
        const QString made =
            run(QStringLiteral("lpadmin"),
                {"-h", harness_->socketPath(), "-p", queue, "-E", "-v", uri, "-P", kPpd}, &status);
        ASSERT_EQ(status, 0) << made.toStdString();
    }

    // The fax queues set up as the README tells an administrator.
    void setUpPolicy() {
        int status = 0;
        const QString out =
            run(kSetup, {"--server", harness_->socketPath(), kFaxQueue, kCaptureQueue}, &status);
        ASSERT_EQ(status, 0) << out.toStdString();
    }

    // Prints the sample from the command line as the user, as any application would (through
    // the scheduler's local socket, where it knows who the user is); the job's id.
    int lp(const QString& queue, const QStringList& options = {}) {
        int status = 0;
        const QString out = run(QStringLiteral("setpriv"),
                                user_->asUser() +
                                    QStringList{"lp", "-h", harness_->socketPath(), "-d", queue,
                                                "-t", "Quarterly report"} +
                                    options + QStringList{kSample},
                                &status);
        EXPECT_EQ(status, 0) << out.toStdString();
        const qsizetype dash = out.indexOf(queue + QLatin1Char('-'));
        return dash < 0 ? 0
                        : out.mid(dash + queue.size() + 1).section(QLatin1Char(' '), 0, 0).toInt();
    }

    // The job's attributes once the scheduler is done with it (or after a minute).
    QMap<QString, QString> finishedJob(int jobId) const {
        const QStringList done{"completed", "processing-stopped", "aborted", "canceled"};
        QElapsedTimer timer;
        timer.start();
        QMap<QString, QString> job = harness_->jobAttributes(jobId);
        while (!done.contains(job.value("job-state")) && timer.elapsed() < 60000) {
            QThread::msleep(200);
            job = harness_->jobAttributes(jobId);
        }
        return job;
    }

    // The printer's fax log entry of a job, once it is final (or after two minutes).
    nlohmann::json faxLogEntry(const QString& jobUuid, bool waitUntilFinal) const {
        DeviceClient client(DeviceEndpoint{"127.0.0.1", printer_->port()});
        QElapsedTimer timer;
        timer.start();
        for (;;) {
            const auto read = client.readFaxJob(jobUuid.toStdString(), kCode);
            const nlohmann::json entry = read.outcome == DeviceClient::Outcome::Ok
                                             ? nlohmann::json::parse(read.json, nullptr, false)
                                             : nlohmann::json();
            const bool final =
                entry.is_object() && (entry["state"] == "sent" || entry["state"] == "failed");
            if (!waitUntilFinal || final || timer.elapsed() > 120000)
                return entry;
            QThread::msleep(250);
        }
    }

    HostRun runAgent() const {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("VEXTEL_PDE_PATH"));
        environment.remove(QStringLiteral("XDG_RUNTIME_DIR"));
        environment.insert(QStringLiteral("HOME"), home_.path());
        environment.insert(QStringLiteral("VEXTEL_FAX_SPOOL"), harness_->faxSpool());
        return vextel_test::runProgram(QStringLiteral("setpriv"),
                                       {QStringLiteral("--reuid=%1").arg(uid_),
                                        QStringLiteral("--regid=%1").arg(gid_), "--clear-groups",
                                        vextel_test::hostProgram(), "--agent", "--once", "--server",
                                        harness_->socketPath(), "--script", kWalkthrough},
                                       environment, 90000);
    }

    void waitForCapturedJob() const {
        const QString spool = harness_->faxSpool() + QLatin1Char('/') + user_->name();
        QElapsedTimer timer;
        timer.start();
        while (QDir(spool).entryList({QStringLiteral("job-*")}, QDir::Dirs).isEmpty() &&
               timer.elapsed() < 20000) {
            QThread::msleep(100);
        }
    }

    std::string describe(const HostRun& run) const {
        return QStringLiteral("exit %1\nstdout:\n%2\nstderr:\n%3\nscheduler log:\n%4")
            .arg(run.exitCode)
            .arg(run.out, run.err, harness_->errorLog())
            .toStdString();
    }

    std::unique_ptr<vextel_test::LocalUser> user_;
    QTemporaryDir home_;
    uid_t uid_ = 0;
    gid_t gid_ = 0;
    std::unique_ptr<CupsdHarness> harness_;
    std::unique_ptr<vextel_test::PrinterSimProcess> printer_;
};

TEST_F(FaxDeliverySystemTest, TheDialogsFaxReachesThePrinterWithEveryParameterAndItsResult) {
    // The capture queue takes jobs only for a fax queue that exists; the printer's port is set
    // when the printer starts.
    addQueue(kFaxQueue, QStringLiteral("socket://127.0.0.1:9"));
    addQueue(kCaptureQueue, "vextel-fax:/" + kFaxQueue);
    setUpPolicy();
    lp(kCaptureQueue, {"-o", "TKFaxImageQuality=SuperFine"});
    waitForCapturedJob();
    startPrinter();

    const HostRun agent = runAgent();
    ASSERT_EQ(agent.exitCode, 0) << describe(agent);
    const int jobId = agent.jobId();
    ASSERT_GT(jobId, 0) << describe(agent);
    const auto job = finishedJob(jobId);
    ASSERT_EQ(job.value("job-state"), "completed") << describe(agent);

    const nlohmann::json entry = faxLogEntry(job.value("job-uuid"), true);
    ASSERT_TRUE(entry.is_object()) << describe(agent);
    EXPECT_EQ(entry["jobId"], jobId);
    EXPECT_EQ(entry["user"], user_->name().toStdString());
    EXPECT_EQ(entry["title"], "Quarterly report");
    EXPECT_EQ(entry["imageQuality"], "SuperFine");
    EXPECT_EQ(entry["coverPage"], "Detailed");
    EXPECT_EQ(entry["senderMode"], "EnterName");
    EXPECT_EQ(entry["senderName"], "Dana Whitfield");
    EXPECT_EQ(entry["transmissionReport"], "OnError");
    // The scrambled password reached the printer, which unscrambled it to its own code.
    EXPECT_EQ(entry["passwordChecked"], true);
    EXPECT_EQ(entry["delayedSend"], true);
    EXPECT_EQ(entry["delayedTime"], "21:30");
    EXPECT_EQ(entry["sendAt"].get<std::string>().substr(11), "21:30:00");
    // The recipients in the job's numbering, and what the dial plan made of them.
    const auto& recipients = entry["recipients"];
    ASSERT_EQ(recipients.size(), 2u) << entry.dump();
    EXPECT_EQ(recipients[0]["number"], 1);
    EXPECT_EQ(recipients[0]["name"], "Northwind Office");
    EXPECT_EQ(recipients[0]["faxNumber"], "0312345678");
    EXPECT_EQ(recipients[0]["state"], "sent");
    EXPECT_EQ(recipients[1]["number"], 2);
    EXPECT_EQ(recipients[1]["name"], "Ada Lovelace");
    EXPECT_EQ(recipients[1]["faxNumber"], "0207946001");
    EXPECT_EQ(recipients[1]["state"], "busy");
    EXPECT_EQ(recipients[1]["tries"], 2);
    EXPECT_EQ(entry["state"], "failed");
}

TEST_F(FaxDeliverySystemTest, AJobTheDriverOrThePrinterCannotSendFailsWithItsReason) {
    startPrinter();
    // A plain lp to the fax queue, bypassing the dialog: no recipients, nothing reaches the
    // printer.
    const int plain = lp(kFaxQueue);
    ASSERT_GT(plain, 0);
    const auto plainJob = finishedJob(plain);
    EXPECT_EQ(plainJob.value("job-state"), "processing-stopped")
        << harness_->errorLog().toStdString();
    EXPECT_TRUE(plainJob.value("job-printer-state-message")
                    .startsWith("Fax not sent: the job has no fax recipients"))
        << dump(plainJob);
    EXPECT_TRUE(faxLogEntry(plainJob.value("job-uuid"), false).is_null());

    // A password that is not the printer's code: the printer refuses the ticket.
    const QString script = home_.filePath(QStringLiteral("wrong-password.script"));
    QFile file(script);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("panel \"Fax Settings\"\n"
               "type senderNameTextEdit \"Dana Whitfield\"\n"
               "print\n"
               "type addressNameTextField \"Ada Lovelace\"\n"
               "type addressPhoneNumberTextField 0312345678\n"
               "press Add\n"
               "type passwordTextField 1111\n"
               "press Start\n");
    file.close();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("VEXTEL_PDE_PATH"));
    environment.insert(QStringLiteral("HOME"), home_.path());
    const HostRun host = vextel_test::runHost(
        {"--server", harness_->server(), "--printer", kFaxQueue, "--script", script, kSample},
        environment);
    ASSERT_EQ(host.exitCode, 0) << describe(host);
    const auto refused = finishedJob(host.jobId());
    EXPECT_EQ(refused.value("job-state"), "processing-stopped") << describe(host);
    EXPECT_EQ(refused.value("job-printer-state-message"),
              "The printer refused the fax: the password is not the printer's code "
              "(wrong-password)")
        << describe(host);
    EXPECT_TRUE(faxLogEntry(refused.value("job-uuid"), false).is_null());
}

} // namespace
