#include "ProcessProbe.h"

#include <QByteArrayList>
#include <QElapsedTimer>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <string_view>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace vextel_bench {

namespace {

constexpr const char kFigurePrefix[] = "figure ";

double millisecondsOf(const timeval& time) {
    return static_cast<double>(time.tv_sec) * 1000.0 + static_cast<double>(time.tv_usec) / 1000.0;
}

// The child's environment: the bench's own with the command's entries put over it; a null
// value removes the variable.
QByteArrayList environmentFor(const Command& command) {
    QByteArrayList entries;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const QByteArray text(*entry);
        const QString name = QString::fromLocal8Bit(text.left(text.indexOf('=')));
        if (!command.environment.contains(name)) {
            entries.append(text);
        }
    }
    for (auto it = command.environment.begin(); it != command.environment.end(); ++it) {
        if (!it.value().isNull()) {
            entries.append((it.key() + QLatin1Char('=') + it.value()).toLocal8Bit());
        }
    }
    return entries;
}

std::vector<char*> pointersTo(QByteArrayList& strings) {
    std::vector<char*> pointers;
    for (QByteArray& text : strings) {
        pointers.push_back(text.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

// Keeps only the child's "figure" lines: a measured program may write megabytes (a document
// passed through), which the bench must read fast and not hold.
QByteArray figureLinesFrom(int descriptor) {
    constexpr qsizetype kLongestFigureLine = 256;
    QByteArray kept;
    QByteArray line;
    bool tooLong = false;
    std::vector<char> buffer(256 * 1024);
    for (;;) {
        const ssize_t count = read(descriptor, buffer.data(), buffer.size());
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return kept;
        std::string_view rest(buffer.data(), static_cast<std::size_t>(count));
        while (!rest.empty()) {
            const std::size_t end = rest.find('\n');
            const std::string_view piece = rest.substr(0, end);
            tooLong = tooLong || line.size() + qsizetype(piece.size()) > kLongestFigureLine;
            if (!tooLong)
                line.append(piece.data(), qsizetype(piece.size()));
            if (end == std::string_view::npos)
                break;
            if (!tooLong && line.startsWith(kFigurePrefix))
                kept += line + '\n';
            line.clear();
            tooLong = false;
            rest.remove_prefix(end + 1);
        }
    }
}

bool childErrorsShown = false;

// Forked, not spawned with a shared address space: the child's peak resident set would
// otherwise start from the bench's own.
int spawn(std::vector<char*>& argv, std::vector<char*>& envp, int output, pid_t* child) {
    *child = fork();
    if (*child < 0)
        return errno;
    if (*child == 0) {
        dup2(output, STDOUT_FILENO);
        if (!childErrorsShown) {
            const int nowhere = open("/dev/null", O_WRONLY);
            dup2(nowhere, STDERR_FILENO);
        }
        execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    return 0;
}

} // namespace

void ProcessProbe::setChildErrorsShown(bool shown) {
    childErrorsShown = shown;
}

std::optional<Figures> ProcessProbe::run(const Command& command, QString* error) {
    QByteArrayList arguments{command.program.toLocal8Bit()};
    for (const QString& argument : command.arguments) {
        arguments.append(argument.toLocal8Bit());
    }
    QByteArrayList environment = environmentFor(command);
    std::vector<char*> argv = pointersTo(arguments);
    std::vector<char*> envp = pointersTo(environment);

    int output[2];
    if (pipe2(output, O_CLOEXEC) != 0) {
        *error = QStringLiteral("pipe: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
        return std::nullopt;
    }
    QElapsedTimer wall;
    wall.start();
    pid_t child = 0;
    const int spawned = spawn(argv, envp, output[1], &child);
    close(output[1]);
    if (spawned != 0) {
        close(output[0]);
        *error = QStringLiteral("%1 cannot start: %2")
                     .arg(command.program, QString::fromLocal8Bit(std::strerror(spawned)));
        return std::nullopt;
    }
    const QByteArray printed = figureLinesFrom(output[0]);
    close(output[0]);

    int status = 0;
    rusage usage{};
    while (wait4(child, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    const double wallMilliseconds = static_cast<double>(wall.nsecsElapsed()) / 1e6;
    if (!WIFEXITED(status)) {
        *error = QStringLiteral("%1 was killed by signal %2")
                     .arg(command.program)
                     .arg(WIFSIGNALED(status) ? WTERMSIG(status) : 0);
        return std::nullopt;
    }
    if (!command.acceptedExitCodes.contains(WEXITSTATUS(status))) {
        *error = QStringLiteral("%1 %2 exited with status %3")
                     .arg(command.program, command.arguments.join(QLatin1Char(' ')))
                     .arg(WEXITSTATUS(status));
        return std::nullopt;
    }
    Figures figures = figuresIn(printed);
    figures.insert(QString::fromLatin1(kCpuMilliseconds),
                   millisecondsOf(usage.ru_utime) + millisecondsOf(usage.ru_stime));
    figures.insert(QString::fromLatin1(kPeakMebibytes),
                   static_cast<double>(usage.ru_maxrss) / 1024.0);
    figures.insert(QString::fromLatin1(kWallMilliseconds), wallMilliseconds);
    return figures;
}

Side ProcessProbe::side(Command command) {
    return [command](QString* error) {
        return run(command, error);
    };
}

Figures ProcessProbe::figuresIn(const QByteArray& output) {
    Figures figures;
    for (const QByteArray& line : output.split('\n')) {
        if (!line.startsWith(kFigurePrefix)) {
            continue;
        }
        const QList<QByteArray> words =
            line.mid(int(sizeof kFigurePrefix) - 1).simplified().split(' ');
        bool number = false;
        const double value = words.size() == 2 ? words[1].toDouble(&number) : 0.0;
        if (number) {
            figures.insert(QString::fromUtf8(words[0]), value);
        }
    }
    return figures;
}

} // namespace vextel_bench
