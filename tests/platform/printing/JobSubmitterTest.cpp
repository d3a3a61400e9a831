#include "printing/JobSubmitter.h"

#include "CupsdHarness.h"
#include "support/SilentServer.h"
#include "vextelpde/JobParameterKeys.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using printing::JobSubmitter;
using tarvik_pde_m40vextel::jobParameterKey;
using tarvik_pde_m40vextel::kVTelCoverSenderName;
using tarvik_pde_m40vextel::kVTelDelayedPrint;
using tarvik_pde_m40vextel::kVTelDelayedTime;
using tarvik_pde_m40vextel::kVTelDestinationName;
using tarvik_pde_m40vextel::kVTelDestinationPhoneNumber;
using tarvik_pde_m40vextel::kVTelPassword;

const QString kPpd = QStringLiteral(VEXTEL_SOURCE_DIR "/resources/ppd/Tarvik-M40-Vextel-Fax.ppd");
const QString kPrefix = QLatin1String(tarvik_pde_m40vextel::kJobParameterPrefix);

QString writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
    return path;
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Values that a careless encoding would change: blanks, "=", commas, quotes, backslashes,
// leading zeros, a boolean word, non-ASCII text and the empty string.
QMap<QString, QString> trickyOptions() {
    return {{jobParameterKey(kVTelCoverSenderName), QStringLiteral("John Q. Smith")},
            {jobParameterKey(kVTelDestinationPhoneNumber, 1), QStringLiteral("0123")},
            {jobParameterKey(kVTelDestinationName, 1), QStringLiteral("Smith, John")},
            {jobParameterKey(kVTelDestinationName, 2), QStringLiteral("a=b \"c\" \\d")},
            {jobParameterKey(kVTelDelayedPrint), QStringLiteral("0")},
            {jobParameterKey(kVTelDelayedTime), QStringLiteral("09:05")},
            {jobParameterKey(kVTelPassword), QString()},
            {kPrefix + QStringLiteral("VTelFlag"), QStringLiteral("true")},
            {jobParameterKey(kVTelDestinationName, 3), QStringLiteral("Jürgen Öhl")},
            {QStringLiteral("TKFaxCoverPageMode"), QStringLiteral("None")}};
}

class JobSubmitterFolderTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(temp.isValid()); }
    QString path(const QString& name) const { return temp.filePath(name); }
    QTemporaryDir temp;
};

TEST_F(JobSubmitterFolderTest, WritesDocumentsAndOneLinePerOptionInKeyOrder) {
    const QString doc = writeFile(path(QStringLiteral("letter.txt")), "body\n");
    const QString out = path(QStringLiteral("out/job"));
    QString error;
    ASSERT_TRUE(JobSubmitter::writeToFolder(out, {doc}, trickyOptions(), &error))
        << error.toStdString();
    EXPECT_EQ(readFile(out + QStringLiteral("/letter.txt")), QByteArray("body\n"));

    const QStringList lines = QString::fromUtf8(readFile(out + QStringLiteral("/job-options")))
                                  .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    const QMap<QString, QString> options = trickyOptions();
    ASSERT_EQ(lines.size(), options.size());
    qsizetype i = 0;
    for (auto it = options.constBegin(); it != options.constEnd(); ++it, ++i)
        EXPECT_EQ(lines.at(i), it.key() + QLatin1Char('=') + it.value());
}

TEST_F(JobSubmitterFolderTest, DocumentsWithClashingNamesAreNumberedNotOverwritten) {
    QDir().mkpath(path(QStringLiteral("a")));
    QDir().mkpath(path(QStringLiteral("b")));
    const QString first = writeFile(path(QStringLiteral("a/doc.pdf")), "first");
    const QString second = writeFile(path(QStringLiteral("b/doc.pdf")), "second");
    const QString named = writeFile(path(QStringLiteral("a/job-options")), "a document");
    const QString out = path(QStringLiteral("out"));
    ASSERT_TRUE(JobSubmitter::writeToFolder(out, {first, second, named}, {}));
    EXPECT_EQ(readFile(out + QStringLiteral("/doc.pdf")), QByteArray("first"));
    EXPECT_EQ(readFile(out + QStringLiteral("/doc-2.pdf")), QByteArray("second"));
    EXPECT_EQ(readFile(out + QStringLiteral("/job-options-2")), QByteArray("a document"));
    EXPECT_EQ(readFile(out + QStringLiteral("/job-options")), QByteArray());
}

TEST_F(JobSubmitterFolderTest, OptionThatCannotBeOneLineRefusesTheWholeJob) {
    const QString doc = writeFile(path(QStringLiteral("d.txt")), "x");
    const QString out = path(QStringLiteral("out"));
    const QList<QMap<QString, QString>> bad{{{QStringLiteral("k"), QStringLiteral("two\nlines")}},
                                            {{QStringLiteral("a=b"), QStringLiteral("v")}},
                                            {{QString(), QStringLiteral("v")}}};
    for (const auto& options : bad) {
        QString error;
        EXPECT_FALSE(JobSubmitter::writeToFolder(out, {doc}, options, &error));
        EXPECT_FALSE(error.isEmpty());
        EXPECT_FALSE(QDir(out).exists()) << "nothing may be written for a refused job";
    }
}

TEST_F(JobSubmitterFolderTest, UnreadableDocumentWritesNothing) {
    const QString out = path(QStringLiteral("out"));
    QString error;
    EXPECT_FALSE(
        JobSubmitter::writeToFolder(out, {path(QStringLiteral("missing.pdf"))}, {}, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("missing.pdf")));
    EXPECT_FALSE(QDir(out).exists());
    EXPECT_FALSE(JobSubmitter::writeToFolder(QString(), {}, {}, &error));
}

TEST(JobSubmitterTest, SubmitRefusesMissingQueueDocumentsAndUnreachableServer) {
    QTemporaryDir temp;
    const QString doc = writeFile(temp.filePath(QStringLiteral("d.txt")), "x");
    JobSubmitter submitter(QStringLiteral("127.0.0.1:1"));
    EXPECT_FALSE(submitter.submit(QString(), {doc}, QString(), {}).ok());
    EXPECT_FALSE(submitter.submit(QStringLiteral("q"), {}, QString(), {}).ok());
    const auto missing =
        submitter.submit(QStringLiteral("q"), {temp.filePath(QStringLiteral("no"))}, QString(), {});
    EXPECT_FALSE(missing.ok());
    EXPECT_TRUE(missing.error.contains(QStringLiteral("cannot read")));
    const auto unreachable = submitter.submit(QStringLiteral("q"), {doc}, QString(), {});
    EXPECT_FALSE(unreachable.ok());
    EXPECT_EQ(unreachable.jobId, 0);
    EXPECT_TRUE(unreachable.error.contains(QStringLiteral("127.0.0.1:1")))
        << unreachable.error.toStdString();
}

TEST(JobSubmitterTest, ServerThatNeverAnswersFailsWithinBoundedTimeAndSaysSo) {
    vextel_test::SilentServer server;
    ASSERT_TRUE(server.isListening());
    QTemporaryDir temp;
    const QString doc = writeFile(temp.filePath(QStringLiteral("d.txt")), "x");
    QElapsedTimer timer;
    timer.start();
    const auto result =
        JobSubmitter(server.address()).submit(QStringLiteral("q"), {doc}, QString(), {});
    EXPECT_LT(timer.elapsed(), 20000);
    EXPECT_FALSE(result.ok());
    EXPECT_TRUE(result.error.contains(server.address())) << result.error.toStdString();
    EXPECT_TRUE(result.error.contains(QStringLiteral("did not answer")))
        << result.error.toStdString();
}

class JobSubmitterCupsTest : public ::testing::Test {
protected:
    void SetUp() override {
        const QString reason = vextel_test::CupsdHarness::unavailableReason();
        if (!reason.isEmpty())
            GTEST_SKIP() << reason.toStdString();
        ASSERT_TRUE(temp.isValid());
        harness = std::make_unique<vextel_test::CupsdHarness>(kPpd);
        ASSERT_TRUE(harness->isRunning()) << harness->startError().toStdString();
    }

    QString makePdf(const QString& name, const QString& text) {
        const QString path = temp.filePath(name);
        QPdfWriter writer(path);
        QPainter painter(&writer);
        painter.drawText(QPointF(100, 100), text);
        painter.end();
        return path;
    }

    QTemporaryDir temp;
    std::unique_ptr<vextel_test::CupsdHarness> harness;
};

TEST_F(JobSubmitterCupsTest, EveryOptionValueReachesBackendAndSchedulerIntact) {
    const QString pdf = makePdf(QStringLiteral("fax.pdf"), QStringLiteral("fax body"));
    const JobSubmitter submitter(harness->server());
    const auto result =
        submitter.submit(harness->queue(), {pdf}, QStringLiteral("fax job"), trickyOptions());
    ASSERT_TRUE(result.ok()) << result.error.toStdString() << "\n"
                             << harness->errorLog().toStdString();
    ASSERT_TRUE(harness->waitForCapture(result.jobId).has_value())
        << harness->errorLog().toStdString();
    EXPECT_TRUE(harness->capturedDocument(result.jobId).startsWith("%PDF"));

    const auto captured = harness->capturedOptions(result.jobId);
    const auto attributes = harness->jobAttributes(result.jobId);
    const auto expected = trickyOptions();
    for (auto it = expected.constBegin(); it != expected.constEnd(); ++it) {
        EXPECT_TRUE(captured.contains(it.key())) << it.key().toStdString();
        EXPECT_EQ(captured.value(it.key()), it.value()) << it.key().toStdString();
        EXPECT_EQ(attributes.value(it.key()), it.value()) << it.key().toStdString();
    }
    EXPECT_EQ(attributes.value(QStringLiteral("job-name")), QStringLiteral("fax job"));
}

TEST_F(JobSubmitterCupsTest, SeveralDocumentsGoAsOneJobOverTheLocalSocket) {
    const QString first = makePdf(QStringLiteral("one.pdf"), QStringLiteral("one"));
    const QString second = makePdf(QStringLiteral("two.pdf"), QStringLiteral("two"));
    const JobSubmitter submitter(harness->socketPath());
    const auto result = submitter.submit(harness->queue(), {first, second}, QString(),
                                         {{QStringLiteral("copies"), QStringLiteral("1")}});
    ASSERT_TRUE(result.ok()) << result.error.toStdString();
    ASSERT_TRUE(harness->waitForCapture(result.jobId).has_value())
        << harness->errorLog().toStdString();
    // The scheduler runs the backend once, streaming both filtered documents.
    EXPECT_EQ(harness->capturedDocument(result.jobId).count("%PDF-"), 2);
}

TEST_F(JobSubmitterCupsTest, UnknownQueueGivesAnErrorAndNoJob) {
    const QString pdf = makePdf(QStringLiteral("x.pdf"), QStringLiteral("x"));
    const auto result = JobSubmitter(harness->server())
                            .submit(QStringLiteral("no-such-queue"), {pdf}, QString(), {});
    EXPECT_FALSE(result.ok());
    EXPECT_TRUE(result.error.contains(QStringLiteral("Create-Job"))) << result.error.toStdString();
}

} // namespace
