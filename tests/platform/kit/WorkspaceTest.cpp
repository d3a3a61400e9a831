#include "kit/Workspace.h"

#include "support/EnvironmentScope.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <gmock/gmock.h>
#include <unistd.h>

using ::testing::ElementsAre;

namespace {

// Desktop entries in a private XDG_DATA_HOME, with an empty XDG_DATA_DIRS behind it.
class WorkspaceTest : public ::testing::Test {
protected:
    QTemporaryDir home;
    QTemporaryDir system;
    vextel_test::EnvironmentScope dataHome{"XDG_DATA_HOME", home.path().toLocal8Bit()};
    vextel_test::EnvironmentScope dataDirs{"XDG_DATA_DIRS", system.path().toLocal8Bit()};

    void writeEntry(const QTemporaryDir& root, const QString& fileName, const QByteArray& text) {
        QDir().mkpath(root.filePath("applications"));
        QFile file(root.filePath("applications/" + fileName));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
};

bool waitForFile(const QString& path) {
    QElapsedTimer timer;
    timer.start();
    while (!QFile::exists(path) && timer.elapsed() < 5000) {
        QThread::msleep(20);
    }
    return QFile::exists(path);
}

} // namespace

TEST_F(WorkspaceTest, FindsAnApplicationByEntryNameOrDeclaredIdentifier) {
    writeEntry(home, "com.example.Editor.desktop",
               "[Desktop Entry]\nType=Application\nName=Editor\n"
               "Exec=\"/opt/example/address book/editor\" --mode \"a \\\"b\\\"\" %U 50%%\n"
               "[Desktop Action New]\nExec=/opt/example/other\n");
    writeEntry(system, "editor2.desktop",
               "[Desktop Entry]\nType=Application\nExec=/opt/example/editor2 %f\n"
               "X-Vextel-Bundle-Identifier=com.example.Editor2\n");
    EXPECT_EQ(kit::Workspace::absolutePathForApplication("com.example.Editor"),
              "/opt/example/address book/editor");
    EXPECT_THAT(kit::Workspace::execArgumentsForApplication("com.example.Editor"),
                ElementsAre("--mode", "a \"b\"", "50%"));
    EXPECT_EQ(kit::Workspace::absolutePathForApplication("com.example.Editor2"),
              "/opt/example/editor2");
    EXPECT_TRUE(kit::Workspace::execArgumentsForApplication("com.example.Editor2").isEmpty());
    EXPECT_TRUE(kit::Workspace::absolutePathForApplication("com.example.Unknown").isNull());
    EXPECT_TRUE(kit::Workspace::absolutePathForApplication("").isNull());
}

TEST_F(WorkspaceTest, UserEntriesHideSystemOnesAndHiddenEntriesAreGone) {
    writeEntry(system, "com.example.Tool.desktop", "[Desktop Entry]\nExec=/usr/bin/system-tool\n");
    writeEntry(home, "com.example.Tool.desktop", "[Desktop Entry]\nExec=/home/me/tool\n");
    writeEntry(home, "com.example.Gone.desktop", "[Desktop Entry]\nExec=/bin/gone\nHidden=true\n");
    writeEntry(home, "com.example.Link.desktop", "[Desktop Entry]\nType=Link\nURL=http://x\n");
    EXPECT_EQ(kit::Workspace::absolutePathForApplication("com.example.Tool"), "/home/me/tool");
    EXPECT_TRUE(kit::Workspace::absolutePathForApplication("com.example.Gone").isNull());
    EXPECT_TRUE(kit::Workspace::absolutePathForApplication("com.example.Link").isNull());
    // A bare program name is looked up in PATH.
    writeEntry(home, "com.example.Shell.desktop", "[Desktop Entry]\nExec=sh -c true\n");
    EXPECT_TRUE(
        QDir::isAbsolutePath(kit::Workspace::absolutePathForApplication("com.example.Shell")));
}

TEST_F(WorkspaceTest, RecorderTakesLaunchesInsteadOfStartingThem) {
    writeEntry(home, "com.example.Editor.desktop",
               "[Desktop Entry]\nExec=/opt/editor --fromentry %F\n");
    kit::Workspace::LaunchRecorder recorder;
    EXPECT_TRUE(kit::Workspace::launchApplication(
        "com.example.Editor", {"-VTELConnectionType NET", "-VTELAddress 192.168.1.20"}));
    EXPECT_FALSE(kit::Workspace::launchApplication("com.example.Unknown"));
    EXPECT_TRUE(kit::Workspace::launchProcess("/opt/editor", {"-VTELConnectionType USB"}));
    EXPECT_FALSE(kit::Workspace::launchProcess("", {}));
    recorder.launchResult = false;
    EXPECT_FALSE(kit::Workspace::launchProcess("/opt/editor", {}));

    const auto launches = recorder.launches();
    ASSERT_EQ(launches.size(), 3);
    EXPECT_EQ(launches[0].identifier, "com.example.Editor");
    EXPECT_EQ(launches[0].program, "/opt/editor");
    EXPECT_THAT(launches[0].arguments,
                ElementsAre("--fromentry", "-VTELConnectionType NET", "-VTELAddress 192.168.1.20"));
    EXPECT_TRUE(launches[1].identifier.isEmpty());
    EXPECT_THAT(launches[1].arguments, ElementsAre("-VTELConnectionType USB"));

    recorder.runningIdentifiers = {"com.example.Editor"};
    EXPECT_TRUE(kit::Workspace::isApplicationRunning("com.example.Editor"));
    EXPECT_FALSE(kit::Workspace::isApplicationRunning("com.example.Other"));
}

TEST_F(WorkspaceTest, LaunchesARealDetachedProcessWithSeparateArguments) {
    const QString marker = home.filePath("launched");
    writeEntry(home, "com.example.Writer.desktop", "[Desktop Entry]\nExec=/bin/sh -c\n");
    ASSERT_TRUE(kit::Workspace::launchApplication(
        "com.example.Writer", {"printf '%s' \"$0\" > \"$1\"", "two words", marker}));
    ASSERT_TRUE(waitForFile(marker));
    QThread::msleep(100);
    QFile file(marker);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "two words");
    EXPECT_FALSE(kit::Workspace::launchProcess(home.filePath("no-such-program"), {}));
}

TEST_F(WorkspaceTest, RunningApplicationIsSeenThroughItsProgram) {
    const QString program = home.filePath("vextel-test-sleeper");
    ASSERT_TRUE(QFile::copy("/bin/sleep", program));
    QFile::setPermissions(program, QFile::ReadOwner | QFile::ExeOwner);
    writeEntry(home, "com.example.Sleeper.desktop",
               ("[Desktop Entry]\nExec=" + program + "\n").toUtf8());
    EXPECT_FALSE(kit::Workspace::isApplicationRunning("com.example.Sleeper"));
    QProcess sleeper;
    sleeper.start(program, {"30"});
    ASSERT_TRUE(sleeper.waitForStarted());
    EXPECT_TRUE(kit::Workspace::isApplicationRunning("com.example.Sleeper"));
    sleeper.kill();
    sleeper.waitForFinished();
    EXPECT_FALSE(kit::Workspace::isApplicationRunning("com.example.Sleeper"));
    EXPECT_FALSE(kit::Workspace::isApplicationRunning("com.example.Unknown"));

    // The same program run by another user is not this user's application.
    if (::geteuid() != 0 || QStandardPaths::findExecutable("setpriv").isEmpty()) {
        return;
    }
    QFile::setPermissions(home.path(),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ExeOther);
    QFile::setPermissions(program, QFile::ReadOwner | QFile::ExeOwner | QFile::ExeOther);
    QProcess stranger;
    stranger.start("setpriv", {"--reuid=65534", "--regid=65534", "--clear-groups", program, "30"});
    ASSERT_TRUE(stranger.waitForStarted());
    QThread::msleep(200); // until setpriv has become the program
    EXPECT_FALSE(kit::Workspace::isApplicationRunning("com.example.Sleeper"));
    stranger.kill();
    stranger.waitForFinished();
}

TEST_F(WorkspaceTest, AWatcherInsideARecorderStartsNothingAndHearsOfWhatTheRecorderTook) {
    const QString marker = home.filePath("must-not-exist");
    kit::Workspace::LaunchRecorder container;
    container.runningIdentifiers = {"com.example.Editor"};
    QStringList heard;
    kit::Workspace::LaunchRecorder watcher;
    watcher.startsLaunches = true;
    watcher.onLaunch = [&heard](const kit::Workspace::Launch& launch) {
        heard.append(launch.program);
    };
    EXPECT_TRUE(kit::Workspace::launchProcess("/bin/sh", {"-c", "echo > \"$0\"", marker}));
    EXPECT_TRUE(kit::Workspace::isApplicationRunning("com.example.Editor"));
    container.launchResult = false;
    EXPECT_FALSE(kit::Workspace::launchProcess("/bin/true", {}));

    ASSERT_EQ(container.launches().size(), 2);
    EXPECT_THAT(container.launches()[0].arguments, ElementsAre("-c", "echo > \"$0\"", marker));
    // The watcher hears only of the launch the recorder answered as started.
    EXPECT_EQ(watcher.launches().size(), 1);
    EXPECT_THAT(heard, ElementsAre("/bin/sh"));
    QThread::msleep(200);
    EXPECT_FALSE(QFile::exists(marker)) << "a program was started through the watcher";
}
