#include "kit/ProgramTranslations.h"

#include "kit/Bundle.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

namespace kit {

namespace {

const QString kResourceFolder = QStringLiteral(":/i18n");
const QString kFallbackLanguage = QStringLiteral("en");

QString tablePath(const QString& program, const QString& language) {
    return QStringLiteral("%1/%2_%3.qm").arg(kResourceFolder, program, language);
}

// "de_AT" is matched by a table for "de_AT", then by one for "de".
QString matchingLanguage(const QStringList& available, const QString& language) {
    if (available.contains(language)) {
        return language;
    }
    const QString base = language.section(QLatin1Char('_'), 0, 0);
    return available.contains(base) ? base : QString();
}

// The translator lives as long as the application, which owns it.
bool installTable(const QString& path) {
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(path)) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
}

} // namespace

QStringList ProgramTranslations::available(const QString& program) {
    const QString prefix = program + QLatin1Char('_');
    QStringList languages;
    for (const QString& file : QDir(kResourceFolder).entryList({prefix + QStringLiteral("*.qm")})) {
        languages.append(file.mid(prefix.size()).chopped(3));
    }
    languages.sort();
    return languages;
}

QString ProgramTranslations::install(const QString& program, const QStringList& languages) {
    const QStringList available = ProgramTranslations::available(program);
    QString chosen;
    for (const QString& language : languages.isEmpty() ? Bundle::preferredLanguages() : languages) {
        chosen = matchingLanguage(available, language);
        if (!chosen.isEmpty()) {
            break;
        }
    }
    if (chosen.isEmpty()) {
        chosen = available.contains(kFallbackLanguage) ? kFallbackLanguage : QString();
    }
    if (chosen.isEmpty() || !installTable(tablePath(program, chosen))) {
        return {};
    }
    // Qt's own table is optional: without it the standard buttons stay English.
    if (chosen != kFallbackLanguage) {
        installTable(QLibraryInfo::path(QLibraryInfo::TranslationsPath) +
                     QStringLiteral("/qtbase_") + chosen + QStringLiteral(".qm"));
    }
    return chosen;
}

} // namespace kit
