#include "FaxAgent.h"

#include "HostApplication.h"
#include "faxspool/FaxSpool.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QFileInfo>
#include <QTimer>
#include <cups/cups.h>
#include <pwd.h>
#include <unistd.h>

namespace vextel_print {

namespace {

QString userName() {
    const passwd* entry = getpwuid(getuid());
    return entry != nullptr ? QString::fromLocal8Bit(entry->pw_name) : QString::number(getuid());
}

QString defaultSpoolFolder() {
    return QString::fromStdString(
        faxspool::userFolder(faxspool::spoolRoot(), userName().toStdString()));
}

// The captured job options, as the scheduler wrote them, as PPD presets.
QList<std::pair<QString, QString>> presetsOf(const std::string& options) {
    cups_option_t* parsed = nullptr;
    const int count = cupsParseOptions(options.c_str(), 0, &parsed);
    QList<std::pair<QString, QString>> presets;
    for (int i = 0; i < count; ++i) {
        presets.append({QString::fromUtf8(parsed[i].name), QString::fromUtf8(parsed[i].value)});
    }
    cupsFreeOptions(count, parsed);
    return presets;
}

// The notification's body may be markup: a job's title is anyone's text (a document's name, or
// what the printing program chose), so it is shown as text, never as tags or links.
QString plainText(const QString& title) {
    return title.toHtmlEscaped();
}

} // namespace

FaxAgent::FaxAgent(HostOptions options, QTextStream& output, QTextStream& errors)
    : options_(std::move(options)), output_(output), errors_(errors),
      folder_(options_.spoolFolder.isEmpty() ? defaultSpoolFolder() : options_.spoolFolder) {
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, &FaxAgent::scan);
}

int FaxAgent::run() {
    if (QFileInfo::exists(folder_)) {
        if (const auto problem = faxspool::folderProblem(folder_.toStdString(), getuid())) {
            errors_ << "vextel-print: the fax spool folder is refused: "
                    << QString::fromStdString(*problem) << Qt::endl;
            return HostApplication::kFailed;
        }
    }
    scan();
    if (options_.once) {
        if (waiting_.isEmpty()) {
            output_ << "no fax jobs wait in " << folder_ << Qt::endl;
        }
        while (!waiting_.isEmpty()) {
            handleNext();
        }
        return anyFailed_ ? HostApplication::kFailed : HostApplication::kSent;
    }
    watchFolder();
    return QCoreApplication::exec();
}

void FaxAgent::scan() {
    watchFolder();
    for (const std::string& found : faxspool::waitingJobs(folder_.toStdString())) {
        const QString job = QString::fromStdString(found);
        if (seen_.contains(job) || waiting_.contains(job)) {
            continue;
        }
        waiting_.append(job);
        std::string error;
        if (const auto captured = faxspool::readJob(found, &error)) {
            notifyWaiting(QString::fromStdString(captured->info.title));
        }
    }
    if (!options_.once && !busy_ && !waiting_.isEmpty()) {
        QTimer::singleShot(0, this, &FaxAgent::handleNext);
    }
}

void FaxAgent::handleNext() {
    // A job that arrives while a dialog is open is only queued; it is shown after this one.
    if (busy_ || waiting_.isEmpty()) {
        return;
    }
    busy_ = true;
    const QString job = waiting_.takeFirst();
    seen_.insert(job);
    if (handleJob(job) == HostApplication::kFailed) {
        anyFailed_ = true;
    }
    busy_ = false;
    if (!options_.once && !waiting_.isEmpty()) {
        QTimer::singleShot(0, this, &FaxAgent::handleNext);
    }
}

int FaxAgent::handleJob(const QString& jobFolder) {
    std::string error;
    const auto job = faxspool::readJob(jobFolder.toStdString(), &error);
    if (!job) {
        reject(jobFolder, QString::fromStdString(error));
        return HostApplication::kFailed;
    }
    if (!faxspool::looksLikePdf(job->documentPath())) {
        reject(jobFolder, QStringLiteral("the captured document is not a readable PDF"));
        return HostApplication::kFailed;
    }
    HostOptions print;
    print.queue = QString::fromStdString(job->info.queue);
    print.server = options_.server;
    print.script = options_.script;
    print.title = QString::fromStdString(job->info.title);
    print.documents = {QString::fromStdString(job->documentPath())};
    print.presets = presetsOf(job->info.options);
    print.quietPresets = true;
    output_ << "fax job \"" << print.title << "\" for the queue " << print.queue << Qt::endl;
    const int status = HostApplication(print, output_, errors_).run();
    if (status == HostApplication::kSent || status == HostApplication::kCancelled) {
        if (!faxspool::removeJob(job->folder, &error)) {
            errors_ << "vextel-print: " << QString::fromStdString(error) << Qt::endl;
        }
        return status;
    }
    errors_ << "vextel-print: the fax job stays in " << jobFolder
            << " and is offered again when the agent starts next" << Qt::endl;
    return HostApplication::kFailed;
}

void FaxAgent::reject(const QString& jobFolder, const QString& reason) {
    std::string error;
    errors_ << "vextel-print: the fax job " << jobFolder << " is not sent: " << reason
            << "; it is kept for inspection" << Qt::endl;
    if (!faxspool::rejectJob(jobFolder.toStdString(), reason.toStdString(), &error)) {
        errors_ << "vextel-print: " << QString::fromStdString(error) << Qt::endl;
    }
}

void FaxAgent::notifyWaiting(const QString& title) {
    if (!options_.script.isEmpty()) {
        output_ << "waiting: \"" << title << '"' << Qt::endl;
    }
    // Sent without waiting for an answer, and without introspecting the service first: a
    // notification service that hangs, or none at all, must never hold up the jobs.
    QDBusMessage notify = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"),
        QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    notify << QStringLiteral("Vextel Fax") << 0U << QStringLiteral("vextel-print")
           << QStringLiteral("A fax is waiting")
           << QStringLiteral("\"%1\" is ready to be sent as a fax.").arg(plainText(title))
           << QStringList() << QVariantMap() << -1;
    QDBusConnection::sessionBus().send(notify);
}

void FaxAgent::watchFolder() {
    // Until the capture backend makes the user's folder, its parent is watched for it.
    const QString parent = QFileInfo(folder_).absolutePath();
    const QString watched = QFileInfo::exists(folder_) ? folder_ : parent;
    if (!watcher_.directories().contains(watched) && QFileInfo::exists(watched)) {
        watcher_.addPath(watched);
    }
}

} // namespace vextel_print
