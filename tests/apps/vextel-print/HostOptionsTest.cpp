#include "HostOptions.h"

#include <gtest/gtest.h>

namespace {

using vextel_print::HostOptions;

std::optional<HostOptions> parse(const QStringList& arguments, QString* error) {
    return HostOptions::parse(arguments, error);
}

TEST(HostOptionsTest, ReadsEveryValuedOptionAndKeepsDocumentsInOrder) {
    QString error;
    const auto options =
        parse({"--printer", "fax", "--server", "127.0.0.1:631", "--output", "out", "--script",
               "walk.script", "first.pdf", "--screenshot", "shot.png", "second.txt"},
              &error);
    ASSERT_TRUE(options) << error.toStdString();
    EXPECT_EQ(options->queue, "fax");
    EXPECT_EQ(options->server, "127.0.0.1:631");
    EXPECT_EQ(options->outputFolder, "out");
    EXPECT_EQ(options->script, "walk.script");
    EXPECT_EQ(options->screenshot, "shot.png");
    EXPECT_EQ(options->documents, QStringList({"first.pdf", "second.txt"}));
    EXPECT_TRUE(options->ppdPath.isEmpty());
    EXPECT_FALSE(options->help);
}

TEST(HostOptionsTest, ValuesWithBlanksStayWhole) {
    QString error;
    const auto options = parse({"--ppd", "/tmp/my printer.ppd", "my letter.pdf"}, &error);
    ASSERT_TRUE(options) << error.toStdString();
    EXPECT_EQ(options->ppdPath, "/tmp/my printer.ppd");
    EXPECT_EQ(options->documents, QStringList({"my letter.pdf"}));
}

TEST(HostOptionsTest, HelpNeedsNoPrinter) {
    for (const QString& flag : {QStringLiteral("-h"), QStringLiteral("--help")}) {
        QString error;
        const auto options = parse({flag}, &error);
        ASSERT_TRUE(options) << error.toStdString();
        EXPECT_TRUE(options->help);
    }
}

TEST(HostOptionsTest, PpdAndPrinterTogetherAreRefused) {
    QString error;
    EXPECT_FALSE(parse({"--ppd", "a.ppd", "--printer", "fax", "doc.pdf"}, &error));
    EXPECT_TRUE(error.contains("--ppd")) << error.toStdString();
    EXPECT_TRUE(error.contains("--printer")) << error.toStdString();
}

TEST(HostOptionsTest, DeviceUriGoesWithAPpdOnly) {
    QString error;
    const auto options =
        parse({"--ppd", "a.ppd", "--device-uri", "usb://Tarvik/M40?serial=1", "doc.pdf"}, &error);
    ASSERT_TRUE(options) << error.toStdString();
    EXPECT_EQ(options->deviceUri, "usb://Tarvik/M40?serial=1");
    EXPECT_EQ(options->documents, QStringList({"doc.pdf"}));
    // A queue's device URI is the server's: a second one would contradict it.
    EXPECT_FALSE(
        parse({"--printer", "fax", "--device-uri", "socket://10.0.0.1", "doc.pdf"}, &error));
    EXPECT_TRUE(error.contains("--device-uri")) << error.toStdString();
    EXPECT_FALSE(parse({"--ppd", "a.ppd", "--device-uri"}, &error));
    EXPECT_EQ(error, "--device-uri needs a value");
}

TEST(HostOptionsTest, NeitherPpdNorPrinterIsRefused) {
    QString error;
    EXPECT_FALSE(parse({"doc.pdf"}, &error));
    EXPECT_FALSE(error.isEmpty());
    error.clear();
    EXPECT_FALSE(parse({}, &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(HostOptionsTest, UnknownOptionIsNamed) {
    QString error;
    EXPECT_FALSE(parse({"--ppd", "a.ppd", "--colour", "doc.pdf"}, &error));
    EXPECT_TRUE(error.contains("--colour")) << error.toStdString();
}

TEST(HostOptionsTest, LoneDashIsADocumentNotAnOption) {
    QString error;
    const auto options = parse({"--ppd", "a.ppd", "-"}, &error);
    ASSERT_TRUE(options) << error.toStdString();
    EXPECT_EQ(options->documents, QStringList({"-"}));
}

class HostOptionsMissingValueTest : public ::testing::TestWithParam<const char*> {};

TEST_P(HostOptionsMissingValueTest, LastOptionWithoutValueIsNamed) {
    const QString option = QString::fromLatin1(GetParam());
    QString error;
    QStringList arguments = {"doc.pdf"};
    if (option != QLatin1String("--ppd")) {
        arguments.prepend("a.ppd");
        arguments.prepend("--ppd");
    }
    arguments.append(option);
    EXPECT_FALSE(parse(arguments, &error));
    EXPECT_TRUE(error.contains(option)) << error.toStdString();
    EXPECT_TRUE(error.contains("value")) << error.toStdString();
}

TEST_P(HostOptionsMissingValueTest, EmptyValueIsMissing) {
    const QString option = QString::fromLatin1(GetParam());
    QString error;
    EXPECT_FALSE(parse({"--printer", "fax", option, "", "doc.pdf"}, &error));
    EXPECT_TRUE(error.contains(option)) << error.toStdString();
}

TEST_P(HostOptionsMissingValueTest, NextOptionIsNotTakenAsTheValue) {
    const QString option = QString::fromLatin1(GetParam());
    QString error;
    // "--output --script x": the user forgot the folder; the script must not become the folder.
    EXPECT_FALSE(parse({option, "--help", "doc.pdf"}, &error));
    EXPECT_TRUE(error.contains(option)) << error.toStdString();
}

INSTANTIATE_TEST_SUITE_P(EveryValuedOption, HostOptionsMissingValueTest,
                         ::testing::Values("--ppd", "--printer", "--server", "--output",
                                           "--screenshot", "--script", "--title", "--spool", "-o"));

TEST(HostOptionsTest, PresetsKeepTheirOrderAndRefuseWhatIsNoChoice) {
    QString error;
    const auto options = parse({"--ppd", "fax.ppd", "-o", "TKFaxImageQuality=Fine", "-o",
                                "PageSize=A4", "--title", "Quarterly report", "doc.pdf"},
                               &error);
    ASSERT_TRUE(options) << error.toStdString();
    const QList<std::pair<QString, QString>> expected = {{"TKFaxImageQuality", "Fine"},
                                                         {"PageSize", "A4"}};
    EXPECT_EQ(options->presets, expected);
    EXPECT_EQ(options->title, "Quarterly report");
    for (const char* preset : {"TKFaxImageQuality", "=Fine", "TKFaxImageQuality="}) {
        EXPECT_FALSE(parse({"--ppd", "fax.ppd", "-o", preset, "doc.pdf"}, &error)) << preset;
        EXPECT_TRUE(error.contains("NAME=CHOICE")) << error.toStdString();
    }
}

TEST(HostOptionsTest, TheAgentTakesPrinterAndDocumentsFromItsJobs) {
    QString error;
    const auto agent = parse({"--agent", "--once", "--spool", "/var/spool/x", "--script", "s",
                              "--script", "t", "--script", "u"},
                             &error);
    ASSERT_TRUE(agent) << error.toStdString();
    EXPECT_TRUE(agent->agent && agent->once);
    EXPECT_EQ(agent->spoolFolder, "/var/spool/x");
    // One script per job: the first for the first job, then the later ones in order.
    EXPECT_EQ(agent->script, "s");
    EXPECT_EQ(agent->laterScripts, QStringList({"t", "u"}));
    const QStringList refused[] = {
        {"--agent", "--printer", "fax"},
        {"--agent", "doc.pdf"},
        {"--agent", "--ppd", "f"},
        {"--agent", "-o", "A=B"},
        {"--once", "--ppd", "f", "d"},
        {"--spool", "s", "--ppd", "f", "d"},
        {"--ppd", "f", "--script", "s", "--script", "t", "d"},
    };
    for (const QStringList& arguments : refused) {
        EXPECT_FALSE(parse(arguments, &error)) << arguments.join(' ').toStdString();
    }
}

TEST(HostOptionsTest, UsageNamesEveryOptionAndTheExitStatuses) {
    const QString usage = HostOptions::usage();
    for (const char* option : {"--ppd", "--printer", "--server", "--output", "--screenshot",
                               "--script", "--title", "-o", "--agent", "--once", "--spool"}) {
        EXPECT_TRUE(usage.contains(QLatin1String(option))) << option;
    }
    EXPECT_TRUE(usage.contains("Exit status"));
}

} // namespace
