// The shipped PPDs must pass the CUPS checker, and the panel's fixture PPDs must keep the one
// property each of them is there for.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <cstring>
#include <cups/ppd.h>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace {

struct PpdCloser {
    void operator()(ppd_file_t* ppd) const { ppdClose(ppd); }
};
using Ppd = std::unique_ptr<ppd_file_t, PpdCloser>;

QString fixture(const char* name) {
    return QStringLiteral(VEXTEL_SOURCE_DIR "/tests/fixtures/ppd-panel/") + QLatin1String(name);
}

Ppd openPpd(const QString& path) {
    return Ppd(ppdOpenFile(QFile::encodeName(path).constData()));
}

const ppd_group_t* findGroup(ppd_file_t* ppd, const char* name) {
    for (int i = 0; i < ppd->num_groups; ++i) {
        if (std::strcmp(ppd->groups[i].name, name) == 0)
            return &ppd->groups[i];
    }
    return nullptr;
}

std::string attributeValue(ppd_file_t* ppd, const char* name) {
    ppd_attr_t* attr = ppdFindAttr(ppd, name, nullptr);
    return attr != nullptr && attr->value != nullptr ? attr->value : "<none>";
}

std::string markedChoice(ppd_file_t* ppd, const char* keyword) {
    ppd_choice_t* choice = ppdFindMarkedChoice(ppd, keyword);
    return choice != nullptr ? choice->choice : "<none>";
}

const char* const kFaxKeywords[] = {"TKFaxImageQuality", "TKFaxTransmissionReport",
                                    "TKFaxCoverPageMode", "TKFaxSenderMode"};

TEST(PpdFilesTest, EveryShippedPpdPassesCupstestppdWithAllWarnings) {
    const QString checker = QStandardPaths::findExecutable(QStringLiteral("cupstestppd"));
    if (checker.isEmpty())
        GTEST_SKIP() << "cupstestppd is not installed";
    const QDir folder(QStringLiteral(VEXTEL_SOURCE_DIR "/resources/ppd"));
    const QStringList ppds = folder.entryList({QStringLiteral("*.ppd")}, QDir::Files);
    ASSERT_FALSE(ppds.isEmpty()) << "no PPD in " << folder.path().toStdString();
    for (const QString& name : ppds) {
        QProcess process;
        process.start(checker,
                      {QStringLiteral("-W"), QStringLiteral("all"), folder.filePath(name)});
        ASSERT_TRUE(process.waitForFinished(30000));
        const QString output = QString::fromLocal8Bit(process.readAllStandardOutput());
        EXPECT_EQ(process.exitCode(), 0) << output.toStdString();
        EXPECT_TRUE(output.contains(QStringLiteral(": PASS"))) << output.toStdString();
    }
}

TEST(PpdFilesTest, ModelPpdCarriesTheFaxGroupOptionsAndAttributes) {
    Ppd ppd = openPpd(QStringLiteral(VEXTEL_SOURCE_DIR "/resources/ppd/Tarvik-M40-Vextel-Fax.ppd"));
    ASSERT_TRUE(ppd);
    const ppd_group_t* group = findGroup(ppd.get(), "TKFaxSettings");
    ASSERT_NE(group, nullptr);
    EXPECT_STREQ(group->text, "Fax Settings");
    ASSERT_EQ(group->num_options, 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_STREQ(group->options[i].keyword, kFaxKeywords[i]);
    EXPECT_NE(ppdFindChoice(ppdFindOption(ppd.get(), "TKFaxCoverPageMode"), "None"), nullptr);
    EXPECT_NE(ppdFindChoice(ppdFindOption(ppd.get(), "TKFaxSenderMode"), "EnterName"), nullptr);
    EXPECT_EQ(attributeValue(ppd.get(), "TKLocalizableFileIndex"), "3");
    EXPECT_EQ(attributeValue(ppd.get(), "TKPrinterLanguageEncoding"), "ISOLatin1");
}

TEST(PpdFilesTest, FixtureWithoutFaxGroupStillHasTheFourOptions) {
    Ppd ppd = openPpd(fixture("no-fax-group.ppd"));
    ASSERT_TRUE(ppd);
    EXPECT_EQ(findGroup(ppd.get(), "TKFaxSettings"), nullptr);
    for (const char* keyword : kFaxKeywords)
        EXPECT_NE(ppdFindOption(ppd.get(), keyword), nullptr) << keyword;
}

TEST(PpdFilesTest, FixtureWithoutTableIndexHasNoSuchAttribute) {
    Ppd ppd = openPpd(fixture("no-localizable-index.ppd"));
    ASSERT_TRUE(ppd);
    EXPECT_EQ(ppdFindAttr(ppd.get(), "TKLocalizableFileIndex", nullptr), nullptr);
    ASSERT_NE(findGroup(ppd.get(), "TKFaxSettings"), nullptr);
    EXPECT_STREQ(findGroup(ppd.get(), "TKFaxSettings")->text, "Fax Options");
}

TEST(PpdFilesTest, FixtureWithNoCoverPageMarksNoneOnceDefaultsAreMarked) {
    Ppd ppd = openPpd(fixture("marked-choice.ppd"));
    ASSERT_TRUE(ppd);
    EXPECT_EQ(markedChoice(ppd.get(), "TKFaxCoverPageMode"), "<none>");
    ppdMarkDefaults(ppd.get());
    EXPECT_EQ(markedChoice(ppd.get(), "TKFaxCoverPageMode"), "None");
    EXPECT_EQ(markedChoice(ppd.get(), "TKFaxSenderMode"), "EnterName");
}

TEST(PpdFilesTest, FixtureWithPrefixSharingChoicesKeepsTheirOrderAndDefaults) {
    Ppd ppd = openPpd(fixture("prefix-choices.ppd"));
    ASSERT_TRUE(ppd);
    ppd_option_t* quality = ppdFindOption(ppd.get(), "TKFaxImageQuality");
    ASSERT_NE(quality, nullptr);
    EXPECT_STREQ(quality->defchoice, "Std");
    ASSERT_EQ(quality->num_choices, 2);
    EXPECT_STREQ(quality->choices[0].choice, "Std");
    EXPECT_STREQ(quality->choices[1].choice, "StdFine");
    ppd_option_t* report = ppdFindOption(ppd.get(), "TKFaxTransmissionReport");
    ASSERT_NE(report, nullptr);
    EXPECT_STREQ(report->defchoice, "Sometimes");
    EXPECT_EQ(ppdFindChoice(report, "Sometimes"), nullptr);
}

TEST(PpdFilesTest, ShiftJisFixtureTextsReachTheReaderAsUtf8) {
    Ppd ppd = openPpd(fixture("shift-jis.ppd"));
    ASSERT_TRUE(ppd);
    EXPECT_EQ(attributeValue(ppd.get(), "TKPrinterLanguageEncoding"), "JIS83-RKSJ");
    const ppd_group_t* group = findGroup(ppd.get(), "TKFaxSettings");
    ASSERT_NE(group, nullptr);
    // The file holds Shift-JIS bytes; libcups converts the texts by the LanguageEncoding.
    EXPECT_EQ(QString::fromUtf8(group->text), QStringLiteral("ファクス設定"));
    const QByteArray raw = [] {
        QFile file(fixture("shift-jis.ppd"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    EXPECT_TRUE(raw.contains("*LanguageEncoding: JIS83-RKSJ"));
    EXPECT_STREQ(ppd->lang_encoding, "UTF-8");
    EXPECT_TRUE(raw.contains("\x83\x74\x83\x40\x83\x4e\x83\x58\x90\xdd\x92\xe8"));
}

} // namespace
