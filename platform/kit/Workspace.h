#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

namespace kit {

// Applications found by identifier through XDG desktop entries, and started as separate
// processes. An application's identifier is the name of its desktop entry without ".desktop"
// (org.example.Editor.desktop), or the value of an entry's X-Vextel-Bundle-Identifier key.
// Desktop entries are searched in $XDG_DATA_HOME/applications (default ~/.local/share), then in
// each $XDG_DATA_DIRS/applications (default /usr/local/share:/usr/share), first match wins.
class Workspace {
public:
    // The program of the application's Exec line (field codes dropped), made absolute through
    // PATH when it is a bare name; a null QString when no desktop entry has that identifier, the
    // entry is hidden, or its program cannot be found.
    static QString absolutePathForApplication(const QString& identifier);
    // The arguments the Exec line itself gives after the program (field codes dropped).
    static QStringList execArgumentsForApplication(const QString& identifier);

    // True when a process of this user runs the application's program.
    static bool isApplicationRunning(const QString& identifier);

    // Starts the application found by identifier, detached, with its own Exec arguments followed
    // by the given ones. False when it cannot be found (nothing is started or recorded then) or
    // cannot be started.
    static bool launchApplication(const QString& identifier, const QStringList& arguments = {});
    // Starts a program, detached, with arguments passed as separate strings (no shell).
    static bool launchProcess(const QString& program, const QStringList& arguments);

    struct Launch {
        QString identifier; // empty for launchProcess
        QString program;    // empty when launched by identifier and the entry was not found
        QStringList arguments;
    };

    // While a LaunchRecorder exists, launches are recorded instead of started and answer
    // launchResult; isApplicationRunning answers from runningIdentifiers. Finding applications
    // still reads the desktop entries. Recorders nest; the innermost one records.
    // With startsLaunches set, the recorder only watches: launches really happen, those that
    // started are recorded (and passed to onLaunch), and isApplicationRunning looks for real.
    // A watcher never lets launches out of a recorder around it: inside one, the launch is
    // recorded there and answers its launchResult, and the watchers inside it (innermost first)
    // record it and hear of it as started when that answer is true. So code that contains its
    // launches (a test, a fuzzer) stays contained whatever it runs installs.
    class LaunchRecorder {
    public:
        LaunchRecorder();
        ~LaunchRecorder();
        LaunchRecorder(const LaunchRecorder&) = delete;
        LaunchRecorder& operator=(const LaunchRecorder&) = delete;

        QList<Launch> launches() const;
        bool launchResult = true;
        QStringList runningIdentifiers;
        bool startsLaunches = false;
        std::function<void(const Launch&)> onLaunch;

    private:
        friend class Workspace;
        LaunchRecorder* outer_ = nullptr;
        QList<Launch> recorded_;
    };

private:
    // The innermost recorder that does not start launches; null when none. Under recorderMutex.
    static LaunchRecorder* containingRecorder();
    // Records the launch when a recorder contains launches and gives the recorder's answer.
    static std::optional<bool> recordLaunch(const Launch& launch);
    // Tells the watching recorders of a launch that started.
    static void noteStarted(const Launch& launch);
    // Records the launch in the recorders from the innermost out to `end` (not included) and
    // answers their callbacks, to be called once recorderMutex is released. Under recorderMutex.
    using LaunchCallbacks = std::vector<std::function<void(const Launch&)>>;
    static LaunchCallbacks recordInWatchers(const Launch& launch, LaunchRecorder* end);
    static bool startDetached(const Launch& launch);
};

} // namespace kit
