#include "printing/JobSubmitter.h"

#include "printing/CupsConnection.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <cups/cups.h>
#include <memory>
#include <utility>

namespace printing {

namespace {

struct IppDeleter {
    void operator()(ipp_t* ipp) const { ippDelete(ipp); }
};
using IppMessage = std::unique_ptr<ipp_t, IppDeleter>;

QString attributeText(ipp_attribute_t* attribute) {
    char buffer[2048];
    ippAttributeString(attribute, buffer, sizeof buffer);
    return QString::fromUtf8(buffer);
}

// The client library types option values by their text: "true" becomes a boolean that the
// scheduler hands the driver as a bare option name, and a known numeric option loses leading
// zeros. Its encoding is used only when it gives back exactly the given text as one value;
// every other value goes as one text value.
bool typedEncodingKeepsValue(const QByteArray& name, const QByteArray& value) {
    IppMessage probe(ippNew());
    ipp_attribute_t* typed =
        cupsEncodeOption(probe.get(), IPP_TAG_JOB, name.constData(), value.constData());
    return typed != nullptr && ippGetCount(typed) == 1 &&
           ippGetValueTag(typed) != IPP_TAG_BOOLEAN &&
           attributeText(typed) == QString::fromUtf8(value);
}

void addJobOption(ipp_t* request, const QString& key, const QString& value) {
    const QByteArray name = key.toUtf8();
    const QByteArray text = value.toUtf8();
    if (!text.isEmpty() && typedEncodingKeepsValue(name, text))
        cupsEncodeOption(request, IPP_TAG_JOB, name.constData(), text.constData());
    else
        ippAddString(request, IPP_TAG_JOB, IPP_TAG_TEXT, name.constData(), nullptr,
                     text.constData());
}

QString lastCupsError() {
    return QString::fromUtf8(cupsLastErrorString());
}

int createJob(http_t* http, const QByteArray& queue, const QString& title,
              const QMap<QString, QString>& options, QString* error) {
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(),
                     "/printers/%s", queue.constData());
    ipp_t* request = ippNewRequest(IPP_OP_CREATE_JOB);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
                 cupsUser());
    if (!title.isEmpty())
        ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "job-name", nullptr,
                     title.toUtf8().constData());
    for (auto it = options.constBegin(); it != options.constEnd(); ++it)
        addJobOption(request, it.key(), it.value());

    const QByteArray resource = "/printers/" + queue;
    IppMessage response(cupsDoRequest(http, request, resource.constData()));
    if (!response || cupsLastError() > IPP_STATUS_OK_CONFLICTING) {
        *error = QStringLiteral("Create-Job failed: ") + lastCupsError();
        return 0;
    }
    ipp_attribute_t* jobId = ippFindAttribute(response.get(), "job-id", IPP_TAG_INTEGER);
    if (jobId == nullptr) {
        *error = QStringLiteral("Create-Job answered no job id");
        return 0;
    }
    return ippGetInteger(jobId, 0);
}

bool sendDocument(http_t* http, const QByteArray& queue, int jobId, const QString& path, bool last,
                  QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read ") + path;
        return false;
    }
    const QByteArray documentName = QFileInfo(path).fileName().toUtf8();
    if (cupsStartDocument(http, queue.constData(), jobId, documentName.constData(),
                          CUPS_FORMAT_AUTO, last ? 1 : 0) != HTTP_STATUS_CONTINUE) {
        *error = QStringLiteral("Send-Document failed: ") + lastCupsError();
        return false;
    }
    bool written = true;
    while (written && !file.atEnd()) {
        const QByteArray chunk = file.read(64 * 1024);
        written = !chunk.isEmpty() && cupsWriteRequestData(http, chunk.constData(), chunk.size()) ==
                                          HTTP_STATUS_CONTINUE;
    }
    const ipp_status_t status = cupsFinishDocument(http, queue.constData());
    if (!written || status > IPP_STATUS_OK_CONFLICTING) {
        *error = QStringLiteral("Send-Document failed for ") + path + QStringLiteral(": ") +
                 lastCupsError();
        return false;
    }
    return true;
}

QString checkReadable(const QStringList& files) {
    for (const QString& path : files) {
        const QFileInfo info(path);
        if (!info.isFile() || !info.isReadable())
            return QStringLiteral("cannot read ") + path;
    }
    return QString();
}

QString checkWritableAsLines(const QMap<QString, QString>& options) {
    for (auto it = options.constBegin(); it != options.constEnd(); ++it) {
        const QString& key = it.key();
        const bool badKey = key.isEmpty() || key.contains(QLatin1Char('=')) ||
                            key.contains(QLatin1Char('\n')) || key.contains(QLatin1Char('\r'));
        const bool badValue =
            it.value().contains(QLatin1Char('\n')) || it.value().contains(QLatin1Char('\r'));
        if (badKey || badValue)
            return QStringLiteral("option \"") + key +
                   QStringLiteral("\" cannot be written as one line");
    }
    return QString();
}

QString unusedNameIn(const QDir& folder, const QString& fileName) {
    const QFileInfo info(fileName);
    const QString base = info.completeBaseName();
    const QString suffix = info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix();
    QString candidate = fileName;
    for (int n = 2;
         folder.exists(candidate) || candidate == QLatin1String(JobSubmitter::kJobOptionsFileName);
         ++n)
        candidate = base + QLatin1Char('-') + QString::number(n) + suffix;
    return candidate;
}

// The job's files hold the fax recipients and the scrambled password: made for the user alone at
// creation (never widened by the umask and narrowed after), and never written through a link.
constexpr QFileDevice::Permissions kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

bool makeOwnFolder(const QString& folder) {
    const QFileInfo info(folder);
    if (!QDir().mkpath(info.absolutePath()))
        return false;
    if (QDir().mkdir(info.absoluteFilePath(), kOwnerOnly | QFileDevice::ExeOwner))
        return true;
    // An existing folder is used as it is; a link or file in the way is not.
    return info.isDir() && !info.isSymLink();
}

bool writeNewFile(const QString& path, const QByteArray& data) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::NewOnly, kOwnerOnly) &&
           file.write(data) == data.size() && file.flush();
}

bool copyAsNewFile(const QString& from, const QString& to) {
    QFile source(from);
    QFile target(to);
    if (!source.open(QIODevice::ReadOnly) ||
        !target.open(QIODevice::WriteOnly | QIODevice::NewOnly, kOwnerOnly))
        return false;
    while (!source.atEnd()) {
        const QByteArray chunk = source.read(1 << 20);
        if (chunk.isEmpty() || target.write(chunk) != chunk.size())
            return false;
    }
    return target.flush();
}

// Written beside its name and renamed into place, so a reader never sees half the options.
bool writeOptionsFile(const QDir& dir, const QMap<QString, QString>& options) {
    QByteArray text;
    for (auto it = options.constBegin(); it != options.constEnd(); ++it)
        text += (it.key() + QLatin1Char('=') + it.value() + QLatin1Char('\n')).toUtf8();
    const QString path = dir.filePath(QLatin1String(JobSubmitter::kJobOptionsFileName));
    const QString partial = path + QStringLiteral(".partial");
    QFile::remove(partial);
    if (!writeNewFile(partial, text) || std::rename(QFile::encodeName(partial).constData(),
                                                    QFile::encodeName(path).constData()) != 0) {
        QFile::remove(partial);
        return false;
    }
    return true;
}

} // namespace

JobSubmitter::JobSubmitter(QString server) : server_(std::move(server)) {}

JobSubmitter::Result JobSubmitter::submit(const QString& queue, const QStringList& files,
                                          const QString& title,
                                          const QMap<QString, QString>& options) const {
    Result result;
    if (queue.isEmpty() || files.isEmpty()) {
        result.error = QStringLiteral("JobSubmitter - no queue or no documents");
        return result;
    }
    if (const QString unreadable = checkReadable(files); !unreadable.isEmpty()) {
        result.error = QStringLiteral("JobSubmitter - ") + unreadable;
        return result;
    }
    const CupsConnection connection(server_);
    if (!connection.isOpen()) {
        result.error = QStringLiteral("JobSubmitter - cannot connect to the print server ") +
                       connection.serverName();
        return result;
    }
    http_t* http = connection.http();
    const QByteArray queueName = queue.toUtf8();
    QString error;
    const int jobId = createJob(http, queueName, title, options, &error);
    if (jobId <= 0) {
        result.error = QStringLiteral("JobSubmitter - ") + connection.requestError(error);
        return result;
    }
    for (qsizetype i = 0; i < files.size(); ++i) {
        if (!sendDocument(http, queueName, jobId, files.at(i), i + 1 == files.size(), &error)) {
            result.error = QStringLiteral("JobSubmitter - ") + connection.requestError(error);
            cupsCancelJob2(http, queueName.constData(), jobId, 0);
            return result;
        }
    }
    result.jobId = jobId;
    return result;
}

bool JobSubmitter::writeToFolder(const QString& folder, const QStringList& files,
                                 const QMap<QString, QString>& options, QString* error) {
    auto fail = [error](const QString& text) {
        if (error != nullptr)
            *error = QStringLiteral("JobSubmitter - ") + text;
        return false;
    };
    if (folder.isEmpty())
        return fail(QStringLiteral("no output folder"));
    if (const QString unreadable = checkReadable(files); !unreadable.isEmpty())
        return fail(unreadable);
    if (const QString bad = checkWritableAsLines(options); !bad.isEmpty())
        return fail(bad);
    const QDir dir(folder);
    if (!makeOwnFolder(folder))
        return fail(QStringLiteral("cannot make the folder ") + folder);

    for (const QString& path : files) {
        const QString target = dir.filePath(unusedNameIn(dir, QFileInfo(path).fileName()));
        if (!copyAsNewFile(path, target))
            return fail(QStringLiteral("cannot copy ") + path + QStringLiteral(" to ") + target);
    }
    if (!writeOptionsFile(dir, options))
        return fail(QStringLiteral("cannot write ") +
                    dir.filePath(QLatin1String(kJobOptionsFileName)));
    return true;
}

} // namespace printing
