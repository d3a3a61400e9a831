#include "CupsdHarness.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <cups/cups.h>
#include <memory>
#include <unistd.h>

namespace vextel_test {

namespace {

const QString kScript = QStringLiteral(VEXTEL_SOURCE_DIR "/tests/system/cupsd-harness.sh");

const QString kFaxDriver = QStringLiteral(VEXTEL_BINARY_DIR "/bin/vextel-faxdriver");

QString runScript(const QStringList& arguments, QString* errorOutput, int* exitCode) {
    QProcess process;
    // Queues a test makes with the fax PPD run the built driver.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!environment.contains(QStringLiteral("VEXTEL_FAX_DRIVER")))
        environment.insert(QStringLiteral("VEXTEL_FAX_DRIVER"), kFaxDriver);
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral("/bin/bash"), QStringList{kScript} + arguments);
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
    }
    *errorOutput = QString::fromLocal8Bit(process.readAllStandardError());
    *exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

QString readText(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// One string value as it is; anything else in its text form.
QString attributeValue(ipp_attribute_t* attr) {
    const char* text = ippGetCount(attr) == 1 ? ippGetString(attr, 0, nullptr) : nullptr;
    if (text != nullptr)
        return QString::fromUtf8(text);
    char buffer[4096];
    ippAttributeString(attr, buffer, sizeof buffer);
    return QString::fromUtf8(buffer);
}

} // namespace

QString CupsdHarness::unavailableReason() {
    if (geteuid() != 0)
        return QStringLiteral("the private CUPS scheduler needs root");
    const QStringList sbin{QStringLiteral("/usr/sbin"), QStringLiteral("/sbin")};
    if (QStandardPaths::findExecutable(QStringLiteral("cupsd")).isEmpty() &&
        QStandardPaths::findExecutable(QStringLiteral("cupsd"), sbin).isEmpty())
        return QStringLiteral("cupsd is not installed");
    return QString();
}

CupsdHarness::CupsdHarness(const QString& ppdPath, const QString& queue) {
    QTemporaryDir base(QDir::tempPath() + QStringLiteral("/vextel-cupsd-XXXXXX"));
    base.setAutoRemove(false);
    if (!base.isValid()) {
        startError_ = QStringLiteral("cannot make a temporary folder");
        return;
    }
    folder_ = base.path();
    int exitCode = 0;
    const QString output =
        runScript({QStringLiteral("start"), folder_, ppdPath, queue}, &startError_, &exitCode);
    if (exitCode != 0) {
        QDir(folder_).removeRecursively();
        return;
    }
    for (const QString& line : output.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals > 0)
            environment_.insert(line.left(equals), line.mid(equals + 1));
    }
    running_ = !server().isEmpty() && !this->queue().isEmpty();
}

CupsdHarness::~CupsdHarness() {
    if (folder_.isEmpty())
        return;
    QString errorOutput;
    int exitCode = 0;
    runScript({QStringLiteral("stop"), folder_}, &errorOutput, &exitCode);
}

std::optional<QString> CupsdHarness::waitForCapture(int jobId, int timeoutMs) const {
    const QString path = captureFolder() + QStringLiteral("/job-") + QString::number(jobId);
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < timeoutMs) {
        if (QFile::exists(path + QStringLiteral("/document")))
            return path;
        QThread::msleep(50);
    }
    return std::nullopt;
}

QMap<QString, QString> CupsdHarness::capturedOptions(int jobId) const {
    return parseOptionsArgument(readText(captureFolder() + QStringLiteral("/job-") +
                                         QString::number(jobId) + QStringLiteral("/options")));
}

QByteArray CupsdHarness::capturedDocument(int jobId) const {
    QFile file(captureFolder() + QStringLiteral("/job-") + QString::number(jobId) +
               QStringLiteral("/document"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QMap<QString, QString> CupsdHarness::jobAttributes(int jobId) const {
    return requestJobAttributes(socketPath(), jobId, QString::fromUtf8(cupsUser()));
}

QMap<QString, QString> CupsdHarness::requestJobAttributes(const QString& server, int jobId,
                                                          const QString& requestingUser,
                                                          int* status) {
    QMap<QString, QString> result;
    if (status != nullptr)
        *status = -1;
    // A local socket's path, or host:port.
    const bool local = server.startsWith(QLatin1Char('/'));
    const QByteArray host = (local ? server : server.section(QLatin1Char(':'), 0, 0)).toUtf8();
    const int port = local ? 0 : server.section(QLatin1Char(':'), 1, 1).toInt();
    http_t* http = httpConnect2(host.constData(), port, nullptr, AF_UNSPEC, HTTP_ENCRYPTION_NEVER,
                                1, 10000, nullptr);
    if (http == nullptr)
        return result;
    const QByteArray user = requestingUser.toUtf8();
    cupsSetUser(user.constData());
    ipp_t* request = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", 631,
                     "/jobs/%d", jobId);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
                 user.constData());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr,
                 "all");
    ipp_t* response = cupsDoRequest(http, request, "/");
    if (status != nullptr)
        *status = cupsLastError();
    if (response != nullptr) {
        for (ipp_attribute_t* attr = ippFirstAttribute(response); attr != nullptr;
             attr = ippNextAttribute(response)) {
            if (ippGetGroupTag(attr) != IPP_TAG_JOB || ippGetName(attr) == nullptr)
                continue;
            result.insert(QString::fromUtf8(ippGetName(attr)), attributeValue(attr));
        }
        ippDelete(response);
    }
    httpClose(http);
    return result;
}

QString CupsdHarness::errorLog() const {
    return readText(folder_ + QStringLiteral("/log/error_log")).right(4000);
}

QMap<QString, QString> CupsdHarness::parseOptionsArgument(const QString& argument) {
    QStringList items;
    QString current;
    bool inItem = false;
    for (qsizetype i = 0; i < argument.size(); ++i) {
        const QChar c = argument.at(i);
        if (c == QLatin1Char('\\') && i + 1 < argument.size()) {
            current.append(argument.at(++i));
            inItem = true;
        } else if (c.isSpace()) {
            if (inItem)
                items.append(current);
            current.clear();
            inItem = false;
        } else {
            current.append(c);
            inItem = true;
        }
    }
    if (inItem)
        items.append(current);
    QMap<QString, QString> options;
    for (const QString& item : items) {
        const qsizetype equals = item.indexOf(QLatin1Char('='));
        if (equals < 0)
            options.insert(item, QString());
        else
            options.insert(item.left(equals), item.mid(equals + 1));
    }
    return options;
}

} // namespace vextel_test
