#include "PpdDocument.h"

#include "printing/CupsConnection.h"

#include <QFile>
#include <cerrno>
#include <cups/cups.h>
#include <unistd.h>

namespace vextel_print {

namespace {

QString ppdErrorText(const QString& path) {
    int line = 0;
    const ppd_status_t status = ppdLastError(&line);
    return QStringLiteral("cannot read the PPD %1: %2 (line %3)")
        .arg(path, QString::fromUtf8(ppdErrorString(status)))
        .arg(line);
}

} // namespace

PpdDocument::PpdDocument(ppd_file_t* ppd, QString path, QString temporaryCopy)
    : ppd_(ppd), path_(std::move(path)), temporaryCopy_(std::move(temporaryCopy)) {
    ppdMarkDefaults(ppd_);
}

PpdDocument::~PpdDocument() {
    ppdClose(ppd_);
    if (!temporaryCopy_.isEmpty()) {
        QFile::remove(temporaryCopy_);
    }
}

std::unique_ptr<PpdDocument> PpdDocument::openFile(const QString& path, QString* error) {
    ppd_file_t* ppd = ppdOpenFile(QFile::encodeName(path).constData());
    if (ppd == nullptr) {
        *error = ppdErrorText(path);
        return nullptr;
    }
    return std::unique_ptr<PpdDocument>(new PpdDocument(ppd, path, QString()));
}

namespace {

// The queue's PPD fetched on the connection itself (GET /printers/QUEUE.ppd) into a temporary
// file; empty when the server has none for it. Unlike cupsGetPPD2, this never leaves the
// connection for the host and port the queue's URI names, which a server reached through its
// local socket (the one where it knows who the user is) may not listen on.
QString fetchPpdOnConnection(http_t* http, const QString& queue) {
    char path[1024];
    const int fd = cupsTempFd(path, sizeof path);
    if (fd < 0) {
        return {};
    }
    const QByteArray resource = "/printers/" + queue.toUtf8() + ".ppd";
    const http_status_t status = cupsGetFd(http, resource.constData(), fd);
    ::close(fd);
    if (status != HTTP_STATUS_OK) {
        ::unlink(path);
        return {};
    }
    return QFile::decodeName(path);
}

} // namespace

std::unique_ptr<PpdDocument> PpdDocument::openQueue(const QString& queue, const QString& server,
                                                    QString* error) {
    const printing::CupsConnection connection(server);
    if (!connection.isOpen()) {
        *error = QStringLiteral("cannot reach the CUPS server %1").arg(connection.serverName());
        return nullptr;
    }
    QString copy;
    if (const char* fetched = cupsGetPPD2(connection.http(), queue.toUtf8().constData())) {
        copy = QFile::decodeName(fetched);
    } else {
        const QString reason = connection.requestError(QString::fromUtf8(cupsLastErrorString()));
        // A server that did not answer is not asked again.
        if (httpError(connection.http()) != ETIMEDOUT) {
            copy = fetchPpdOnConnection(connection.http(), queue);
        }
        if (copy.isEmpty()) {
            *error = QStringLiteral("cannot get the PPD of the queue %1: %2").arg(queue, reason);
            return nullptr;
        }
    }
    ppd_file_t* ppd = ppdOpenFile(QFile::encodeName(copy).constData());
    if (ppd == nullptr) {
        *error = ppdErrorText(copy);
        QFile::remove(copy);
        return nullptr;
    }
    return std::unique_ptr<PpdDocument>(new PpdDocument(ppd, copy, copy));
}

QString PpdDocument::modelName() const {
    return QString::fromUtf8(ppd_->nickname != nullptr ? ppd_->nickname : ppd_->modelname);
}

bool PpdDocument::markOption(const QString& keyword, const QString& choice) {
    const QByteArray option = keyword.toUtf8();
    const QByteArray value = choice.toUtf8();
    if (ppdFindChoice(ppdFindOption(ppd_, option.constData()), value.constData()) == nullptr) {
        return false;
    }
    ppdMarkOption(ppd_, option.constData(), value.constData());
    const ppd_choice_t* marked = ppdFindMarkedChoice(ppd_, option.constData());
    return marked != nullptr && value == marked->choice;
}

QMap<QString, QString> PpdDocument::markedChoices() const {
    QMap<QString, QString> marked;
    for (int i = 0; i < ppd_->num_groups; ++i) {
        addMarkedChoices(ppd_->groups[i], marked);
    }
    return marked;
}

// The groups' own option arrays, not libcups' option cursor: looking up a marked choice moves
// that cursor, and a keyword opened in two groups then sends the walk round for ever.
void PpdDocument::addMarkedChoices(const ppd_group_t& group, QMap<QString, QString>& marked) const {
    for (int i = 0; i < group.num_options; ++i) {
        const ppd_option_t& option = group.options[i];
        if (const ppd_choice_t* choice = ppdFindMarkedChoice(ppd_, option.keyword)) {
            marked.insert(QString::fromUtf8(option.keyword), QString::fromUtf8(choice->choice));
        }
    }
    for (int i = 0; i < group.num_subgroups; ++i) {
        addMarkedChoices(group.subgroups[i], marked);
    }
}

} // namespace vextel_print
