#include "CommandLine.h"

#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

using vextel_addressbook::CommandLine;
using vextel_addressbook::PrinterConnection;

struct Accepted {
    const char* title;
    QStringList arguments;
    std::optional<PrinterConnection> printer;
};

const PrinterConnection kUsb{PrinterConnection::Kind::Usb, {}};
PrinterConnection net(const char* address) {
    return {PrinterConnection::Kind::Network, QString::fromLatin1(address)};
}

TEST(CommandLineTest, ReadsThePanelsSpellingAndAPersonsSpelling) {
    const Accepted rows[] = {
        {"Nothing", {}, std::nullopt},
        {"PanelNet", {"-VTELConnectionType NET", "-VTELAddress 192.0.2.7"}, net("192.0.2.7")},
        {"PanelUsb", {"-VTELConnectionType USB"}, kUsb},
        {"SplitNet", {"-VTELConnectionType", "NET", "-VTELAddress", "192.0.2.7"}, net("192.0.2.7")},
        {"SplitUsb", {"-VTELConnectionType", "USB"}, kUsb},
        {"Mixed", {"-VTELAddress", "10.1.2.3", "-VTELConnectionType NET"}, net("10.1.2.3")},
        {"LinkLocal",
         {"-VTELConnectionType NET", "-VTELAddress fe80::1%eth0"},
         net("fe80::1%eth0")},
        {"HostName",
         {"-VTELConnectionType", "net", "-VTELAddress", "fax-3.example"},
         net("fax-3.example")},
    };
    for (const Accepted& row : rows) {
        QString error;
        const auto line = CommandLine::parse(row.arguments, &error);
        ASSERT_TRUE(line) << row.title << ": " << error.toStdString();
        EXPECT_EQ(line->printer, row.printer) << row.title;
    }
}

TEST(CommandLineTest, RefusesEverythingElseWithAReason) {
    const struct {
        const char* title;
        QStringList arguments;
        const char* reason;
    } rows[] = {
        {"UnknownOption", {"--frobnicate"}, "unknown argument"},
        {"StrayWord",
         {"-VTELConnectionType NET", "-VTELAddress 192.0.2.7", "extra"},
         "unknown argument"},
        {"NetWithoutAddress", {"-VTELConnectionType NET"}, "needs -VTELAddress"},
        {"AddressWithoutType", {"-VTELAddress 192.0.2.7"}, "needs -VTELConnectionType"},
        {"UsbWithAddress", {"-VTELConnectionType USB", "-VTELAddress 192.0.2.7"}, "USB"},
        {"UnknownType", {"-VTELConnectionType SERIAL"}, "unknown connection type"},
        {"MissingValue", {"-VTELConnectionType"}, "needs a value"},
        {"ValueIsAnOption", {"-VTELAddress", "-VTELConnectionType NET"}, "needs a value"},
        {"EmptyInside", {"-VTELConnectionType "}, "needs a value"},
        {"Twice", {"-VTELConnectionType USB", "-VTELConnectionType", "USB"}, "twice"},
        {"BadAddress",
         {"-VTELConnectionType NET", "-VTELAddress 1.2.3.4;rm -rf"},
         "not a printer address"},
        {"PrefixOnly", {"-VTELConnectionTypeNET"}, "unknown argument"},
        {"ScreenshotWithoutFile", {"--screenshot"}, "needs a file"},
    };
    for (const auto& row : rows) {
        QString error;
        EXPECT_FALSE(CommandLine::parse(row.arguments, &error)) << row.title;
        EXPECT_TRUE(error.contains(QLatin1String(row.reason)))
            << row.title << ": " << error.toStdString();
    }
}

TEST(CommandLineTest, VCardFilesFromTheDesktopAreTakenToOpenAndTheEntryOffersThem) {
    QString error;
    const auto line = CommandLine::parse(
        {"/home/a/Phone export.vcf", "-VTELConnectionType USB", "B.VCARD"}, &error);
    ASSERT_TRUE(line) << error.toStdString();
    EXPECT_EQ(line->files, QStringList({"/home/a/Phone export.vcf", "B.VCARD"}));
    EXPECT_EQ(line->printer, kUsb);
    EXPECT_FALSE(CommandLine::parse({"notes.txt"}, &error)) << "only vCard files";
    QFile entry(VEXTEL_SOURCE_DIR "/apps/vextel-addressbook/vextel-addressbook.desktop.in");
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(entry.readAll());
    EXPECT_TRUE(text.contains(QRegularExpression("\\nExec=\\S+ %F\\n"))) << "takes files";
    EXPECT_TRUE(text.contains(QRegularExpression("\\nMimeType=(.*;)?text/vcard;")));
}

TEST(CommandLineTest, HandOffTextCarriesTheConnectionBothWays) {
    for (const PrinterConnection& printer : {kUsb, net("192.0.2.7"), net("fe80::2%wlan0")}) {
        EXPECT_EQ(PrinterConnection::fromText(printer.toText()), printer)
            << printer.toText().toStdString();
    }
    for (const char* bad : {"", "NET ", "usb", "NET a b", "SERIAL 1"}) {
        EXPECT_FALSE(PrinterConnection::fromText(QString::fromLatin1(bad))) << bad;
    }
}

} // namespace
