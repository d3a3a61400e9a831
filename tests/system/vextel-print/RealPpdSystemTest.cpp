// Real PPDs of other printer makers, from Debian's driver packages, opened in the host: each gets
// the plain print dialog with no fax panel, and its job goes out with the PPD's marked choices and
// no fax entries. The fax printer's own PPD, for contrast, brings the fax panel. Skips itself when
// the packages are missing (scripts/install-deps.sh installs them).
#include "support/HostRun.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <cups/ppd.h>
#include <gtest/gtest.h>
#include <memory>

namespace {

using vextel_test::HostRun;

const QString kFaxPpd =
    QStringLiteral(VEXTEL_SOURCE_DIR "/resources/ppd/Tarvik-M40-Vextel-Fax.ppd");
const QString kSample = QStringLiteral(VEXTEL_SOURCE_DIR "/resources/samples/fax-sample.pdf");
const QString kCollect =
    QStringLiteral(VEXTEL_SOURCE_DIR "/tests/system/real-ppds/collect-ppds.sh");
constexpr int kSkipStatus = 77;

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void addMarked(ppd_file_t* ppd, const ppd_group_t& group, QStringList& lines) {
    for (int i = 0; i < group.num_options; ++i) {
        const ppd_option_t& option = group.options[i];
        if (const ppd_choice_t* choice = ppdFindMarkedChoice(ppd, option.keyword)) {
            lines.append(QStringLiteral("%1=%2").arg(QString::fromUtf8(option.keyword),
                                                     QString::fromUtf8(choice->choice)));
        }
    }
    for (int i = 0; i < group.num_subgroups; ++i) {
        addMarked(ppd, group.subgroups[i], lines);
    }
}

// "keyword=choice" for every default the PPD marks, as libcups reads it; none when it cannot.
std::optional<QStringList> markedDefaults(const QString& path) {
    ppd_file_t* ppd = ppdOpenFile(QFile::encodeName(path).constData());
    if (ppd == nullptr) {
        return std::nullopt;
    }
    ppdMarkDefaults(ppd);
    QStringList lines;
    for (int i = 0; i < ppd->num_groups; ++i) {
        addMarked(ppd, ppd->groups[i], lines);
    }
    ppdClose(ppd);
    lines.removeDuplicates();
    return lines;
}

class RealPpdSystemTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ppds_ = std::make_unique<QTemporaryDir>();
        QProcess collect;
        collect.start(QStringLiteral("/bin/bash"), {kCollect, ppds_->path()});
        collect.waitForFinished(600000);
        collectStatus_ = collect.exitStatus() == QProcess::NormalExit ? collect.exitCode() : -1;
        collectErrors_ = QString::fromUtf8(collect.readAllStandardError());
    }
    static void TearDownTestSuite() { ppds_.reset(); }

    void SetUp() override {
        if (collectStatus_ == kSkipStatus) {
            GTEST_SKIP() << collectErrors_.toStdString();
        }
        ASSERT_EQ(collectStatus_, 0) << collectErrors_.toStdString();
        ASSERT_TRUE(temp.isValid());
        QFile script(temp.filePath(QStringLiteral("print.script")));
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        // With the fax panel there, Print opens the fax-sending dialog and the script ends
        // inside it; without, the job goes out.
        script.write("print\n");
    }

    HostRun print(const QString& ppd, const QString& output) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("VEXTEL_PDE_PATH"));
        environment.insert(QStringLiteral("HOME"), temp.path());
        environment.insert(QStringLiteral("XDG_DATA_HOME"), temp.filePath(QStringLiteral("data")));
        return vextel_test::runHost({"--ppd", ppd, "--output", output, "--script",
                                     temp.filePath(QStringLiteral("print.script")), kSample},
                                    environment);
    }

    static std::unique_ptr<QTemporaryDir> ppds_;
    static int collectStatus_;
    static QString collectErrors_;
    QTemporaryDir temp;
};

std::unique_ptr<QTemporaryDir> RealPpdSystemTest::ppds_;
int RealPpdSystemTest::collectStatus_ = -1;
QString RealPpdSystemTest::collectErrors_;

TEST_F(RealPpdSystemTest, EveryOtherMakersPpdGetsThePlainDialogAndItsJobGoesOut) {
    const QStringList names = QDir(ppds_->path()).entryList({QStringLiteral("*.ppd")}, QDir::Files);
    EXPECT_GE(names.size(), 30) << "the driver packages gave fewer PPDs than chosen";
    for (const QString& name : names) {
        const QString ppd = QDir(ppds_->path()).filePath(name);
        const std::optional<QStringList> marked = markedDefaults(ppd);
        ASSERT_TRUE(marked) << name.toStdString() << ": libcups cannot read it";
        const QString output = temp.filePath(name);
        const HostRun run = print(ppd, output);
        ASSERT_EQ(run.exitCode, 0) << name.toStdString() << "\n" << run.err.toStdString();
        // Some makers' PPDs name dialog extensions of another platform: one line says they are
        // not found, and nothing else may go wrong.
        const QStringList hostLines =
            run.err.split(QLatin1Char('\n')).filter(QStringLiteral("vextel-print: "));
        EXPECT_LE(hostLines.size(), 1) << name.toStdString() << "\n" << run.err.toStdString();
        for (const QString& line : hostLines) {
            EXPECT_TRUE(line.contains(QStringLiteral("the dialog extensions the PPD names are not "
                                                     "found")))
                << name.toStdString() << "\n"
                << run.err.toStdString();
        }
        const QStringList options =
            QString::fromUtf8(readFile(output + QStringLiteral("/job-1/job-options")))
                .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        EXPECT_FALSE(options.isEmpty()) << name.toStdString();
        for (const QString& choice : *marked) {
            EXPECT_TRUE(options.contains(choice))
                << name.toStdString() << ": " << choice.toStdString() << " not in the job";
        }
        EXPECT_TRUE(options.filter(QStringLiteral("tarvik.print.printsettings")).isEmpty())
            << name.toStdString();
    }
}

TEST_F(RealPpdSystemTest, TheFaxPrintersPpdBringsTheFaxPanel) {
    const QString output = temp.filePath(QStringLiteral("fax"));
    const HostRun run = print(kFaxPpd, output);
    // Print opened the fax-sending dialog, where the one-line script ends: a script error, and
    // no job.
    EXPECT_EQ(run.exitCode, 2) << run.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(output + QStringLiteral("/job-1")));
}

} // namespace
