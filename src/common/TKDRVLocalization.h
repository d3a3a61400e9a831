#pragma once

#include <QString>
#include <cups/ppd.h>

namespace kit {
class Bundle;
}

namespace tarvik_pde_m40vextel {

// Looks the key up in the printer-specific table first and falls back to the bundle's default
// table when that table has no entry or maps the key to itself. A null or empty table name goes
// to the default table at once. Never fails: a key found nowhere comes back (or the value, when
// one is given).
QString tkdrvLocalizedStringForKey(const kit::Bundle& bundle, const QString& key,
                                   const QString& value, const QString& table);

// The name of the printer-specific string table: "Localizable" followed by the PPD's
// TKLocalizableFileIndex; a null QString without a PPD or without that attribute.
QString printerSpecificTableName(const ppd_file_t* ppd);

} // namespace tarvik_pde_m40vextel
