// Scripted runs of the built vextel-print with the built VextelPDE.plugin: what a person does in
// the print dialog and the fax-sending dialog, and what reaches the job.
#include "common/UtilityFunctions.h"
#include "kit/TextEncoding.h"
#include "support/HostRun.h"
#include "vextelpde/JobParameterKeys.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace {

using tarvik_pde_m40vextel::jobParameterKey;
using tarvik_pde_m40vextel::kVTelCoverSenderName;
using tarvik_pde_m40vextel::kVTelDelayedPrint;
using tarvik_pde_m40vextel::kVTelDelayedTime;
using tarvik_pde_m40vextel::kVTelDestinationName;
using tarvik_pde_m40vextel::kVTelDestinationNumber;
using tarvik_pde_m40vextel::kVTelDestinationPhoneNumber;
using tarvik_pde_m40vextel::kVTelPassword;
using vextel_test::HostRun;

const QString kPpd = QStringLiteral(VEXTEL_SOURCE_DIR "/resources/ppd/Tarvik-M40-Vextel-Fax.ppd");
const QString kWalkthrough =
    QStringLiteral(VEXTEL_SOURCE_DIR "/resources/scripts/walkthrough.script");
const QString kSample = QStringLiteral(VEXTEL_SOURCE_DIR "/resources/samples/fax-sample.pdf");

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class ScriptedPrintTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(temp.isValid());
        ASSERT_TRUE(QFileInfo(vextel_test::hostProgram()).isExecutable())
            << vextel_test::hostProgram().toStdString();
        ASSERT_TRUE(QFileInfo::exists(QStringLiteral(VEXTEL_PLUGIN_DIR "/VextelPDE.plugin")));
    }

    QString jobs() const { return temp.filePath(QStringLiteral("jobs")); }
    QString job1() const { return jobs() + QStringLiteral("/job-1"); }

    // Runs the host on the shipped PPD and the sample, with its own home so nothing of the
    // user's (preferences, address books, plug-in path) comes in.
    // Entries of `extra` go over the environment; a null value removes the variable.
    HostRun runHost(const QStringList& arguments, const QMap<QString, QString>& extra = {}) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (auto it = extra.begin(); it != extra.end(); ++it) {
            if (it.value().isNull()) {
                environment.remove(it.key());
            } else {
                environment.insert(it.key(), it.value());
            }
        }
        environment.remove(QStringLiteral("VEXTEL_PDE_PATH"));
        environment.remove(QStringLiteral("DISPLAY"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        environment.insert(QStringLiteral("HOME"), temp.path());
        environment.insert(QStringLiteral("XDG_DATA_HOME"), temp.filePath(QStringLiteral("data")));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                           temp.filePath(QStringLiteral("config")));
        return vextel_test::runHost(arguments, environment);
    }

    HostRun runHost(const QString& scriptPath) {
        return runHost({"--ppd", kPpd, "--output", jobs(), "--script", scriptPath, kSample});
    }

    HostRun runScript(const QStringList& lines) {
        const QString path = temp.filePath(QStringLiteral("test.script"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(lines.join(QLatin1Char('\n')).toUtf8() + '\n');
        file.close();
        return runHost(path);
    }

    // job-options of the first job, by key.
    QMap<QString, QString> jobOptions() const {
        QMap<QString, QString> options;
        const QStringList lines =
            QString::fromUtf8(readFile(job1() + QStringLiteral("/job-options")))
                .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        for (const QString& line : lines) {
            const qsizetype equals = line.indexOf(QLatin1Char('='));
            options.insert(line.left(equals), line.mid(equals + 1));
        }
        return options;
    }

    static std::string describe(const HostRun& run) {
        return QStringLiteral("exit %1\nstdout:\n%2\nstderr:\n%3")
            .arg(run.exitCode)
            .arg(run.out, run.err)
            .toStdString();
    }

    QTemporaryDir temp;
};

// The first lines of every script below: the fax panel with a cover page and a typed name.
const QStringList kFaxPanel = {"panel \"Fax Settings\"", "choose coverPagePopup Standard",
                               "choose senderModePopup \"Enter Name\"",
                               "type senderNameTextEdit \"Dana Whitfield\""};

TEST_F(ScriptedPrintTest, WalkthroughWritesTheFaxJobWithEveryEntry) {
    const HostRun run = runHost(kWalkthrough);
    ASSERT_EQ(run.exitCode, 0) << describe(run);

    EXPECT_EQ(run.alerts(), QStringList({"alert: \"No Sender Specified\" \"\" [OK] -> OK"}))
        << describe(run);
    EXPECT_TRUE(run.out.contains("job written to " + job1())) << describe(run);
    EXPECT_EQ(readFile(job1() + "/fax-sample.pdf"), readFile(kSample));

    const auto options = jobOptions();
    EXPECT_EQ(options.value("TKFaxCoverPageMode"), "Detailed");
    EXPECT_EQ(options.value("TKFaxSenderMode"), "EnterName");
    EXPECT_EQ(options.value(jobParameterKey(kVTelCoverSenderName)), "Dana Whitfield");
    EXPECT_EQ(options.value(jobParameterKey(kVTelDelayedPrint)), "1");
    EXPECT_EQ(options.value(jobParameterKey(kVTelDelayedTime)), "21:30");
    EXPECT_EQ(options.value(jobParameterKey(kVTelDestinationNumber)), "2");
    EXPECT_EQ(options.value(jobParameterKey(kVTelDestinationName, 1)), "Northwind Office");
    EXPECT_EQ(options.value(jobParameterKey(kVTelDestinationPhoneNumber, 1)), "0312345678");
    EXPECT_EQ(options.value(jobParameterKey(kVTelDestinationName, 2)), "Ada Lovelace");
    EXPECT_EQ(options.value(jobParameterKey(kVTelDestinationPhoneNumber, 2)), "0207946001");
    EXPECT_FALSE(options.contains(jobParameterKey(kVTelDestinationName, 3)));

    const QString password = options.value(jobParameterKey(kVTelPassword));
    EXPECT_TRUE(QRegularExpression("^[A-Za-z0-9+/]{6}==$").match(password).hasMatch())
        << password.toStdString();
    const auto decoded =
        tarvik_pde_m40vextel::CreateDecryptedString(password, kit::TextEncoding::ISOLatin1);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->toStdString(), "4321");

    // The options printed are the options written, in the same order, but for the password,
    // which shows only that it is set; the job's folder and files are the user's alone.
    QStringList printed;
    for (const QString& line : run.outLines()) {
        if (line.startsWith("  ")) {
            printed.append(line.mid(2));
        }
    }
    const QString passwordLine = jobParameterKey(kVTelPassword) + '=';
    EXPECT_EQ(printed.join('\n') + '\n',
              QString::fromUtf8(readFile(job1() + "/job-options"))
                  .replace(passwordLine + password, passwordLine + "(set)"));
    EXPECT_FALSE(run.out.contains(password) || run.err.contains(password)) << describe(run);
    EXPECT_EQ(QFileInfo(job1()).permissions() & 0x7077,
              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    for (const char* name : {"/fax-sample.pdf", "/job-options"}) {
        EXPECT_EQ(QFileInfo(job1() + name).permissions() & 0x7077,
                  QFile::ReadOwner | QFile::WriteOwner)
            << name;
    }
}

TEST_F(ScriptedPrintTest, StartWithOnlyATypedNumberSendsItWithAnEmptyName) {
    QStringList script = kFaxPanel;
    script << "print"
           << "type addressNameTextField Ignored"
           << "type addressPhoneNumberTextField 0123"
           << "press Start"
           << "answer OK";
    const HostRun run = runScript(script);
    ASSERT_EQ(run.exitCode, 0) << describe(run);
    EXPECT_EQ(run.alerts(), QStringList({"alert: \"Characters added to Fax Number\" "
                                         "\"Current number is automatically added\" "
                                         "[OK, Cancel] -> OK"}));
    const auto options = jobOptions();
    EXPECT_EQ(options.value(jobParameterKey(kVTelDestinationNumber)), "1");
    ASSERT_TRUE(options.contains(jobParameterKey(kVTelDestinationName, 1)));
    EXPECT_EQ(options.value(jobParameterKey(kVTelDestinationName, 1)), "");
    EXPECT_EQ(options.value(jobParameterKey(kVTelDestinationPhoneNumber, 1)), "0123");
    EXPECT_EQ(options.value(jobParameterKey(kVTelPassword)), "");
    EXPECT_EQ(options.value(jobParameterKey(kVTelDelayedPrint)), "0");
    EXPECT_TRUE(QRegularExpression("^([01][0-9]|2[0-3]):[0-5][0-9]$")
                    .match(options.value(jobParameterKey(kVTelDelayedTime)))
                    .hasMatch())
        << options.value(jobParameterKey(kVTelDelayedTime)).toStdString();
}

TEST_F(ScriptedPrintTest, PrintedOptionsAreTheJobsOwnWithItsCopies) {
    QStringList script = kFaxPanel;
    script << "copies 3"
           << "print"
           << "type addressPhoneNumberTextField 0207946001"
           << "press Add"
           << "press Start";
    const HostRun run = runScript(script);
    ASSERT_EQ(run.exitCode, 0) << describe(run);
    EXPECT_EQ(jobOptions().value("copies"), "3");
    EXPECT_TRUE(run.outLines().contains("  copies=3")) << describe(run);
}

TEST_F(ScriptedPrintTest, StopCancelsTheJob) {
    QStringList script = kFaxPanel;
    script << "print"
           << "type addressNameTextField \"Ada Lovelace\""
           << "type addressPhoneNumberTextField 0207946001"
           << "press Add"
           << "press Stop";
    const HostRun run = runScript(script);
    EXPECT_EQ(run.exitCode, 1) << describe(run);
    EXPECT_TRUE(run.out.contains("cancelled")) << describe(run);
    EXPECT_FALSE(run.out.contains("job options")) << describe(run);
    EXPECT_FALSE(QFileInfo::exists(jobs()));
}

TEST_F(ScriptedPrintTest, PdfFileDestinationPassesWithoutTheFaxDialog) {
    const QString target = temp.filePath("fax copy.pdf");
    QStringList script = kFaxPanel;
    // Had the fax-sending dialog opened, the script would end inside it: a script error.
    script << "destination pdf \"" + target + "\""
           << "print";
    const HostRun run = runScript(script);
    ASSERT_EQ(run.exitCode, 0) << describe(run);
    EXPECT_TRUE(run.alerts().isEmpty()) << describe(run);
    EXPECT_EQ(readFile(target), readFile(kSample));
    EXPECT_FALSE(QFileInfo::exists(jobs()));
}

TEST_F(ScriptedPrintTest, APpdThatNamesNoWorkingExtensionGetsThePlainDialog) {
    // The fax printer's own PPD with its extension line taken out or pointing elsewhere. With the
    // fax panel loaded, "print" would open the fax-sending dialog and the script end inside it.
    const QString original = QString::fromLatin1(readFile(kPpd));
    const QString line =
        QStringLiteral("*APDialogExtension: \"/usr/lib/vextel/plugins/VextelPDE.plugin\"\n");
    ASSERT_TRUE(original.contains(line));
    const struct {
        const char* name;
        QString replacement;
        int errorLines;
    } kCases[] = {
        {"NoExtensionLine", QString(), 0},
        {"MissingBundle", QStringLiteral("*APDialogExtension: \"/opt/none/Missing.plugin\"\n"), 1},
        {"NotABundle", QStringLiteral("*APDialogExtension: \"%1\"\n").arg(temp.path()), 1},
    };
    for (const auto& row : kCases) {
        const QString ppd = temp.filePath(QStringLiteral("%1.ppd").arg(row.name));
        QFile file(ppd);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QString(original).replace(line, row.replacement).toLatin1());
        file.close();
        const QString folder = temp.filePath(row.name);
        const QString script = temp.filePath(QStringLiteral("print.script"));
        QFile scriptFile(script);
        ASSERT_TRUE(scriptFile.open(QIODevice::WriteOnly));
        scriptFile.write("print\n");
        scriptFile.close();
        const HostRun run =
            runHost({"--ppd", ppd, "--output", folder, "--script", script, kSample});
        ASSERT_EQ(run.exitCode, 0) << row.name << describe(run);
        // The host's own lines; the offscreen platform may add notes of its own.
        EXPECT_EQ(run.err.count(QStringLiteral("vextel-print: ")), row.errorLines)
            << row.name << describe(run);
        const QString options =
            QString::fromUtf8(readFile(folder + QStringLiteral("/job-1/job-options")));
        EXPECT_TRUE(options.contains(QStringLiteral("PageSize="))) << row.name;
        EXPECT_FALSE(options.contains(QStringLiteral("tarvik.print.printsettings"))) << row.name;
    }
}

TEST_F(ScriptedPrintTest, UnacceptableSenderNameStopsThePrintBeforeAnyDialog) {
    QStringList script = kFaxPanel;
    // Set from outside, past the field's formatter: a character beyond U+007E.
    script << "set senderNameTextEdit \"Dana Whitfi\u00e9ld\""
           << "print"
           << "answer OK"
           // Still the print dialog: with the fax-sending dialog open, cancel would be an error.
           << "cancel";
    const HostRun run = runScript(script);
    EXPECT_EQ(run.exitCode, 1) << describe(run);
    EXPECT_EQ(run.alerts(),
              QStringList({QString::fromUtf8(
                  "alert: \"The settings in \u201cFax Settings\u201d cannot be used.\" "
                  "\"The sender name can have at most 30 characters: letters A to Z, digits, "
                  "spaces and punctuation.\" [OK] -> OK")}))
        << describe(run);
    EXPECT_FALSE(QFileInfo::exists(jobs()));
}

TEST_F(ScriptedPrintTest, RefusedSenderNameIsReplacedByTheLastAcceptedOne) {
    QStringList script = kFaxPanel;
    script << "panel Summary" // saves "Dana Whitfield"
           << "panel \"Fax Settings\""
           << "set senderNameTextEdit \"Dana Whitfi\u00e9ld\""
           << "print" // refused: the field shows "Dana Whitfield" again
           << "answer OK"
           << "print"
           << "type addressPhoneNumberTextField 0207946001"
           << "press Add"
           << "press Start";
    const HostRun run = runScript(script);
    ASSERT_EQ(run.exitCode, 0) << describe(run);
    EXPECT_EQ(jobOptions().value(jobParameterKey(kVTelCoverSenderName)), "Dana Whitfield");
}

TEST_F(ScriptedPrintTest, ScriptErrorNamesItsLineAndSendsNothing) {
    QStringList script = kFaxPanel;
    script << "print"
           << "press Add"; // nothing typed: Add is disabled
    const HostRun run = runScript(script);
    EXPECT_EQ(run.exitCode, 2) << describe(run);
    EXPECT_TRUE(run.err.contains("line 6: the button \"Add\" is disabled")) << describe(run);
    EXPECT_FALSE(QFileInfo::exists(jobs()));
}

TEST_F(ScriptedPrintTest, EditorButtonStartsTheEditorWithThePrintersConnection) {
    // The editor's desktop entry points to a program that writes its arguments down.
    const QString applications = temp.filePath(QStringLiteral("data/applications"));
    ASSERT_TRUE(QDir().mkpath(applications));
    const QString recorder = temp.filePath(QStringLiteral("record-arguments"));
    QFile program(recorder);
    ASSERT_TRUE(program.open(QIODevice::WriteOnly));
    program.write("#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$0.tmp\" && mv \"$0.tmp\" \"$0.args\"\n");
    program.close();
    program.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile entry(applications + QStringLiteral("/com.tarvik.print.VextelAddressBook.desktop"));
    ASSERT_TRUE(entry.open(QIODevice::WriteOnly));
    entry.write("[Desktop Entry]\nType=Application\nName=Address Book\nExec=" + recorder.toUtf8() +
                " %U\n");
    entry.close();

    const struct {
        const char* uri;
        QString line;
        QString arguments;
    } rows[] = {
        {"socket://127.0.0.1:9100",
         "launched: " + recorder + R"( "-VTELConnectionType NET" "-VTELAddress 127.0.0.1")",
         "-VTELConnectionType NET\n-VTELAddress 127.0.0.1\n"},
        {"usb://Tarvik/M40?serial=1", "launched: " + recorder + R"( "-VTELConnectionType USB")",
         "-VTELConnectionType USB\n"},
    };
    const QString script = temp.filePath(QStringLiteral("editor.script"));
    QFile file(script);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("panel \"Fax Settings\"\npress addressBookButton\nwait 0.2\ncancel\n");
    file.close();
    for (const auto& row : rows) {
        QFile::remove(recorder + ".args");
        const HostRun run = runHost({"--ppd", kPpd, "--device-uri", row.uri, "--output", jobs(),
                                     "--script", script, kSample});
        EXPECT_EQ(run.exitCode, 1) << describe(run);
        EXPECT_EQ(run.outLines().filter("launched: "), QStringList{row.line}) << describe(run);
        // The launch really happened, each argument whole.
        QString written;
        for (int i = 0; i < 100 && written.isEmpty(); ++i) {
            QThread::msleep(50);
            written = QString::fromUtf8(readFile(recorder + ".args"));
        }
        EXPECT_EQ(written, row.arguments) << row.uri;
    }
}

TEST_F(ScriptedPrintTest, ScreenshotShowsTheDialogWithTheFaxPanel) {
    const QString png = temp.filePath(QStringLiteral("dialog.png"));
    const HostRun run = runHost(QStringList{"--ppd", kPpd, "--screenshot", png});
    ASSERT_EQ(run.exitCode, 0) << describe(run);
    EXPECT_EQ(run.outLines(),
              QStringList{"screenshot of the panel \"Fax Settings\" written to " + png});
    const QImage image(png);
    ASSERT_FALSE(image.isNull());
    EXPECT_GE(image.width(), 500);
    EXPECT_GE(image.height(), 350);
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 2) {
        for (int x = 0; x < image.width(); x += 2) {
            colours.insert(image.pixel(x, y));
        }
    }
    EXPECT_GT(colours.size(), 20) << "a blank or boxes-only picture";
}

// Japanese ships, so its labels must be drawn: the screenshot differs from one taken with every
// font that has Japanese hidden, where each Japanese character is an empty box.
TEST_F(ScriptedPrintTest, JapaneseScreenshotDrawsThePanelsLabels) {
    const QString noJapaneseFonts = temp.filePath(QStringLiteral("no-japanese-fonts.conf"));
    QFile conf(noJapaneseFonts);
    ASSERT_TRUE(conf.open(QIODevice::WriteOnly));
    conf.write("<?xml version=\"1.0\"?>\n"
               "<!DOCTYPE fontconfig SYSTEM \"urn:fontconfig:fonts.dtd\">\n"
               "<fontconfig>\n"
               "  <include ignore_missing=\"yes\">/etc/fonts/fonts.conf</include>\n"
               "  <selectfont><rejectfont><pattern>\n"
               "    <patelt name=\"lang\"><string>ja</string></patelt>\n"
               "  </pattern></rejectfont></selectfont>\n"
               "</fontconfig>\n");
    conf.close();
    const QMap<QString, QString> japanese = {{"LANG", "ja_JP.UTF-8"},
                                             {"LC_ALL", QString()},
                                             {"LC_MESSAGES", QString()},
                                             {"LANGUAGE", QString()}};
    QMap<QString, QString> withoutJapaneseFonts = japanese;
    withoutJapaneseFonts.insert("FONTCONFIG_FILE", noJapaneseFonts);

    const QString drawn = temp.filePath(QStringLiteral("ja.png"));
    const QString boxes = temp.filePath(QStringLiteral("ja-boxes.png"));
    const HostRun run = runHost(QStringList{"--ppd", kPpd, "--screenshot", drawn}, japanese);
    ASSERT_EQ(run.exitCode, 0) << describe(run);
    const HostRun boxed =
        runHost(QStringList{"--ppd", kPpd, "--screenshot", boxes}, withoutJapaneseFonts);
    ASSERT_EQ(boxed.exitCode, 0) << describe(boxed);
    const QImage withFonts(drawn);
    const QImage withoutFonts(boxes);
    ASSERT_FALSE(withFonts.isNull());
    ASSERT_FALSE(withoutFonts.isNull());
    EXPECT_NE(withFonts, withoutFonts) << "the Japanese labels are drawn as empty boxes";
}

} // namespace
