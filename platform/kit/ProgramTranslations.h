#pragma once

#include <QString>
#include <QStringList>

namespace kit {

// The string tables of a program (not of a bundle): its own, compiled from its Qt Linguist
// sources into the Qt resources as ":/i18n/<program>_<language>.qm", and Qt's own for the
// standard buttons and dialogs. Installed into the application once it exists.
class ProgramTranslations {
public:
    // Installs the tables of the first of the languages that the program has a table for
    // (a language such as "de_AT" also matches "de"); English when none matches, whose table
    // carries the English plural forms. Answers the language installed, or an empty string when
    // the program has no table at all. With no languages given, the user's preferred ones
    // (Bundle::preferredLanguages).
    static QString install(const QString& program, const QStringList& languages = {});

    // The languages the program has tables for, sorted.
    static QStringList available(const QString& program);
};

} // namespace kit
