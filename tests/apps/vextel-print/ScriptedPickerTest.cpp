// Scripted runs of the built vextel-print with the built VextelPDE.plugin and the real
// address-book library: recipients picked from a vCard book, and recipients added to it.
#include "common/UtilityFunctions.h"
#include "kit/TextEncoding.h"
#include "support/HostRun.h"
#include "support/PrinterSimProcess.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using vextel_test::HostRun;

const QString kPpd = QStringLiteral(VEXTEL_SOURCE_DIR "/resources/ppd/Tarvik-M40-Vextel-Fax.ppd");
const QString kSample = QStringLiteral(VEXTEL_SOURCE_DIR "/resources/samples/fax-sample.pdf");
const QString kPrefix = QStringLiteral("tarvik.print.printsettings.");

// Two colleagues in the group "Office", and one more person outside it.
const char kOfficeBook[] = "BEGIN:VCARD\r\nVERSION:4.0\r\nUID:urn:uuid:1\r\nFN:Zed Okafor\r\n"
                           "TEL;TYPE=fax,work:0311111111\r\nEND:VCARD\r\n"
                           "BEGIN:VCARD\r\nVERSION:4.0\r\nUID:urn:uuid:2\r\nFN:Bea Marsh\r\n"
                           "ORG:Northwind\r\nTEL;TYPE=fax:0322222222\r\nEND:VCARD\r\n"
                           "BEGIN:VCARD\r\nVERSION:4.0\r\nUID:urn:uuid:3\r\nFN:Carl Lind\r\n"
                           "TEL;TYPE=fax:0333333333\r\nEND:VCARD\r\n"
                           "BEGIN:VCARD\r\nVERSION:4.0\r\nKIND:group\r\nFN:Office\r\n"
                           "MEMBER:urn:uuid:1\r\nMEMBER:urn:uuid:2\r\nEND:VCARD\r\n";

const QStringList kToTheFaxDialog{"panel \"Fax Settings\"", "choose coverPagePopup Detailed",
                                  "choose senderModePopup \"Enter Name\"",
                                  "type senderNameTextEdit \"Dana Whitfield\"", "print"};

class ScriptedPickerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(temp.isValid());
        ASSERT_TRUE(QDir().mkpath(books()));
        writeBook("office.vcf", kOfficeBook);
    }

    QString books() const { return temp.filePath(QStringLiteral("books")); }
    QString jobs() const { return temp.filePath(QStringLiteral("jobs")); }

    void writeBook(const QString& name, const QByteArray& text) {
        QFile file(books() + "/" + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
    }

    HostRun runScript(const QStringList& lines, const QStringList& extraArguments = {}) {
        const QString path = temp.filePath(QStringLiteral("test.script"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(lines.join(QLatin1Char('\n')).toUtf8() + '\n');
        file.close();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("VEXTEL_PDE_PATH"));
        environment.remove(QStringLiteral("DISPLAY"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        environment.insert(QStringLiteral("HOME"), temp.path());
        environment.insert(QStringLiteral("XDG_DATA_HOME"), temp.filePath(QStringLiteral("data")));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                           temp.filePath(QStringLiteral("config")));
        environment.insert(QStringLiteral("VEXTEL_ADDRESS_BOOK_DIR"), books());
        for (auto it = extraEnvironment.cbegin(); it != extraEnvironment.cend(); ++it) {
            environment.insert(it.key(), it.value());
        }
        QStringList arguments{"--ppd", kPpd, "--output", jobs(), "--script", path};
        arguments << extraArguments << kSample;
        return vextel_test::runHost(arguments, environment);
    }

    static std::string describe(const HostRun& run) {
        return ("exit " + QString::number(run.exitCode) + "\n" + run.out + "\n" + run.err)
            .toStdString();
    }

    // The lines a `show` printed for the table, without the heading.
    static QStringList shownRows(const HostRun& run, const QString& table, int occurrence = 0) {
        const QStringList lines = run.out.split(QLatin1Char('\n'));
        int seen = -1;
        QStringList rows;
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (lines[i].startsWith("table " + table + " ") && ++seen == occurrence) {
                for (qsizetype j = i + 1; j < lines.size() && lines[j].startsWith("  "); ++j) {
                    rows << lines[j].trimmed();
                }
            }
        }
        return rows;
    }

    QTemporaryDir temp;
    QMap<QString, QString> extraEnvironment;
};

// A typed recipient, a group of two picked from the PC book, a password and Start: three
// recipients in the job, numbered in descending order of name.
TEST_F(ScriptedPickerTest, OnePrintEndToEnd) {
    QStringList script = kToTheFaxDialog;
    script << "type addressNameTextField \"Ada Lovelace\""
           << "type addressPhoneNumberTextField 0207946001"
           << "press Add"
           << "press \"PC Address Book...\""
           << "show pcAddressTableView"
           << "select pcAddressTableView 2"
           << "press \"Add to Recipients\""
           << "show destinationTableView"
           << "screenshot " + temp.filePath("picker.png") << "press OK"
           << "type passwordTextField 4321"
           << "press Start";
    const HostRun run = runScript(script);
    ASSERT_EQ(run.exitCode, 0) << describe(run);
    EXPECT_EQ(shownRows(run, "pcAddressTableView"),
              QStringList({"1: Zed Okafor | 0311111111", "2: Office | Group",
                           "3: Carl Lind | 0333333333", "4: Bea Marsh | 0322222222"}))
        << describe(run);
    EXPECT_EQ(shownRows(run, "destinationTableView"),
              QStringList({"1: Zed Okafor | 0311111111", "2: Bea Marsh | 0322222222",
                           "3: Ada Lovelace | 0207946001"}));
    EXPECT_TRUE(run.alerts().isEmpty()) << describe(run);

    const QMap<QString, QString> options = run.printedOptions();
    EXPECT_EQ(options.value(kPrefix + "VTelDestinationNumber"), "3");
    const QStringList expected[] = {
        {"Zed Okafor", "0311111111"}, {"Bea Marsh", "0322222222"}, {"Ada Lovelace", "0207946001"}};
    for (int n = 1; n <= 3; ++n) {
        EXPECT_EQ(options.value(kPrefix + "VTelDestinationName" + QString::number(n)),
                  expected[n - 1][0]);
        EXPECT_EQ(options.value(kPrefix + "VTelDestinationPhoneNumber" + QString::number(n)),
                  expected[n - 1][1]);
    }
    // The output says only that a password is set; the job's own file holds it scrambled.
    EXPECT_EQ(options.value(kPrefix + "VTelPassword"), "(set)");
    QFile jobOptions(jobs() + "/job-1/job-options");
    ASSERT_TRUE(jobOptions.open(QIODevice::ReadOnly));
    QString password;
    for (const QByteArray& line : jobOptions.readAll().split('\n')) {
        if (line.startsWith((kPrefix + "VTelPassword=").toUtf8())) {
            password = QString::fromUtf8(line.mid(line.indexOf('=') + 1));
        }
    }
    EXPECT_NE(password, "4321");
    EXPECT_FALSE(run.out.contains("4321")) << "the password as typed is never printed";
    EXPECT_FALSE(run.out.contains(password)) << "nor scrambled";
    const auto decoded =
        tarvik_pde_m40vextel::CreateDecryptedString(password, kit::TextEncoding::ISOLatin1);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(decoded->toStdString(), "4321");
    EXPECT_FALSE(QImage(temp.filePath("picker.png")).isNull());
}

// Recipients added to the book are there when the picker reads it again; adding them a second
// time is refused by the library, and a recipient without a name stops the whole adding.
TEST_F(ScriptedPickerTest, AddingRecipientsToTheBookAndFindingThemAgain) {
    QStringList script = kToTheFaxDialog;
    script << "type addressNameTextField \"Yuki Tanaka\""
           << "type addressPhoneNumberTextField 0355555555"
           << "press Add"
           << "type addressNameTextField \"Al Brown\""
           << "type addressPhoneNumberTextField 0366666666"
           << "press Add"
           << "select recipientTableView 1 2"
           << "press \"Add to Address Book\""
           << "answer OK"
           << "press \"Add to Address Book\""
           << "answer OK"
           << "type addressPhoneNumberTextField 0377777777"
           << "press Add"
           << "select recipientTableView 1 2 3"
           << "press \"Add to Address Book\""
           << "answer OK"
           << "press \"PC Address Book...\""
           << "show pcAddressTableView"
           << "type pcAddressSearchField k"
           << "show pcAddressTableView"
           << "press Cancel"
           << "press Stop";
    const HostRun run = runScript(script);
    ASSERT_EQ(run.exitCode, 1) << describe(run);
    EXPECT_EQ(run.alerts(), QStringList({"alert: \"Added to Address Book.\" \"\" [OK] -> OK",
                                         "alert: \"Address already exists.\" \"\" [OK] -> OK",
                                         "alert: \"No name specified.\" \"\" [OK] -> OK"}))
        << describe(run);
    EXPECT_EQ(shownRows(run, "pcAddressTableView", 0),
              QStringList({"1: Zed Okafor | 0311111111", "2: Yuki Tanaka | 0355555555",
                           "3: Office | Group", "4: Carl Lind | 0333333333",
                           "5: Bea Marsh | 0322222222", "6: Al Brown | 0366666666"}))
        << describe(run);
    EXPECT_EQ(shownRows(run, "pcAddressTableView", 1),
              QStringList({"1: Zed Okafor | 0311111111", "2: Yuki Tanaka | 0355555555"}));
    QFile book(books() + "/office.vcf");
    ASSERT_TRUE(book.open(QIODevice::ReadOnly));
    const QByteArray text = book.readAll();
    EXPECT_TRUE(text.startsWith(kOfficeBook)) << "what was in the book stays as it was";
    EXPECT_EQ(text.count("FN:Yuki Tanaka"), 1);
    EXPECT_EQ(text.count("0377777777"), 0);
}

// Double clicks on the header and below the rows add nothing; on a row they add it. The
// property panels show an individual and a group.
TEST_F(ScriptedPickerTest, DoubleClicksAndPropertyPanels) {
    QStringList script = kToTheFaxDialog;
    script << "press \"PC Address Book...\""
           << "select pcAddressTableView 1"
           << "doubleclick pcAddressTableView header"
           << "doubleclick pcAddressTableView below"
           << "show destinationTableView"
           << "doubleclick pcAddressTableView 3"
           << "show destinationTableView"
           << "select pcAddressTableView 4"
           << "press Properties"
           << "screenshot " + temp.filePath("user.png") << "press Close"
           << "select pcAddressTableView 2"
           << "press Properties"
           << "show groupMemberTableView"
           << "screenshot " + temp.filePath("group.png") << "press Close"
           << "press OK"
           << "press Stop";
    const HostRun run = runScript(script);
    ASSERT_EQ(run.exitCode, 1) << describe(run);
    EXPECT_TRUE(shownRows(run, "destinationTableView", 0).isEmpty()) << describe(run);
    EXPECT_EQ(shownRows(run, "destinationTableView", 1), QStringList{"1: Carl Lind | 0333333333"});
    EXPECT_EQ(shownRows(run, "groupMemberTableView"),
              QStringList({"1: Zed Okafor | 0311111111", "2: Bea Marsh | 0322222222"}));
    EXPECT_FALSE(QImage(temp.filePath("user.png")).isNull());
    EXPECT_FALSE(QImage(temp.filePath("group.png")).isNull());
}

// The device tab against the printer simulator: the right password lists the printer's book,
// a wrong one and a printer that is down end in their alerts, the latter within 11 s. The
// password reaches the printer only through Digest authentication and is never printed.
TEST_F(ScriptedPickerTest, DeviceTabAgainstThePrinterSimulator) {
    const std::string book =
        R"({"individuals": [{"id": 1, "name": "Nadia Okafor", "faxNumber": "0312345678"},
                            {"id": 7, "name": "Front desk", "faxNumber": "0398765432"}],
            "groups": [{"name": "Everyone", "members": [1, 7]}]})";
    const struct {
        const char* name;
        std::vector<std::string> simulatorArguments;
        QString password;
        QStringList alerts;
        QStringList rows;
    } cases[] = {
        {"RightPassword",
         {"--password", "2580"},
         "2580",
         {},
         {"1: Nadia Okafor | 0312345678", "2: Front desk | 0398765432", "3: Everyone | Group"}},
        {"WrongPassword",
         {"--password", "2580"},
         "1111",
         {"alert: \"Device Access Failure\" \"Invalid Password\" [OK] -> OK"},
         {}},
        {"PrinterDown",
         {"--password", "2580", "--fault", "down"},
         "2580",
         {"alert: \"Device Access Failure\" \"Failed to retrieve data\" [OK] -> OK"},
         {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        vextel_test::PrinterSimProcess simulator(book, c.simulatorArguments);
        ASSERT_FALSE(simulator.address().empty());
        extraEnvironment.insert("VEXTEL_DEVICE_PORT", QString::number(simulator.port()));
        QStringList script = kToTheFaxDialog;
        script << "type passwordTextField " + c.password << "press \"Device Address Book...\"";
        if (!c.alerts.isEmpty()) {
            script << "answer OK";
        }
        script << "show deviceAddressTableView"
               << "press Cancel"
               << "press Stop";
        QElapsedTimer timer;
        timer.start();
        const HostRun run = runScript(
            script, {"--device-uri", QString::fromStdString("socket://" + simulator.host())});
        EXPECT_LT(timer.elapsed(), 11000);
        ASSERT_EQ(run.exitCode, 1) << describe(run);
        EXPECT_EQ(run.alerts(), c.alerts) << describe(run);
        EXPECT_EQ(shownRows(run, "deviceAddressTableView"), c.rows) << describe(run);
        EXPECT_FALSE(run.out.contains(c.password) || run.err.contains(c.password));
    }
}

TEST_F(ScriptedPickerTest, PickerScriptErrorsNameTheirLine) {
    const struct {
        QStringList lines;
        QString error;
    } cases[] = {
        {{"show nosuchTable"}, "no table \"nosuchTable\""},
        {{"tab addressSourceTabView 3"}, "the tab view \"addressSourceTabView\" has no tab \"3\""},
        {{"doubleclick destinationTableView 9"}, "the table has no row 9"},
        {{"openpanel /tmp/x.vcf"}, "no open panel is open"},
    };
    for (const auto& c : cases) {
        QStringList script = kToTheFaxDialog;
        script << "press \"PC Address Book...\"" << c.lines << "press OK"
               << "press Stop";
        const HostRun run = runScript(script);
        EXPECT_EQ(run.exitCode, 2) << describe(run);
        EXPECT_TRUE(run.err.contains("line 7: " + c.error)) << describe(run);
    }
}

} // namespace
