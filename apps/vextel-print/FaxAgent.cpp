#include "FaxAgent.h"

#include "HostApplication.h"
#include "faxspool/FaxSpool.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QTimer>
#include <algorithm>
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

// Job attributes of the captured job that the capture queue's filters leave to the printer, so
// they go on to the fax queue as they are (the copies go as the dialog's copies). What the
// filters did apply to the document (page ranges, pages per sheet, orientation, scaling) must
// not be applied twice.
const char* const kCarriedAttributes[] = {"collate"};

bool isCarried(const QString& name) {
    return std::any_of(std::begin(kCarriedAttributes), std::end(kCarriedAttributes),
                       [&](const char* carried) { return name == QLatin1String(carried); });
}

// The captured job options, as the scheduler wrote them: PPD presets, and the carried job
// attributes.
void takeOptions(const std::string& options, HostOptions* print) {
    cups_option_t* parsed = nullptr;
    const int count = cupsParseOptions(options.c_str(), 0, &parsed);
    for (int i = 0; i < count; ++i) {
        const QString name = QString::fromUtf8(parsed[i].name);
        const QString value = QString::fromUtf8(parsed[i].value);
        (isCarried(name) ? print->jobAttributes : print->presets).append({name, value});
    }
    cupsFreeOptions(count, parsed);
}

// The notification's body may be markup: a job's title is anyone's text (a document's name, or
// what the printing program chose), so it is shown as text, never as tags or links.
QString plainText(const QString& title) {
    return title.toHtmlEscaped();
}

} // namespace

FaxAgent::FaxAgent(HostOptions options, QTextStream& output, QTextStream& errors)
    : options_(std::move(options)), output_(output), errors_(errors),
      folder_(options_.spoolFolder.isEmpty() ? defaultSpoolFolder() : options_.spoolFolder),
      notifier_(options_.script.isEmpty() ? nullptr : &output_) {
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
    // The agent outlives every dialog it shows: the last window closing (sent, cancelled, or
    // closed by the window manager) must not end the application.
    QGuiApplication::setQuitOnLastWindowClosed(false);
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
    print.server =
        job->info.server.empty() ? options_.server : QString::fromStdString(job->info.server);
    print.script = scriptForJob(handled_++);
    print.copies = job->info.copies;
    print.title = QString::fromStdString(job->info.title);
    print.documents = {QString::fromStdString(job->documentPath())};
    takeOptions(job->info.options, &print);
    print.quietPresets = true;
    output_ << "fax job \"" << print.title << "\" for the queue " << print.queue << Qt::endl;
    HostApplication host(print, output_, errors_);
    const int status = host.run();
    if (status == HostApplication::kSent || status == HostApplication::kCancelled) {
        if (!faxspool::removeJob(job->folder, &error)) {
            errors_ << "vextel-print: " << QString::fromStdString(error) << Qt::endl;
        }
        return status;
    }
    errors_ << "vextel-print: the fax job stays in " << jobFolder
            << " and is offered again when the agent starts next" << Qt::endl;
    notifier_.notify(QStringLiteral("The fax could not be sent"),
                     QStringLiteral("\"%1\" was not sent: %2. It is offered again when the agent "
                                    "starts next.")
                         .arg(print.title, host.failure()));
    return HostApplication::kFailed;
}

QString FaxAgent::scriptForJob(int index) const {
    if (index == 0 || options_.laterScripts.isEmpty()) {
        return options_.script;
    }
    return options_.laterScripts.value(index - 1, options_.laterScripts.last());
}

void FaxAgent::reject(const QString& jobFolder, const QString& reason) {
    std::string error;
    errors_ << "vextel-print: the fax job " << jobFolder << " is not sent: " << reason
            << "; it is kept for inspection" << Qt::endl;
    if (!faxspool::rejectJob(jobFolder.toStdString(), reason.toStdString(), &error)) {
        errors_ << "vextel-print: " << QString::fromStdString(error) << Qt::endl;
    }
    notifier_.notify(QStringLiteral("The fax could not be sent"),
                     QStringLiteral("A captured fax job was refused: %1. It is kept in %2.")
                         .arg(reason, jobFolder));
}

void FaxAgent::notifyWaiting(const QString& title) {
    if (!options_.script.isEmpty()) {
        output_ << "waiting: \"" << title << '"' << Qt::endl;
    }
    DesktopNotifier().notify(
        QStringLiteral("A fax is waiting"),
        QStringLiteral("\"%1\" is ready to be sent as a fax.").arg(plainText(title)));
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
