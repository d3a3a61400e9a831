#include "FaxResultNotice.h"

#include <QLocale>

namespace vextel_print {

namespace {

// The notices' texts in one language; %1, %2 as QString::arg fills them.
struct NoticeTexts {
    const char* language;
    const char* sentToOne;
    const char* sentToMany;    // %1 recipients
    const char* someFailed;    // %1 of %2 failed
    const char* notSent;       // the job never reached the printer
    const char* resultUnknown; // the printer could not be asked
    const char* recipientLine; // %1 name, %2 number, %3 outcome
    const char* busy;
    const char* noAnswer;
    const char* failed;
};

const NoticeTexts kTexts[] = {
    {"en", "Fax sent to 1 recipient", "Fax sent to %1 recipients",
     "Fax to %1 of %2 recipients failed", "Fax not sent", "Fax result unknown", "%1 (%2): %3",
     "line busy", "no answer", "failed"},
    {"de", "Fax an 1 Empfänger gesendet", "Fax an %1 Empfänger gesendet",
     "Fax an %1 von %2 Empfängern fehlgeschlagen", "Fax nicht gesendet",
     "Ergebnis des Faxes unbekannt", "%1 (%2): %3", "besetzt", "keine Antwort", "fehlgeschlagen"},
    {"ja", "1 件の宛先にファクスを送信しました", "%1 件の宛先にファクスを送信しました",
     "%2 件中 %1 件の宛先へのファクスが失敗しました", "ファクスは送信されませんでした",
     "ファクスの結果は不明です", "%1 (%2): %3", "話し中", "応答なし", "失敗"},
};

const NoticeTexts& textsFor(const QString& language) {
    for (const NoticeTexts& texts : kTexts)
        if (language == QLatin1String(texts.language))
            return texts;
    return kTexts[0];
}

QString outcome(const NoticeTexts& texts, const QString& state) {
    if (state == QLatin1String("busy"))
        return QString::fromUtf8(texts.busy);
    if (state == QLatin1String("no-answer"))
        return QString::fromUtf8(texts.noAnswer);
    return QString::fromUtf8(texts.failed);
}

} // namespace

QString FaxResultNotice::userLanguage() {
    QStringList wanted =
        qEnvironmentVariable("LANGUAGE").split(QLatin1Char(':'), Qt::SkipEmptyParts);
    wanted += QLocale::system().uiLanguages();
    for (const QString& language : wanted) {
        const QString base = language.left(2).toLower();
        for (const NoticeTexts& texts : kTexts)
            if (base == QLatin1String(texts.language))
                return base;
    }
    return QStringLiteral("en");
}

FaxResultNotice FaxResultNotice::of(const FaxJobResults::Job& job, const QString& language) {
    const NoticeTexts& texts = textsFor(language.isEmpty() ? userLanguage() : language);
    const QString title = job.title;
    if (job.schedulerState != QLatin1String("completed"))
        return {QString::fromUtf8(texts.notSent),
                job.schedulerMessage.isEmpty() ? title
                                               : title + QLatin1Char('\n') + job.schedulerMessage};
    if (!job.unknownReason.isEmpty() || job.recipients.isEmpty())
        return {QString::fromUtf8(texts.resultUnknown),
                title + QLatin1Char('\n') + job.unknownReason};
    const qsizetype count = job.recipients.size();
    if (job.allSent()) {
        const QString summary = count == 1 ? QString::fromUtf8(texts.sentToOne)
                                           : QString::fromUtf8(texts.sentToMany).arg(count);
        return {summary, title};
    }
    QStringList lines{title};
    qsizetype failedCount = 0;
    for (const FaxJobResults::Recipient& recipient : job.recipients) {
        if (recipient.state == QLatin1String("sent"))
            continue;
        ++failedCount;
        lines.append(QString::fromUtf8(texts.recipientLine)
                         .arg(recipient.name.isEmpty() ? recipient.faxNumber : recipient.name,
                              recipient.faxNumber, outcome(texts, recipient.state)));
    }
    return {QString::fromUtf8(texts.someFailed).arg(failedCount).arg(count),
            lines.join(QLatin1Char('\n'))};
}

} // namespace vextel_print
