#include "FaxJobResults.h"

#include "DeviceClient.h"
#include "FaxLogEntryReader.h"
#include "faxjob/JobParameterNames.h"
#include "printing/CupsConnection.h"
#include "xsplib/xspenclib.h"

#include <QMap>
#include <cstring>
#include <cups/cups.h>

namespace vextel_print {

namespace {

// The fax printer's queues report this make and model (the NickName of its PPD).
const char kFaxModel[] = "Tarvik M40 Vextel Fax";
const char kCaptureScheme[] = "vextel-fax:";

struct FaxQueue {
    QString deviceUri;
};

// The queues of the fax printer that send to it (not capture queues), by name.
QMap<QString, FaxQueue> faxQueues(http_t* http) {
    cups_dest_t* dests = nullptr;
    const int count = cupsGetDests2(http, &dests);
    QMap<QString, FaxQueue> queues;
    for (int i = 0; i < count; ++i) {
        const char* model =
            cupsGetOption("printer-make-and-model", dests[i].num_options, dests[i].options);
        const char* uri = cupsGetOption("device-uri", dests[i].num_options, dests[i].options);
        if (model == nullptr || qstrcmp(model, kFaxModel) != 0 || uri == nullptr ||
            QByteArray(uri).startsWith(kCaptureScheme))
            continue;
        queues.insert(QString::fromUtf8(dests[i].name), FaxQueue{QString::fromUtf8(uri)});
    }
    cupsFreeDests(count, dests);
    return queues;
}

QString schedulerState(int state) {
    switch (state) {
    case IPP_JSTATE_PENDING:
        return QStringLiteral("pending");
    case IPP_JSTATE_HELD:
        return QStringLiteral("held");
    case IPP_JSTATE_PROCESSING:
        return QStringLiteral("processing");
    case IPP_JSTATE_STOPPED:
        return QStringLiteral("stopped");
    case IPP_JSTATE_CANCELED:
        return QStringLiteral("canceled");
    case IPP_JSTATE_ABORTED:
        return QStringLiteral("aborted");
    default:
        return QStringLiteral("completed");
    }
}

QString passwordKey() {
    return QLatin1String(tarvik_pde_m40vextel::kJobParameterPrefix) +
           QLatin1String(tarvik_pde_m40vextel::kVTelPassword.name);
}

// The printer's code from the job's scrambled password; empty when there is none.
std::string unscrambled(const QByteArray& scrambled) {
    unsigned char bytes[16];
    int32_t length = 0;
    if (scrambled.isEmpty() || XspB64ToBin(scrambled.constData(), int32_t(scrambled.size()), bytes,
                                           &length, sizeof bytes) != 0)
        return {};
    unsigned char plain[16];
    int32_t plainLength = 0;
    const bool ok = XspEncrypt(bytes, length, plain, &plainLength, sizeof plain) == 0;
    std::string code = ok ? std::string(reinterpret_cast<char*>(plain), size_t(plainLength)) : "";
    std::memset(plain, 0, sizeof plain);
    std::memset(bytes, 0, sizeof bytes);
    return code;
}

// The host of a queue's device URI, as the printer's device protocol is reached there.
QString hostOf(const QString& deviceUri) {
    char scheme[32], user[256], host[256], resource[1024];
    int port = 0;
    if (httpSeparateURI(HTTP_URI_CODING_ALL, deviceUri.toUtf8().constData(), scheme, sizeof scheme,
                        user, sizeof user, host, sizeof host, &port, resource,
                        sizeof resource) < HTTP_URI_STATUS_OK)
        return {};
    return QString::fromUtf8(host);
}

void askPrinter(FaxJobResults::Job& job, const QString& deviceUri, const QByteArray& scrambled) {
    std::string code = unscrambled(scrambled);
    if (code.empty()) {
        job.unknownReason = QStringLiteral("the job carries no password to read the printer's log");
        return;
    }
    const auto endpoint =
        xdirkit::DeviceEndpoint::forDevice(1, hostOf(deviceUri).toUtf8().constData());
    if (!endpoint) {
        job.unknownReason = QStringLiteral("the printer's address is not known");
        return;
    }
    xdirkit::DeviceClient client(*endpoint);
    const auto read = client.readFaxJob(job.uuid.toStdString(), code);
    std::fill(code.begin(), code.end(), '\0');
    if (read.outcome != xdirkit::DeviceClient::Outcome::Ok) {
        job.unknownReason =
            read.known ? QStringLiteral("the printer cannot be asked: %1")
                             .arg(QString::fromUtf8(xdirkit::DeviceClient::describe(read.outcome)))
                       : QStringLiteral("the printer holds no such job");
        return;
    }
    if (!FaxLogEntryReader::read(read.json, job))
        job.unknownReason = QStringLiteral("the printer's answer is not a fax log entry");
}

} // namespace

bool FaxJobResults::Job::isFinal() const {
    if (schedulerState != QLatin1String("completed"))
        return schedulerState == QLatin1String("stopped") ||
               schedulerState == QLatin1String("canceled") ||
               schedulerState == QLatin1String("aborted");
    return printerState == QLatin1String("sent") || printerState == QLatin1String("failed") ||
           !unknownReason.isEmpty();
}

QList<FaxJobResults::Job> FaxJobResults::recentJobs(const QString& server, int limit,
                                                    QString* error) {
    QList<Job> jobs;
    const printing::CupsConnection connection(server);
    if (!connection.isOpen()) {
        *error = QStringLiteral("the print scheduler cannot be reached");
        return jobs;
    }
    const QMap<QString, FaxQueue> queues = faxQueues(connection.http());
    ipp_t* request = ippNewRequest(IPP_OP_GET_JOBS);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr,
                 "ipp://localhost/");
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
                 cupsUser());
    ippAddBoolean(request, IPP_TAG_OPERATION, "my-jobs", 1);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "which-jobs", nullptr, "all");
    const QByteArray password = passwordKey().toUtf8();
    const char* wanted[] = {
        "job-id",   "job-name",        "job-state",         "job-printer-state-message",
        "job-uuid", "job-printer-uri", password.constData()};
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                  int(std::size(wanted)), nullptr, wanted);
    ipp_t* response = cupsDoRequest(connection.http(), request, "/");
    if (response == nullptr || ippGetStatusCode(response) > IPP_STATUS_OK_EVENTS_COMPLETE) {
        *error = QStringLiteral("the print scheduler did not list the jobs: %1")
                     .arg(QString::fromUtf8(cupsLastErrorString()));
        ippDelete(response);
        return jobs;
    }
    QList<std::pair<Job, QByteArray>> found;
    Job job;
    QByteArray scrambled;
    const auto keep = [&] {
        const QString queue = job.queue;
        if (job.id > 0 && queues.contains(queue))
            found.append({job, scrambled});
        job = Job();
        scrambled.clear();
    };
    for (ipp_attribute_t* attribute = ippFirstAttribute(response); attribute != nullptr;
         attribute = ippNextAttribute(response)) {
        const char* name = ippGetName(attribute);
        if (name == nullptr) {
            keep();
            continue;
        }
        const QByteArray key(name);
        const QString text = QString::fromUtf8(ippGetString(attribute, 0, nullptr));
        if (key == "job-id")
            job.id = ippGetInteger(attribute, 0);
        else if (key == "job-name")
            job.title = text;
        else if (key == "job-state")
            job.schedulerState = schedulerState(ippGetInteger(attribute, 0));
        else if (key == "job-printer-state-message")
            job.schedulerMessage = text;
        else if (key == "job-uuid")
            job.uuid = text;
        else if (key == "job-printer-uri")
            job.queue = text.section(QLatin1Char('/'), -1);
        else if (key == password)
            scrambled = text.toUtf8();
    }
    keep();
    ippDelete(response);
    std::sort(found.begin(), found.end(),
              [](const auto& a, const auto& b) { return a.first.id > b.first.id; });
    for (auto& [entry, code] : found) {
        if (jobs.size() >= limit)
            break;
        if (entry.schedulerState == QLatin1String("completed"))
            askPrinter(entry, queues.value(entry.queue).deviceUri, code);
        jobs.append(entry);
    }
    return jobs;
}

QStringList FaxJobResults::statusLines(const Job& job) {
    QString state = job.schedulerState;
    QString detail = job.schedulerMessage;
    if (job.schedulerState == QLatin1String("completed")) {
        state = job.printerState.isEmpty() ? QStringLiteral("unknown") : job.printerState;
        detail = job.unknownReason;
    }
    QStringList lines{QStringList{QStringLiteral("job"), QString::number(job.id), job.queue,
                                  job.title, state, detail}
                          .join(QLatin1Char('\t'))};
    for (const Recipient& recipient : job.recipients)
        lines.append(QStringList{QStringLiteral("recipient"), QString::number(recipient.number),
                                 recipient.name, recipient.faxNumber, recipient.state,
                                 QString::number(recipient.tries), recipient.time}
                         .join(QLatin1Char('\t')));
    return lines;
}

} // namespace vextel_print
