#pragma once

#include <QString>
#include <cups/ppd.h>

// An English text the code looks up in the bundle's string tables, marked where it is written:
// the check of the string tables collects every text so marked, so none goes untranslated.
#define TKDRV_TEXT(text) QStringLiteral(text)

namespace kit {
class Bundle;
}

namespace tarvik_pde_m40vextel {

// Looks the key up language by language, in the bundle's search order (the user's languages,
// then the development language): in each, the printer-specific table first, then the bundle's
// default table when the printer's table has no entry or maps the key to itself. So a German
// screen shows the family's German text before the printer's English one. A null or empty table
// name goes to the default table at once. Never fails: a key found nowhere comes back (or the
// value, when one is given).
QString tkdrvLocalizedStringForKey(const kit::Bundle& bundle, const QString& key,
                                   const QString& value, const QString& table);

// The name of the printer-specific string table: "Localizable" followed by the PPD's
// TKLocalizableFileIndex; a null QString without a PPD or without that attribute.
QString printerSpecificTableName(const ppd_file_t* ppd);

} // namespace tarvik_pde_m40vextel
