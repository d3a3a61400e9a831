#include "BookTestSupport.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString kProbe = QStringLiteral(VEXTEL_BINARY_DIR "/bin/single-instance-probe");

QString runToEnd(const QStringList& arguments) {
    QProcess probe;
    probe.start(kProbe, arguments);
    probe.waitForFinished(15000);
    return QString::fromUtf8(probe.readAllStandardOutput()).trimmed();
}

class SingleInstanceTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(folder.isValid()); }
    QTemporaryDir folder;
    QString socket = folder.filePath("editor.socket");
};

TEST_F(SingleInstanceTest, ALaterStartHandsItsMessageToTheRunningOneAndEnds) {
    QProcess primary;
    primary.start(kProbe, {socket, "", "2"});
    ASSERT_TRUE(primary.waitForReadyRead(10000));
    EXPECT_EQ(primary.readLine().trimmed(), "primary");
    EXPECT_EQ(runToEnd({socket, "NET 192.0.2.7"}), "handed-off");
    EXPECT_EQ(runToEnd({socket, "USB"}), "handed-off");
    ASSERT_TRUE(primary.waitForFinished(10000));
    EXPECT_EQ(QString::fromUtf8(primary.readAllStandardOutput()).trimmed(),
              "got: NET 192.0.2.7\ngot: USB");
}

TEST_F(SingleInstanceTest, ASocketLeftByACrashedEditorDoesNotKeepTheNextOneFromStarting) {
    QFile leftover(socket);
    ASSERT_TRUE(leftover.open(QIODevice::WriteOnly));
    leftover.close();
    EXPECT_EQ(runToEnd({socket, ""}), "primary");
    // And one that ended normally leaves nothing that answers.
    EXPECT_EQ(runToEnd({socket, ""}), "primary");
}

TEST_F(SingleInstanceTest, StartsAtTheSameInstantEndAsOneEditor) {
    std::vector<std::unique_ptr<QProcess>> probes;
    for (int i = 0; i < 4; ++i) {
        probes.push_back(std::make_unique<QProcess>());
        // The primary waits for the three others' messages.
        probes.back()->start(kProbe, {socket, QStringLiteral("USB"), "3"});
    }
    QStringList outcomes;
    for (auto& probe : probes) {
        ASSERT_TRUE(probe->waitForFinished(20000));
        outcomes.append(QString::fromUtf8(probe->readAllStandardOutput()).section('\n', 0, 0));
    }
    outcomes.sort();
    EXPECT_EQ(outcomes, QStringList({"handed-off", "handed-off", "handed-off", "primary"}));
}

} // namespace
