#include "JobDispatcher.h"

#include "HostCallback.h"
#include "PpdDocument.h"
#include "printing/PrintSession.h"
#include "printing/PrintSettings.h"
#include "vextelpde/JobParameterKeys.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using tarvik_pde_m40vextel::jobParameterKey;
using tarvik_pde_m40vextel::kVTelCoverSenderName;
using tarvik_pde_m40vextel::kVTelDestinationName;
using tarvik_pde_m40vextel::kVTelPassword;
using vextel_print::HostCallback;
using vextel_print::JobDispatcher;
using vextel_print::PpdDocument;

const QString kPpd = QStringLiteral(VEXTEL_SOURCE_DIR "/resources/ppd/Tarvik-M40-Vextel-Fax.ppd");
const QString kPrefix = QLatin1String(tarvik_pde_m40vextel::kJobParameterPrefix);

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

class JobDispatcherTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(temp.isValid());
        QString error;
        ppd = PpdDocument::openFile(kPpd, &error);
        ASSERT_TRUE(ppd) << error.toStdString();
        host = std::make_unique<HostCallback>(*ppd, printing::Printer("fax", {}, kPpd));
        document = temp.filePath("letter.txt");
        ASSERT_TRUE(writeFile(document, "Dear Sir,\n"));
    }

    void store(const QString& name, const QString& value) {
        ASSERT_EQ(host->printSettings()->setValue(kPrefix + name, value, false), 0);
    }

    JobDispatcher folderDispatcher() const {
        return JobDispatcher({QString(), QString(), temp.filePath("jobs")}, {document});
    }

    // job-options of a written job as key -> value, checking that every line has one "=".
    QMap<QString, QString> writtenOptions(const QString& folder) const {
        QMap<QString, QString> options;
        const auto lines = QString::fromUtf8(readFile(folder + "/job-options"))
                               .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        for (const QString& line : lines) {
            const qsizetype equals = line.indexOf(QLatin1Char('='));
            EXPECT_GT(equals, 0) << line.toStdString();
            options.insert(line.left(equals), line.mid(equals + 1));
        }
        return options;
    }

    QTemporaryDir temp;
    std::unique_ptr<PpdDocument> ppd;
    std::unique_ptr<HostCallback> host;
    QString document;
};

TEST_F(JobDispatcherTest, JobOptionsHoldPpdMarksAndPrintSettingsWithBlanksIntact) {
    ASSERT_TRUE(host->willChangePPDOptionKeyValue("TKFaxCoverPageMode", "Detailed"));
    store("VTelCoverSenderName", "John Q. Smith");
    store("VTelDestinationName1", "Smith, John  Jr.");
    store("VTelPassword", "");

    const auto options = JobDispatcher::jobOptions(*host, 1);
    EXPECT_EQ(options.value("TKFaxCoverPageMode"), "Detailed");
    EXPECT_EQ(options.value("TKFaxImageQuality"), "Standard");
    EXPECT_EQ(options.value(jobParameterKey(kVTelCoverSenderName)), "John Q. Smith");
    EXPECT_EQ(options.value(jobParameterKey(kVTelDestinationName, 1)), "Smith, John  Jr.");
    ASSERT_TRUE(options.contains(jobParameterKey(kVTelPassword)));
    EXPECT_EQ(options.value(jobParameterKey(kVTelPassword)), "");
    EXPECT_FALSE(options.contains("copies"));
}

TEST_F(JobDispatcherTest, CopiesAreAnOptionOnlyAboveOne) {
    EXPECT_EQ(JobDispatcher::jobOptions(*host, 3).value("copies"), "3");
    EXPECT_FALSE(JobDispatcher::jobOptions(*host, 1).contains("copies"));
}

TEST_F(JobDispatcherTest, PrintSettingWinsOverThePpdMarkOfTheSameName) {
    ASSERT_EQ(host->printSettings()->setValue("TKFaxImageQuality", "Photo", false), 0);
    EXPECT_EQ(JobDispatcher::jobOptions(*host, 1).value("TKFaxImageQuality"), "Photo");
}

TEST_F(JobDispatcherTest, PrinterDestinationWithoutQueueWritesNumberedJobFolders) {
    store("VTelCoverSenderName", "John Q. Smith");
    const JobDispatcher dispatcher = folderDispatcher();

    const auto first = dispatcher.dispatch(*host, 2);
    ASSERT_TRUE(first.ok) << first.description.toStdString();
    const QString job1 = temp.filePath("jobs/job-1");
    EXPECT_TRUE(first.description.contains(job1)) << first.description.toStdString();
    EXPECT_EQ(readFile(job1 + "/letter.txt"), QByteArray("Dear Sir,\n"));
    const auto written = writtenOptions(job1);
    EXPECT_EQ(written, JobDispatcher::jobOptions(*host, 2));
    EXPECT_EQ(written.value(jobParameterKey(kVTelCoverSenderName)), "John Q. Smith");
    EXPECT_EQ(written.value("copies"), "2");

    const auto second = dispatcher.dispatch(*host, 1);
    ASSERT_TRUE(second.ok) << second.description.toStdString();
    EXPECT_TRUE(QFileInfo::exists(temp.filePath("jobs/job-2/letter.txt")));
    // The first job stays as it was.
    EXPECT_EQ(writtenOptions(job1).value("copies"), "2");
}

TEST_F(JobDispatcherTest, JobThatCannotBeWrittenIsAFailureWithAReason) {
    store("VTelDestinationName1", "two\nlines");
    const auto result = folderDispatcher().dispatch(*host, 1);
    EXPECT_FALSE(result.ok);
    EXPECT_FALSE(result.description.isEmpty());
}

TEST_F(JobDispatcherTest, PdfFileDestinationCopiesTheDocument) {
    const QString target = temp.filePath("out.pdf");
    host->printSession()->setDestination(printing::kDestinationFile, target);
    const auto result = folderDispatcher().dispatch(*host, 1);
    ASSERT_TRUE(result.ok) << result.description.toStdString();
    EXPECT_TRUE(result.description.contains(target));
    EXPECT_EQ(readFile(target), QByteArray("Dear Sir,\n"));
    EXPECT_FALSE(QFileInfo::exists(temp.filePath("jobs"))) << "no job folder for a file";
}

TEST_F(JobDispatcherTest, PdfFileDestinationReplacesAnOldFile) {
    const QString target = temp.filePath("out.pdf");
    ASSERT_TRUE(writeFile(target, "an older and longer content"));
    host->printSession()->setDestination(printing::kDestinationFile, target);
    ASSERT_TRUE(folderDispatcher().dispatch(*host, 1).ok);
    EXPECT_EQ(readFile(target), QByteArray("Dear Sir,\n"));
}

TEST_F(JobDispatcherTest, PdfFileDestinationOnTheDocumentItselfKeepsIt) {
    host->printSession()->setDestination(printing::kDestinationFile, document);
    folderDispatcher().dispatch(*host, 1);
    EXPECT_EQ(readFile(document), QByteArray("Dear Sir,\n"));
}

TEST_F(JobDispatcherTest, PdfFileDestinationThatCannotBeWrittenKeepsTheOldFile) {
    QDir(temp.path()).mkdir("locked");
    const QString target = temp.filePath("locked/out.pdf");
    ASSERT_TRUE(writeFile(target, "keep me"));
    host->printSession()->setDestination(printing::kDestinationFile, target);
    const JobDispatcher missing({QString(), QString(), temp.filePath("jobs")},
                                {temp.filePath("no-such-document.pdf")});
    EXPECT_FALSE(missing.dispatch(*host, 1).ok);
    EXPECT_EQ(readFile(target), QByteArray("keep me"));
}

TEST_F(JobDispatcherTest, PdfFileDestinationWithoutPathFails) {
    host->printSession()->setDestination(printing::kDestinationFile, QString());
    EXPECT_FALSE(folderDispatcher().dispatch(*host, 1).ok);
}

TEST_F(JobDispatcherTest, PdfFileDestinationWithSeveralDocumentsFailsInsteadOfDroppingSome) {
    const QString second = temp.filePath("second.txt");
    ASSERT_TRUE(writeFile(second, "second page\n"));
    const QString target = temp.filePath("out.pdf");
    host->printSession()->setDestination(printing::kDestinationFile, target);
    const JobDispatcher dispatcher({QString(), QString(), temp.filePath("jobs")},
                                   {document, second});
    const auto result = dispatcher.dispatch(*host, 1);
    EXPECT_FALSE(result.ok) << result.description.toStdString();
    EXPECT_TRUE(result.description.contains(target)) << result.description.toStdString();
    EXPECT_FALSE(QFileInfo::exists(target)) << "a file holding only the first document";
}

} // namespace
