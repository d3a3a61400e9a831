// The private scheduler of the system tests: a job sent with the CUPS client API reaches the
// capture backend with its options intact, the scheduler reports them, and the harness leaves
// nothing behind.
#include "CupsdHarness.h"

#include "vextelpde/JobParameterKeys.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <csignal>
#include <cups/cups.h>
#include <gtest/gtest.h>

namespace vextel_test {
namespace {
using tarvik_pde_m40vextel::jobParameterKey;
using tarvik_pde_m40vextel::kVTelCoverSenderName;
using tarvik_pde_m40vextel::kVTelDestinationName;

const QString kPpd = QStringLiteral(VEXTEL_SOURCE_DIR "/resources/ppd/Tarvik-M40-Vextel-Fax.ppd");
const QByteArray kSenderKey = jobParameterKey(kVTelCoverSenderName).toUtf8();

// cupsSetServer is process-wide state: point it at the private scheduler for one scope.
class ServerScope {
public:
    explicit ServerScope(const QString& server) { cupsSetServer(server.toUtf8().constData()); }
    ~ServerScope() { cupsSetServer(nullptr); }
};

// Gone, or a zombie its adoptive parent has not reaped yet.
bool processGone(pid_t pid) {
    errno = 0;
    if (kill(pid, 0) == -1 && errno == ESRCH)
        return true;
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return true;
    const QList<QByteArray> fields = stat.readAll().split(' ');
    return fields.size() > 2 && fields.at(2) == "Z";
}

TEST(CupsdHarnessTest, OptionsArgumentIsSplitAtBlanksAndUnescaped) {
    const auto options = CupsdHarness::parseOptionsArgument(
        QStringLiteral("a=1 name=John\\ Q\\ Smith expr=x=y\\ z quote=\\\"q\\\" back=\\\\ flag"));
    EXPECT_EQ(options.value(QStringLiteral("a")), QStringLiteral("1"));
    EXPECT_EQ(options.value(QStringLiteral("name")), QStringLiteral("John Q Smith"));
    EXPECT_EQ(options.value(QStringLiteral("expr")), QStringLiteral("x=y z"));
    EXPECT_EQ(options.value(QStringLiteral("quote")), QStringLiteral("\"q\""));
    EXPECT_EQ(options.value(QStringLiteral("back")), QStringLiteral("\\"));
    EXPECT_TRUE(options.contains(QStringLiteral("flag")));
    EXPECT_EQ(options.size(), 6);
}

class CupsdHarnessSystemTest : public ::testing::Test {
protected:
    void SetUp() override {
        const QString reason = CupsdHarness::unavailableReason();
        if (!reason.isEmpty())
            GTEST_SKIP() << reason.toStdString();
        harness = std::make_unique<CupsdHarness>(kPpd);
        ASSERT_TRUE(harness->isRunning()) << harness->startError().toStdString();
    }

    std::unique_ptr<CupsdHarness> harness;
};

TEST_F(CupsdHarnessSystemTest, JobFromClientLibraryReachesBackendWithOptionsIntact) {
    QTemporaryDir work;
    ASSERT_TRUE(work.isValid());
    const QString documentPath = work.filePath(QStringLiteral("note.txt"));
    const QByteArray document("Fax body line 1\nline 2\n");
    {
        QFile file(documentPath);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(document);
    }

    cups_option_t* options = nullptr;
    int count = 0;
    count = cupsAddOption(kSenderKey.constData(), "John Q. Smith", count, &options);
    count = cupsAddOption(jobParameterKey(kVTelDestinationName, 1).toUtf8().constData(), "a=b c",
                          count, &options);
    // Raw: the document goes to the backend unfiltered, so its bytes can be compared.
    count = cupsAddOption("raw", "true", count, &options);
    int jobId = 0;
    {
        ServerScope scope(harness->server());
        jobId = cupsPrintFile2(CUPS_HTTP_DEFAULT, harness->queue().toUtf8().constData(),
                               documentPath.toUtf8().constData(), "harness job", count, options);
    }
    cupsFreeOptions(count, options);
    ASSERT_GT(jobId, 0) << cupsLastErrorString() << "\n" << harness->errorLog().toStdString();

    ASSERT_TRUE(harness->waitForCapture(jobId).has_value()) << harness->errorLog().toStdString();
    EXPECT_EQ(harness->capturedDocument(jobId), document);

    const auto captured = harness->capturedOptions(jobId);
    EXPECT_EQ(captured.value(QString::fromUtf8(kSenderKey)), QStringLiteral("John Q. Smith"));
    EXPECT_EQ(captured.value(jobParameterKey(kVTelDestinationName, 1)), QStringLiteral("a=b c"));
    QFile raw(harness->captureFolder() + QStringLiteral("/job-") + QString::number(jobId) +
              QStringLiteral("/options"));
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    EXPECT_TRUE(raw.readAll().contains("VTelCoverSenderName=John\\ Q.\\ Smith"));

    const auto attributes = harness->jobAttributes(jobId);
    EXPECT_EQ(attributes.value(QString::fromUtf8(kSenderKey)), QStringLiteral("John Q. Smith"));
    EXPECT_EQ(attributes.value(QStringLiteral("job-name")), QStringLiteral("harness job"));
}

TEST_F(CupsdHarnessSystemTest, StoppingKillsSchedulerAndRemovesFolder) {
    const QString folder = harness->folder();
    const QString pidText = [&] {
        QFile file(folder + QStringLiteral("/cupsd.pid"));
        return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()).trimmed()
                                              : QString();
    }();
    const pid_t pid = static_cast<pid_t>(pidText.toInt());
    ASSERT_GT(pid, 0);
    ASSERT_EQ(kill(pid, 0), 0);
    harness.reset();
    EXPECT_FALSE(QDir(folder).exists());
    EXPECT_TRUE(processGone(pid)) << "cupsd " << pid << " still runs";
}

} // namespace
} // namespace vextel_test
