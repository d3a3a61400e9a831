// Two local users on one computer whose fax queues are set up as the README tells an
// administrator (vextel-fax-setup): one user cannot read another's fax settings through the
// scheduler, nor put a fax job on another's desktop; each still works with their own jobs.
#include "CupsdHarness.h"
#include "faxspool/FaxSpool.h"
#include "support/EnvironmentScope.h"
#include "support/HostRun.h"
#include "support/LocalUser.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QThread>
#include <grp.h>
#include <gtest/gtest.h>
#include <memory>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using vextel_test::CupsdHarness;
using vextel_test::HostRun;
using vextel_test::LocalUser;

const QString kPpd = QStringLiteral(VEXTEL_SOURCE_DIR "/resources/ppd/Tarvik-M40-Vextel-Fax.ppd");
const QString kSample = QStringLiteral(VEXTEL_SOURCE_DIR "/resources/samples/fax-sample.pdf");
const QString kBackend = QStringLiteral(VEXTEL_BINARY_DIR "/bin/vextel-fax");
const QString kSetup = QStringLiteral(VEXTEL_BINARY_DIR "/bin/vextel-fax-setup");
const QString kCaptureQueue = QStringLiteral("fax-capture");

const QString kPrefix = QStringLiteral("tarvik.print.printsettings.");

class FaxPrivacySystemTest : public ::testing::Test {
protected:
    void SetUp() override {
        QString reason = CupsdHarness::unavailableReason();
        if (reason.isEmpty()) {
            reason = LocalUser::unavailableReason();
        }
        if (!reason.isEmpty()) {
            GTEST_SKIP() << reason.toStdString();
        }
        alice_ = std::make_unique<LocalUser>(QStringLiteral("alice"));
        bob_ = std::make_unique<LocalUser>(QStringLiteral("bob"));
        ASSERT_TRUE(alice_->isMade()) << alice_->error().toStdString();
        ASSERT_TRUE(bob_->isMade()) << bob_->error().toStdString();
        const vextel_test::EnvironmentScope backend("VEXTEL_FAX_BACKEND",
                                                    QFile::encodeName(kBackend));
        harness_ = std::make_unique<CupsdHarness>(kPpd);
        ASSERT_TRUE(harness_->isRunning()) << harness_->startError().toStdString();
        // The harness's folder must be walkable for the users' clients to reach its socket.
        const HostRun made =
            asRoot("lpadmin", {"-h", harness_->socketPath(), "-p", kCaptureQueue, "-E", "-v",
                               "vextel-fax:/" + harness_->queue(), "-P", kPpd});
        ASSERT_EQ(made.exitCode, 0) << made.err.toStdString();
        const HostRun setup = vextel_test::runProgram(
            kSetup, {"--server", harness_->socketPath(), harness_->queue(), kCaptureQueue},
            QProcessEnvironment::systemEnvironment(), 90000);
        ASSERT_EQ(setup.exitCode, 0)
            << setup.err.toStdString() << harness_->errorLog().right(3000).toStdString();
    }

    static HostRun asRoot(const QString& program, const QStringList& arguments) {
        return vextel_test::runProgram(program, arguments, QProcessEnvironment::systemEnvironment(),
                                       60000);
    }
    static HostRun as(const LocalUser& user, const QStringList& command) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("HOME"), QStringLiteral("/nonexistent"));
        return vextel_test::runProgram(QStringLiteral("setpriv"), user.asUser() + command,
                                       environment, 60000);
    }

    // lp's job id ("request id is QUEUE-N"), or 0 when it was refused.
    static int jobIdOf(const HostRun& lp) {
        const auto match =
            QRegularExpression(QStringLiteral("request id is \\S+-(\\d+)")).match(lp.out);
        return lp.exitCode == 0 && match.hasMatch() ? match.captured(1).toInt() : 0;
    }

    // Get-Job-Attributes asked by user (their own process) through server, in the name of
    // requestingUser: the answer's attributes as "name=value" lines.
    static QString jobAttributesAs(const LocalUser& user, const QString& server, int jobId,
                                   const QString& requestingUser) {
        int fds[2];
        if (pipe(fds) != 0) {
            return QStringLiteral("<no pipe>");
        }
        const pid_t child = fork();
        if (child == 0) {
            close(fds[0]);
            if (setgroups(0, nullptr) != 0 || setgid(user.gid()) != 0 || setuid(user.uid()) != 0) {
                _exit(1);
            }
            QStringList lines;
            const auto attributes =
                CupsdHarness::requestJobAttributes(server, jobId, requestingUser);
            for (auto it = attributes.begin(); it != attributes.end(); ++it) {
                lines.append(it.key() + QLatin1Char('=') + it.value());
            }
            const QByteArray text = lines.join(QLatin1Char('\n')).toUtf8();
            const bool written =
                write(fds[1], text.constData(), static_cast<size_t>(text.size())) == text.size();
            _exit(written ? 0 : 1);
        }
        close(fds[1]);
        QByteArray text;
        char buffer[4096];
        for (ssize_t got; (got = read(fds[0], buffer, sizeof buffer)) > 0;) {
            text.append(buffer, got);
        }
        close(fds[0]);
        waitpid(child, nullptr, 0);
        return QString::fromUtf8(text);
    }

    QString spoolOf(const LocalUser& user) const {
        return harness_->faxSpool() + QLatin1Char('/') + user.name();
    }
    bool waitForJobIn(const QString& folder) const {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 20000) {
            if (!faxspool::waitingJobs(folder.toStdString()).empty()) {
                return true;
            }
            QThread::msleep(100);
        }
        return false;
    }
    // Waits until the scheduler has finished with the job (completed, cancelled or aborted).
    bool waitForJobEnd(int jobId) const {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 20000) {
            const QString state = harness_->jobAttributes(jobId).value("job-state");
            if (state == "completed" || state == "canceled" || state == "aborted") {
                return true;
            }
            QThread::msleep(100);
        }
        return false;
    }

    std::unique_ptr<LocalUser> alice_;
    std::unique_ptr<LocalUser> bob_;
    std::unique_ptr<CupsdHarness> harness_;
};

TEST_F(FaxPrivacySystemTest, AnotherUserReadsNothingOfAFaxJobAndItsOwnerReadsItsState) {
    QStringList lp = {
        "lp", "-h", harness_->socketPath(), "-d", harness_->queue(), "-t", "Fax to Lovelace"};
    lp << "-o" << kPrefix + "VTelPassword=RV5IRQ=="
       << "-o" << kPrefix + "VTelDestinationName1=Lovelace"
       << "-o" << kPrefix + "VTelDestinationPhoneNumber1=0207946001"
       << "-o" << kPrefix + "VTelCoverSenderName=Whitfield" << kSample;
    const HostRun sent = as(*alice_, lp);
    const int jobId = jobIdOf(sent);
    ASSERT_GT(jobId, 0) << sent.err.toStdString();

    const struct {
        const char* label;
        QString server;
        QString claimed;
    } kOthers[] = {
        {"as themself on the local socket", harness_->socketPath(), bob_->name()},
        {"claiming the owner's name on the local socket", harness_->socketPath(), alice_->name()},
        {"claiming the owner's name over the network", harness_->server(), alice_->name()},
    };
    for (const auto& other : kOthers) {
        const QString answer = jobAttributesAs(*bob_, other.server, jobId, other.claimed);
        EXPECT_EQ(answer, QString()) << other.label << ":\n" << answer.toStdString();
    }
    const QString own = jobAttributesAs(*alice_, harness_->socketPath(), jobId, alice_->name());
    EXPECT_TRUE(own.contains(QRegularExpression(QStringLiteral("(^|\\n)job-state=[a-z]+"))))
        << own.toStdString();
    EXPECT_TRUE(own.contains(kPrefix + "VTelDestinationName1=Lovelace")) << own.toStdString();
}

TEST_F(FaxPrivacySystemTest, AFaxJobReachesOnlyTheDesktopOfWhoReallySentIt) {
    // Bob, in Alice's name, on either way in: refused by the scheduler.
    for (const QString& server : {harness_->socketPath(), harness_->server()}) {
        const HostRun planted = as(*bob_, {"lp", "-h", server, "-d", kCaptureQueue, "-U",
                                           alice_->name(), "-t", "planted", kSample});
        EXPECT_EQ(jobIdOf(planted), 0) << server.toStdString() << planted.out.toStdString();
    }
    // A job in a system account's name (only root may claim one) reaches no spool folder.
    const HostRun daemonJob = asRoot("lp", {"-h", harness_->socketPath(), "-d", kCaptureQueue, "-U",
                                            "daemon", "-t", "system", kSample});
    if (const int jobId = jobIdOf(daemonJob); jobId > 0) {
        EXPECT_TRUE(waitForJobEnd(jobId)) << harness_->errorLog().right(3000).toStdString();
        EXPECT_EQ(harness_->jobAttributes(jobId).value("job-state"), QStringLiteral("canceled"));
    } else {
        EXPECT_TRUE(daemonJob.err.contains("Unauthorized")) << daemonJob.err.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(harness_->faxSpool() + QStringLiteral("/daemon")));

    // Alice's own job lands in her folder, the only job there.
    const HostRun own = as(
        *alice_, {"lp", "-h", harness_->socketPath(), "-d", kCaptureQueue, "-t", "own", kSample});
    ASSERT_GT(jobIdOf(own), 0) << own.err.toStdString();
    ASSERT_TRUE(waitForJobIn(spoolOf(*alice_))) << harness_->errorLog().right(3000).toStdString();
    const auto jobs = faxspool::waitingJobs(spoolOf(*alice_).toStdString());
    ASSERT_EQ(jobs.size(), 1U);
    std::string error;
    const auto job = faxspool::readJob(jobs.front(), &error);
    ASSERT_TRUE(job) << error;
    EXPECT_EQ(job->info.title, "own");
    EXPECT_EQ(job->info.user, alice_->name().toStdString());
    EXPECT_FALSE(QFileInfo::exists(spoolOf(*bob_)));
}

} // namespace
