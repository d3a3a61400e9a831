#include "JobDispatcher.h"

#include "HostCallback.h"
#include "PpdDocument.h"
#include "printing/JobSubmitter.h"
#include "printing/PrintingFunctions.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <cstdio>

namespace vextel_print {

JobDispatcher::JobDispatcher(Target target, QStringList documents)
    : target_(std::move(target)), documents_(std::move(documents)) {}

QMap<QString, QString> JobDispatcher::jobOptions(HostCallback& host, int copies) {
    QMap<QString, QString> options = host.ppd().markedChoices();
    const printing::PrintSettings& settings = *host.printSettings();
    for (const auto& entry : settings.entries()) {
        options.insert(entry.key, entry.value.toString());
    }
    if (copies > 1) {
        options.insert(QStringLiteral("copies"), QString::number(copies));
    }
    return options;
}

JobDispatcher::Result JobDispatcher::dispatch(HostCallback& host, int copies) const {
    const printing::PrintSession& session = *host.printSession();
    switch (session.destinationType()) {
    case printing::kDestinationFile:
        return saveToFile(session.destinationLocation());
    case printing::kDestinationPreview:
        return openPreview();
    default:
        return sendToPrinter(jobOptions(host, copies));
    }
}

JobDispatcher::Result JobDispatcher::sendToPrinter(const QMap<QString, QString>& options) const {
    if (target_.queue.isEmpty()) {
        const QString folder = nextJobFolder();
        QString error;
        if (!printing::JobSubmitter::writeToFolder(folder, documents_, options, &error)) {
            return {false, QStringLiteral("the job could not be written: %1").arg(error)};
        }
        return {true, QStringLiteral("job written to %1").arg(folder)};
    }
    const printing::JobSubmitter submitter(target_.server);
    const auto result = submitter.submit(target_.queue, documents_, jobTitle(), options);
    if (!result.ok()) {
        return {
            false,
            QStringLiteral("the job could not be sent to %1: %2").arg(target_.queue, result.error)};
    }
    return {true,
            QStringLiteral("job %1 sent to the queue %2").arg(result.jobId).arg(target_.queue)};
}

JobDispatcher::Result JobDispatcher::saveToFile(const QString& path) const {
    if (path.isEmpty() || documents_.isEmpty()) {
        return {false, QStringLiteral("no file to save the document to")};
    }
    // One file holds one document: saving the first alone would drop the others unnoticed.
    if (documents_.size() > 1) {
        return {false, QStringLiteral("%1 documents cannot be saved to the one file %2; print "
                                      "them one at a time")
                           .arg(documents_.size())
                           .arg(path)};
    }
    // Copy beside the target first: a copy that fails leaves an older file of that name whole,
    // and a target that is the document itself is not removed before it is read.
    const QString partial = path + QStringLiteral(".partial");
    QFile::remove(partial);
    if (!QFile::copy(documents_.first(), partial)) {
        return {false, QStringLiteral("the document could not be saved to %1").arg(path)};
    }
    if (std::rename(QFile::encodeName(partial).constData(), QFile::encodeName(path).constData()) !=
        0) {
        QFile::remove(partial);
        return {false, QStringLiteral("the document could not be saved to %1").arg(path)};
    }
    return {true, QStringLiteral("document saved to %1").arg(path)};
}

JobDispatcher::Result JobDispatcher::openPreview() const {
    if (documents_.isEmpty()) {
        return {false, QStringLiteral("no document to preview")};
    }
    const QString document = QFileInfo(documents_.first()).absoluteFilePath();
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(document))) {
        return {false, QStringLiteral("no viewer could open %1").arg(document)};
    }
    return {true, QStringLiteral("document opened in the viewer: %1").arg(document)};
}

QString JobDispatcher::nextJobFolder() const {
    const QDir root(QDir(target_.outputFolder).absolutePath());
    for (int number = 1;; ++number) {
        const QString folder = root.filePath(QStringLiteral("job-%1").arg(number));
        if (!QFileInfo::exists(folder)) {
            return folder;
        }
    }
}

QString JobDispatcher::jobTitle() const {
    if (!target_.title.isEmpty()) {
        return target_.title;
    }
    return documents_.isEmpty() ? QStringLiteral("Fax") : QFileInfo(documents_.first()).fileName();
}

} // namespace vextel_print
