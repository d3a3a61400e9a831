#include "PpdDocument.h"

#include "support/SilentServer.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using vextel_print::PpdDocument;

const QString kPpd = QStringLiteral(VEXTEL_SOURCE_DIR "/resources/ppd/Tarvik-M40-Vextel-Fax.ppd");

class PpdDocumentTest : public ::testing::Test {
protected:
    void SetUp() override {
        QString error;
        document = PpdDocument::openFile(kPpd, &error);
        ASSERT_TRUE(document) << error.toStdString();
    }
    std::unique_ptr<PpdDocument> document;
};

TEST_F(PpdDocumentTest, OpensTheShippedPpdWithItsDefaultsMarked) {
    EXPECT_EQ(document->path(), kPpd);
    EXPECT_FALSE(document->modelName().isEmpty());
    ASSERT_NE(document->record(), nullptr);
    const auto marked = document->markedChoices();
    EXPECT_EQ(marked.value("TKFaxImageQuality"), "Standard");
    EXPECT_EQ(marked.value("TKFaxTransmissionReport"), "OnError");
    EXPECT_EQ(marked.value("TKFaxCoverPageMode"), "Standard");
    EXPECT_EQ(marked.value("TKFaxSenderMode"), "EnterName");
    EXPECT_EQ(marked.value("PageSize"), "A4");
}

TEST_F(PpdDocumentTest, MarkedChoicesHoldOnlyRealOptions) {
    const auto marked = document->markedChoices();
    for (auto it = marked.begin(); it != marked.end(); ++it) {
        EXPECT_NE(ppdFindOption(document->record(), it.key().toUtf8().constData()), nullptr)
            << it.key().toStdString();
    }
    // Attributes that look like options (no OpenUI) are not choices.
    EXPECT_FALSE(marked.contains("ImageableArea"));
    EXPECT_FALSE(marked.contains("TKPrinterLanguageEncoding"));
}

TEST_F(PpdDocumentTest, MarkingAKnownChoiceReplacesTheDefault) {
    EXPECT_TRUE(document->markOption("TKFaxCoverPageMode", "None"));
    EXPECT_EQ(document->markedChoices().value("TKFaxCoverPageMode"), "None");
    const ppd_choice_t* marked = ppdFindMarkedChoice(document->record(), "TKFaxCoverPageMode");
    ASSERT_NE(marked, nullptr);
    EXPECT_STREQ(marked->choice, "None");
    // The other options keep their marks.
    EXPECT_EQ(document->markedChoices().value("TKFaxImageQuality"), "Standard");
}

TEST_F(PpdDocumentTest, UnknownChoiceOrOptionMarksNothing) {
    EXPECT_FALSE(document->markOption("TKFaxCoverPageMode", "Fancy"));
    EXPECT_EQ(document->markedChoices().value("TKFaxCoverPageMode"), "Standard");
    EXPECT_FALSE(document->markOption("TKFaxColour", "Red"));
    EXPECT_FALSE(document->markedChoices().contains("TKFaxColour"));
    EXPECT_FALSE(document->markOption(QString(), QString()));
}

TEST_F(PpdDocumentTest, ChoiceKeywordsAreNotTheirTexts) {
    // "Super Fine" is the text shown for the choice "SuperFine".
    EXPECT_FALSE(document->markOption("TKFaxImageQuality", "Super Fine"));
    EXPECT_TRUE(document->markOption("TKFaxImageQuality", "SuperFine"));
    EXPECT_EQ(document->markedChoices().value("TKFaxImageQuality"), "SuperFine");
}

TEST(PpdDocumentOpenTest, MissingFileIsAnErrorNamingThePath) {
    QString error;
    const QString path = QStringLiteral("/nonexistent/printer.ppd");
    EXPECT_EQ(PpdDocument::openFile(path, &error), nullptr);
    EXPECT_TRUE(error.contains(path)) << error.toStdString();
}

TEST(PpdDocumentOpenTest, FileThatIsNoPpdIsAnError) {
    QTemporaryDir temp;
    ASSERT_TRUE(temp.isValid());
    const QString path = temp.filePath("not.ppd");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("%PDF-1.4\nnot a printer description\n");
    file.close();
    QString error;
    EXPECT_EQ(PpdDocument::openFile(path, &error), nullptr);
    EXPECT_FALSE(error.isEmpty());
}

TEST(PpdDocumentOpenTest, QueueOnAServerThatNeverAnswersFailsSoonAndSaysSo) {
    vextel_test::SilentServer server;
    ASSERT_TRUE(server.isListening());
    QString error;
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(PpdDocument::openQueue(QStringLiteral("fax"), server.address(), &error), nullptr);
    EXPECT_LT(timer.elapsed(), 20000);
    EXPECT_TRUE(error.contains(server.address())) << error.toStdString();
    EXPECT_TRUE(error.contains(QStringLiteral("did not answer"))) << error.toStdString();
}

} // namespace

TEST(PpdDocumentRecords, MarkedChoicesEndForAnOptionInTwoGroupsAndSeeSubgroups) {
    // One keyword opened in two groups; another option only inside a subgroup.
    QString error;
    const auto ppd = PpdDocument::openFile(
        QStringLiteral(VEXTEL_SOURCE_DIR "/tests/fixtures/ppd/option-in-two-groups.ppd"), &error);
    ASSERT_TRUE(ppd) << error.toStdString();
    const auto marked = ppd->markedChoices();
    EXPECT_EQ(marked.keys(), QStringList({"Duplex", "PageSize", "Staple"}));
    EXPECT_EQ(marked.value("Staple"), "Off");
    EXPECT_TRUE(ppd->markOption("Duplex", "DuplexNoTumble"));
    EXPECT_EQ(ppd->markedChoices().value("Duplex"), "DuplexNoTumble");
}
