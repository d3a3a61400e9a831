// The fax panel's editor button starts the real editor (found through its desktop entry in the
// build tree) for a printer served by vextel-printer-sim; the editor, run by a script as a person
// would use it, copies the printer's group into a new PC book; the next fax picks that group.
#include "support/HostRun.h"
#include "support/PrinterSimProcess.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace {

const QString kPpd = QStringLiteral(VEXTEL_SOURCE_DIR "/resources/ppd/Tarvik-M40-Vextel-Fax.ppd");
const QString kSample = QStringLiteral(VEXTEL_SOURCE_DIR "/resources/samples/fax-sample.pdf");
const QString kPrefix = QStringLiteral("tarvik.print.printsettings.");
const QString kEditor = QStringLiteral(VEXTEL_BINARY_DIR "/bin/vextel-addressbook");

const char kPrinterBook[] = R"({
  "individuals": [
    {"id": 1, "name": "Head office", "faxNumber": "0312345678"},
    {"id": 2, "name": "Osaka branch", "faxNumber": "0662014410"},
    {"id": 3, "name": "Nagoya branch", "faxNumber": "0522218800"}
  ],
  "groups": [{"name": "Branches", "members": [2, 3]}]
})";

const char kEditorScript[] = "password 4711\n"
                             "read-printer\n"
                             "new-book \"From printer\"\n"
                             "select printer\n"
                             "select-groups Branches\n"
                             "copy-to \"From printer\"\n"
                             "select \"From printer\"\n"
                             "save\n"
                             "quit\n";

class EditorEndToEndTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(temp.isValid());
        ASSERT_FALSE(sim.address().empty());
        ASSERT_TRUE(QDir().mkpath(books()));
        ASSERT_TRUE(QDir().mkpath(temp.filePath("runtime")));
        QFile::setPermissions(temp.filePath("runtime"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        write(temp.filePath("editor.script"), kEditorScript);
    }

    QString books() const { return temp.filePath("books"); }
    static void write(const QString& path, const QByteArray& text) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
    }

    QProcessEnvironment environment() const {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"VEXTEL_PDE_PATH", "DISPLAY", "WAYLAND_DISPLAY"}) {
            environment.remove(QLatin1String(name));
        }
        environment.insert("HOME", temp.path());
        // The editor's desktop entry of the build tree, which starts the built editor.
        environment.insert("XDG_DATA_HOME", VEXTEL_BINARY_DIR "/share");
        environment.insert("XDG_CONFIG_HOME", temp.filePath("config"));
        environment.insert("XDG_RUNTIME_DIR", temp.filePath("runtime"));
        environment.insert("VEXTEL_ADDRESS_BOOK_DIR", books());
        environment.insert("VEXTEL_DEVICE_PORT", QString::number(sim.port()));
        environment.insert("VEXTEL_ADDRESSBOOK_SCRIPT", temp.filePath("editor.script"));
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        return environment;
    }

    vextel_test::HostRun print(const QStringList& lines) {
        const QString path = temp.filePath("print.script");
        write(path, lines.join('\n').toUtf8() + '\n');
        return vextel_test::runHost({"--ppd", kPpd, "--device-uri", "socket://127.0.0.1:9100",
                                     "--output", temp.filePath("jobs"), "--script", path, kSample},
                                    environment());
    }

    static std::string describe(const vextel_test::HostRun& run) {
        return ("exit " + QString::number(run.exitCode) + "\n" + run.out + "\n" + run.err)
            .toStdString();
    }

    QTemporaryDir temp;
    vextel_test::PrinterSimProcess sim{kPrinterBook, {"--password", "4711"}};
};

TEST_F(EditorEndToEndTest, APrinterGroupCopiedInTheEditorIsPickedForTheNextFax) {
    // First the editor alone, with the reader of its output gone, as when the print dialog that
    // started it has ended: its next line must not end it before it saved. (Here, not in a test
    // of its own: an editor running at the same moment would be taken for the launched one.)
    const auto alone = vextel_test::runProgram(
        QStringLiteral("/bin/bash"),
        {"-c", R"(set -o pipefail; "$0" "-VTELConnectionType NET" "-VTELAddress 127.0.0.1" | true)",
         kEditor},
        environment());
    EXPECT_EQ(alone.exitCode, 0) << alone.err.toStdString();
    const QString book = books() + "/From printer.vcf";
    ASSERT_TRUE(QFile::exists(book)) << alone.err.toStdString();
    ASSERT_TRUE(QFile::remove(book));

    const auto launch =
        print({"panel \"Fax Settings\"", "press addressBookButton", "wait 0.2", "cancel"});
    EXPECT_EQ(launch.outLines().filter("launched: "),
              QStringList{"launched: " + kEditor +
                          R"( "-VTELConnectionType NET" "-VTELAddress 127.0.0.1")"})
        << describe(launch);

    // The editor runs on its own; its book appears when it saved.
    QDeadlineTimer deadline(60000);
    QByteArray text;
    while (!text.contains("Branches") && !deadline.hasExpired()) {
        QThread::msleep(100);
        QFile file(book);
        text = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    ASSERT_TRUE(text.contains("Branches")) << text.toStdString() << describe(launch);

    const auto fax = print({"print", "press \"PC Address Book...\"", "show pcAddressTableView",
                            "select pcAddressTableView 3", "press \"Add to Recipients\"",
                            "press OK", "press Start"});
    ASSERT_EQ(fax.exitCode, 0) << describe(fax);
    EXPECT_TRUE(fax.out.contains("  3: Branches | Group")) << describe(fax);
    const QMap<QString, QString> options = fax.printedOptions();
    EXPECT_EQ(options.value(kPrefix + "VTelDestinationNumber"), "2") << describe(fax);
    EXPECT_EQ(options.value(kPrefix + "VTelDestinationName1"), "Osaka branch");
    EXPECT_EQ(options.value(kPrefix + "VTelDestinationPhoneNumber1"), "0662014410");
    EXPECT_EQ(options.value(kPrefix + "VTelDestinationName2"), "Nagoya branch");
    EXPECT_EQ(options.value(kPrefix + "VTelDestinationPhoneNumber2"), "0522218800");
}

} // namespace
