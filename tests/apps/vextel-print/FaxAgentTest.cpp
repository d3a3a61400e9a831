// The desktop agent run on a spool folder of its own, with no scheduler: what it refuses, what it
// keeps, and that a job goes only once it was sent or discarded.
#include "faxspool/FaxSpool.h"
#include "support/HostRun.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Puts a job into the folder as the capture backend would.
void capture(const QString& folder, const QByteArray& document, const std::string& queue) {
    const QString source = folder + QStringLiteral("/../document.in");
    QFile file(source);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(document);
    file.close();
    const int fd = open(QFile::encodeName(source).constData(), O_RDONLY);
    std::string error;
    ASSERT_TRUE(
        faxspool::writeJob(folder.toStdString(), {queue, "Report", "u", "1", 1, ""}, fd, &error))
        << error;
    close(fd);
}

struct AgentCase {
    const char* name;
    std::function<void(const QString& folder)> prepare;
    int exitCode;
    const char* message;    // in the agent's output or errors
    QStringList leftBehind; // name patterns of what stays in the folder
};

class FaxAgentTest : public ::testing::TestWithParam<AgentCase> {};

TEST_P(FaxAgentTest, HandlesTheWaitingJobs) {
    const AgentCase& c = GetParam();
    QTemporaryDir base;
    ASSERT_TRUE(base.isValid());
    const QString folder = base.filePath(QStringLiteral("spool"));
    ASSERT_TRUE(QDir().mkdir(folder));
    chmod(QFile::encodeName(folder).constData(), 0700);
    c.prepare(folder);

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), base.path());
    const auto run = vextel_test::runHost(
        {"--agent", "--once", "--spool", folder, "--server", "127.0.0.1:9", "--script",
         QStringLiteral(VEXTEL_SOURCE_DIR "/resources/scripts/walkthrough.script")},
        environment);
    EXPECT_EQ(run.exitCode, c.exitCode) << run.out.toStdString() << run.err.toStdString();
    EXPECT_TRUE((run.out + run.err).contains(QLatin1String(c.message)))
        << run.out.toStdString() << run.err.toStdString();
    QStringList left = QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    ASSERT_EQ(left.size(), c.leftBehind.size()) << left.join(' ').toStdString();
    for (qsizetype i = 0; i < left.size(); ++i) {
        EXPECT_TRUE(left.at(i).startsWith(c.leftBehind.at(i))) << left.at(i).toStdString();
    }
}

const AgentCase kCases[] = {
    {"NothingWaits", [](const QString&) {}, 0, "no fax jobs wait", {}},
    {"NotAPdfIsKeptAsideNeverSent",
     [](const QString& folder) { capture(folder, "%!PS-Adobe-3.0", "fax"); },
     3,
     "is not a readable PDF",
     {"rejected-job-"}},
    // The fax queue cannot be reached: the job stays to be offered again.
    {"AJobThatCannotGoOutStays",
     [](const QString& folder) { capture(folder, "%PDF-1.4", "fax"); },
     3,
     "is offered again when the agent starts next",
     {"job-"}},
    {"AFolderOthersMayWriteIsRefused",
     [](const QString& folder) {
         capture(folder, "%PDF-1.4", "fax");
         chmod(QFile::encodeName(folder).constData(), 0777);
     },
     3,
     "may be written by other users",
     {"job-"}},
};

INSTANTIATE_TEST_SUITE_P(Cases, FaxAgentTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
