// A fax job end to end: the walkthrough script drives vextel-print and the plug-in, the job goes
// to a queue of a private scheduler, and the capture backend and IPP show what the driver would
// get.
#include "CupsdHarness.h"
#include "support/HostRun.h"
#include "vextelpde/JobParameterKeys.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace {

using tarvik_pde_m40vextel::jobParameterKey;
using tarvik_pde_m40vextel::kVTelCoverSenderName;
using tarvik_pde_m40vextel::kVTelDelayedTime;
using tarvik_pde_m40vextel::kVTelDestinationName;
using tarvik_pde_m40vextel::kVTelPassword;
using vextel_test::CupsdHarness;
using vextel_test::HostRun;

const QString kPpd = QStringLiteral(VEXTEL_SOURCE_DIR "/resources/ppd/Tarvik-M40-Vextel-Fax.ppd");
const QString kWalkthrough =
    QStringLiteral(VEXTEL_SOURCE_DIR "/resources/scripts/walkthrough.script");
const QString kSample = QStringLiteral(VEXTEL_SOURCE_DIR "/resources/samples/fax-sample.pdf");
const QString kPrefix = QLatin1String(tarvik_pde_m40vextel::kJobParameterPrefix);

class VextelPrintSystemTest : public ::testing::Test {
protected:
    void SetUp() override {
        const QString reason = CupsdHarness::unavailableReason();
        if (!reason.isEmpty()) {
            GTEST_SKIP() << reason.toStdString();
        }
        ASSERT_TRUE(home.isValid());
        ASSERT_TRUE(QFileInfo(vextel_test::hostProgram()).isExecutable())
            << vextel_test::hostProgram().toStdString();
        // The fixture owns the scheduler: however a test ends, its destructor stops cupsd and
        // removes the folder.
        harness = std::make_unique<CupsdHarness>(kPpd);
        ASSERT_TRUE(harness->isRunning()) << harness->startError().toStdString();
    }

    HostRun print(const QString& scriptPath) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("VEXTEL_PDE_PATH"));
        environment.remove(QStringLiteral("CUPS_SERVER"));
        environment.insert(QStringLiteral("HOME"), home.path());
        environment.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
        return vextel_test::runHost({"--server", harness->server(), "--printer", harness->queue(),
                                     "--script", scriptPath, kSample},
                                    environment);
    }

    std::string describe(const HostRun& run) const {
        return QStringLiteral("exit %1\nstdout:\n%2\nstderr:\n%3\nscheduler log:\n%4")
            .arg(run.exitCode)
            .arg(run.out, run.err, harness->errorLog())
            .toStdString();
    }

    QByteArray rawOptions(int jobId) const {
        QFile file(QStringLiteral("%1/job-%2/options").arg(harness->captureFolder()).arg(jobId));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir home;
    std::unique_ptr<CupsdHarness> harness;
};

TEST_F(VextelPrintSystemTest, WalkthroughReachesTheBackendAndIppWithEveryFaxEntry) {
    const HostRun run = print(kWalkthrough);
    ASSERT_EQ(run.exitCode, 0) << describe(run);
    const int jobId = run.jobId();
    ASSERT_GT(jobId, 0) << describe(run);
    ASSERT_TRUE(harness->waitForCapture(jobId).has_value()) << describe(run);
    EXPECT_FALSE(harness->capturedDocument(jobId).isEmpty());

    // What the walkthrough produced, as the host reports it.
    QMap<QString, QString> faxEntries;
    const auto printed = run.printedOptions();
    for (auto it = printed.begin(); it != printed.end(); ++it) {
        if (it.key().startsWith(kPrefix)) {
            faxEntries.insert(it.key(), it.value());
        }
    }
    const QStringList expectedNames = {"VTelCoverSenderName",        "VTelPassword",
                                       "VTelDelayedPrint",           "VTelDelayedTime",
                                       "VTelDestinationNumber",      "VTelDestinationName1",
                                       "VTelDestinationName2",       "VTelDestinationPhoneNumber1",
                                       "VTelDestinationPhoneNumber2"};
    ASSERT_EQ(faxEntries.size(), expectedNames.size()) << describe(run);
    for (const QString& name : expectedNames) {
        EXPECT_TRUE(faxEntries.contains(kPrefix + name)) << name.toStdString();
    }
    EXPECT_EQ(faxEntries.value(jobParameterKey(kVTelCoverSenderName)), "Dana Whitfield");
    EXPECT_EQ(faxEntries.value(jobParameterKey(kVTelDestinationName, 1)), "Northwind Office");
    EXPECT_EQ(faxEntries.value(jobParameterKey(kVTelDestinationName, 2)), "Ada Lovelace");
    EXPECT_EQ(faxEntries.value(jobParameterKey(kVTelDelayedTime)), "21:30");

    // The output says only that a password is set; the job carries it scrambled.
    const auto captured = harness->capturedOptions(jobId);
    EXPECT_EQ(faxEntries.value(jobParameterKey(kVTelPassword)), "(set)");
    const QString password = captured.value(jobParameterKey(kVTelPassword));
    EXPECT_FALSE(password.isEmpty());
    EXPECT_FALSE(run.out.contains(password)) << describe(run);
    faxEntries.insert(jobParameterKey(kVTelPassword), password);

    // The backend's argv[5]: every entry, blanks escaped by a backslash, "=" in values kept.
    for (auto it = faxEntries.begin(); it != faxEntries.end(); ++it) {
        EXPECT_EQ(captured.value(it.key()), it.value()) << it.key().toStdString();
    }
    const QByteArray raw = rawOptions(jobId);
    EXPECT_TRUE(raw.contains("VTelCoverSenderName=Dana\\ Whitfield")) << raw.toStdString();
    EXPECT_TRUE(raw.contains("VTelDestinationName1=Northwind\\ Office")) << raw.toStdString();
    EXPECT_TRUE(
        raw.contains(("VTelPassword=" + faxEntries.value(jobParameterKey(kVTelPassword))).toUtf8()))
        << raw.toStdString();
    // The panel's choice travels as a PPD option.
    EXPECT_EQ(captured.value("TKFaxCoverPageMode"), "Detailed");

    // The scheduler keeps them on the job, read back over IPP.
    const auto attributes = harness->jobAttributes(jobId);
    for (auto it = faxEntries.begin(); it != faxEntries.end(); ++it) {
        EXPECT_EQ(attributes.value(it.key()), it.value()) << it.key().toStdString();
    }
    EXPECT_EQ(attributes.value("job-name"), "fax-sample.pdf");
}

TEST_F(VextelPrintSystemTest, StopSendsNothingToTheQueue) {
    const QString script = home.filePath("stop.script");
    {
        QFile file(script);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("print\n"
                   "type addressNameTextField \"Ada Lovelace\"\n"
                   "type addressPhoneNumberTextField 0207946001\n"
                   "press Add\n"
                   "press Stop\n");
    }
    const HostRun run = print(script);
    EXPECT_EQ(run.exitCode, 1) << describe(run);
    EXPECT_EQ(run.jobId(), 0) << describe(run);
    EXPECT_TRUE(harness->jobAttributes(1).isEmpty()) << "the queue got a job";
}

} // namespace
