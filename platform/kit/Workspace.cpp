#include "kit/Workspace.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QProcess>
#include <QStandardPaths>
#include <QTextStream>
#include <algorithm>
#include <mutex>
#include <optional>
#include <unistd.h>
#include <vector>

namespace kit {

namespace {

std::mutex recorderMutex;
Workspace::LaunchRecorder* innermostRecorder = nullptr;

const QString kIdentifierKey = QStringLiteral("X-Vextel-Bundle-Identifier");
const QString kDesktopSuffix = QStringLiteral(".desktop");

struct DesktopEntry {
    QString program;
    QStringList arguments;
};

QStringList applicationDirectories() {
    QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    if (dataHome.isEmpty()) {
        dataHome = QDir::homePath() + QStringLiteral("/.local/share");
    }
    QString dataDirs = qEnvironmentVariable("XDG_DATA_DIRS");
    if (dataDirs.isEmpty()) {
        dataDirs = QStringLiteral("/usr/local/share:/usr/share");
    }
    QStringList directories{dataHome + QStringLiteral("/applications")};
    for (const QString& dir : dataDirs.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        directories.append(dir + QStringLiteral("/applications"));
    }
    return directories;
}

// Escapes of desktop-entry string values: \s \n \t \r \\; others are kept as written.
QString unescapeValue(const QString& value) {
    QString result;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value.at(i);
        if (c != QLatin1Char('\\') || i + 1 == value.size()) {
            result.append(c);
            continue;
        }
        const QChar next = value.at(++i);
        switch (next.unicode()) {
        case 's':
            result.append(QLatin1Char(' '));
            break;
        case 'n':
            result.append(QLatin1Char('\n'));
            break;
        case 't':
            result.append(QLatin1Char('\t'));
            break;
        case 'r':
            result.append(QLatin1Char('\r'));
            break;
        case '\\':
            result.append(next);
            break;
        default: // not a string escape: left for the Exec quoting rules (\" inside quotes)
            result.append(c).append(next);
            break;
        }
    }
    return result;
}

// The keys of the [Desktop Entry] group; other groups (actions) are skipped.
QHash<QString, QString> readDesktopEntryGroup(const QString& path) {
    QHash<QString, QString> keys;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return keys;
    }
    QTextStream in(&file);
    bool inEntryGroup = false;
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) {
            continue;
        }
        if (line.startsWith(QLatin1Char('['))) {
            inEntryGroup = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (!inEntryGroup || equals <= 0) {
            continue;
        }
        const QString key = line.left(equals).trimmed();
        if (!keys.contains(key)) {
            keys.insert(key, unescapeValue(line.mid(equals + 1).trimmed()));
        }
    }
    return keys;
}

// Splits an Exec value into words: double quotes group, and inside them a backslash escapes
// '"', '`', '$' and '\'. Field codes (%f, %U, ...) are dropped; "%%" is a percent sign.
QStringList splitExec(const QString& exec) {
    QStringList words;
    QString word;
    bool inWord = false;
    bool quoted = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec.at(i);
        if (quoted) {
            if (c == QLatin1Char('"')) {
                quoted = false;
            } else if (c == QLatin1Char('\\') && i + 1 < exec.size()) {
                word.append(exec.at(++i));
            } else {
                word.append(c);
            }
        } else if (c == QLatin1Char('"')) {
            quoted = true;
            inWord = true;
        } else if (c.isSpace()) {
            if (inWord) {
                words.append(word);
            }
            word.clear();
            inWord = false;
        } else {
            word.append(c);
            inWord = true;
        }
    }
    if (inWord) {
        words.append(word);
    }
    QStringList result;
    for (const QString& w : words) {
        if (w.size() == 2 && w.startsWith(QLatin1Char('%')) && w != QLatin1String("%%")) {
            continue;
        }
        result.append(QString(w).replace(QLatin1String("%%"), QLatin1String("%")));
    }
    return result;
}

std::optional<DesktopEntry> entryFromKeys(const QHash<QString, QString>& keys) {
    if (keys.value(QStringLiteral("Hidden")) == QLatin1String("true")) {
        return std::nullopt;
    }
    const QString type = keys.value(QStringLiteral("Type"), QStringLiteral("Application"));
    const QStringList words = splitExec(keys.value(QStringLiteral("Exec")));
    if (type != QLatin1String("Application") || words.isEmpty()) {
        return std::nullopt;
    }
    DesktopEntry entry;
    entry.program = words.constFirst();
    entry.arguments = words.mid(1);
    if (!QDir::isAbsolutePath(entry.program)) {
        entry.program = QStandardPaths::findExecutable(entry.program);
    }
    if (entry.program.isEmpty()) {
        return std::nullopt;
    }
    return entry;
}

// In each directory, most important first: the entry named after the identifier, then any
// entry declaring it.
std::optional<DesktopEntry> findDesktopEntry(const QString& identifier) {
    if (identifier.isEmpty() || identifier.contains(QLatin1Char('/'))) {
        return std::nullopt;
    }
    for (const QString& directory : applicationDirectories()) {
        const QString named = directory + QLatin1Char('/') + identifier + kDesktopSuffix;
        if (QFileInfo(named).isFile()) {
            return entryFromKeys(readDesktopEntryGroup(named));
        }
        QDirIterator it(directory, {QLatin1Char('*') + kDesktopSuffix}, QDir::Files);
        while (it.hasNext()) {
            const auto keys = readDesktopEntryGroup(it.next());
            if (keys.value(kIdentifierKey) == identifier) {
                return entryFromKeys(keys);
            }
        }
    }
    return std::nullopt;
}

bool processRuns(const QString& program) {
    const QString target = QFileInfo(program).canonicalFilePath();
    if (target.isEmpty()) {
        return false;
    }
    const QStringList pids =
        QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& pid : pids) {
        bool isNumber = false;
        pid.toLongLong(&isNumber);
        if (!isNumber) {
            continue;
        }
        const QString procDir = QStringLiteral("/proc/") + pid;
        // Another user's copy of the program is not this user's running application.
        if (QFileInfo(procDir).ownerId() != ::geteuid()) {
            continue;
        }
        if (QFileInfo(procDir + QStringLiteral("/exe")).canonicalFilePath() == target) {
            return true;
        }
        // A script runs as its interpreter: its path is then the first or second word.
        QFile cmdline(procDir + QStringLiteral("/cmdline"));
        if (!cmdline.open(QIODevice::ReadOnly)) {
            continue;
        }
        const QList<QByteArray> argv = cmdline.readAll().split('\0');
        for (qsizetype i = 0; i < std::min<qsizetype>(2, argv.size()); ++i) {
            const QString arg = QString::fromLocal8Bit(argv.at(i));
            if (!arg.isEmpty() && QFileInfo(arg).canonicalFilePath() == target) {
                return true;
            }
        }
    }
    return false;
}

} // namespace

Workspace::LaunchRecorder* Workspace::containingRecorder() {
    for (LaunchRecorder* recorder = innermostRecorder; recorder != nullptr;
         recorder = recorder->outer_) {
        if (!recorder->startsLaunches) {
            return recorder;
        }
    }
    return nullptr;
}

std::optional<bool> Workspace::recordLaunch(const Launch& launch) {
    LaunchCallbacks watchers;
    bool result = false;
    {
        std::lock_guard lock(recorderMutex);
        LaunchRecorder* container = containingRecorder();
        if (container == nullptr) {
            return std::nullopt;
        }
        container->recorded_.append(launch);
        result = container->launchResult;
        // Watchers inside it hear of the launch as if it had started, when it answers so.
        if (result) {
            watchers = recordInWatchers(launch, container);
        }
    }
    for (const auto& onLaunch : watchers) {
        onLaunch(launch);
    }
    return result;
}

void Workspace::noteStarted(const Launch& launch) {
    LaunchCallbacks watchers;
    {
        std::lock_guard lock(recorderMutex);
        watchers = recordInWatchers(launch, nullptr);
    }
    for (const auto& onLaunch : watchers) {
        onLaunch(launch);
    }
}

Workspace::LaunchCallbacks Workspace::recordInWatchers(const Launch& launch, LaunchRecorder* end) {
    LaunchCallbacks watchers;
    for (LaunchRecorder* watcher = innermostRecorder; watcher != end; watcher = watcher->outer_) {
        watcher->recorded_.append(launch);
        if (watcher->onLaunch) {
            watchers.push_back(watcher->onLaunch);
        }
    }
    return watchers;
}

bool Workspace::startDetached(const Launch& launch) {
    if (!QProcess::startDetached(launch.program, launch.arguments)) {
        return false;
    }
    noteStarted(launch);
    return true;
}

QString Workspace::absolutePathForApplication(const QString& identifier) {
    const auto entry = findDesktopEntry(identifier);
    return entry ? entry->program : QString();
}

QStringList Workspace::execArgumentsForApplication(const QString& identifier) {
    const auto entry = findDesktopEntry(identifier);
    return entry ? entry->arguments : QStringList();
}

bool Workspace::isApplicationRunning(const QString& identifier) {
    {
        std::lock_guard lock(recorderMutex);
        if (const LaunchRecorder* container = containingRecorder()) {
            return container->runningIdentifiers.contains(identifier);
        }
    }
    const auto entry = findDesktopEntry(identifier);
    return entry && processRuns(entry->program);
}

bool Workspace::launchApplication(const QString& identifier, const QStringList& arguments) {
    const auto entry = findDesktopEntry(identifier);
    if (!entry) {
        return false;
    }
    const Launch launch{identifier, entry->program, entry->arguments + arguments};
    if (const auto recorded = recordLaunch(launch)) {
        return *recorded;
    }
    return startDetached(launch);
}

bool Workspace::launchProcess(const QString& program, const QStringList& arguments) {
    if (program.isEmpty()) {
        return false;
    }
    const Launch launch{QString(), program, arguments};
    if (const auto recorded = recordLaunch(launch)) {
        return *recorded;
    }
    return startDetached(launch);
}

Workspace::LaunchRecorder::LaunchRecorder() {
    std::lock_guard lock(recorderMutex);
    outer_ = innermostRecorder;
    innermostRecorder = this;
}

Workspace::LaunchRecorder::~LaunchRecorder() {
    std::lock_guard lock(recorderMutex);
    innermostRecorder = outer_;
}

QList<Workspace::Launch> Workspace::LaunchRecorder::launches() const {
    std::lock_guard lock(recorderMutex);
    return recorded_;
}

} // namespace kit
