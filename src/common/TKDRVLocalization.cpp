#include "common/TKDRVLocalization.h"

#include "common/UtilityFunctions.h"
#include "kit/Bundle.h"

namespace tarvik_pde_m40vextel {

QString tkdrvLocalizedStringForKey(const kit::Bundle& bundle, const QString& key,
                                   const QString& value, const QString& table) {
    if (table.isEmpty() || key.isEmpty()) {
        return bundle.localizedStringForKey(key, value, QString());
    }
    // Language before table: the family's text in the user's language beats the printer's text
    // in a language further down the user's list (or in the development language).
    for (const QString& localization : bundle.preferredLocalizations()) {
        const QString printerText = bundle.stringForKeyInLocalization(key, table, localization);
        // A printer-specific entry that keeps the key as it is defers to the family's text.
        if (!printerText.isNull() && printerText != key) {
            return printerText;
        }
        const QString familyText = bundle.stringForKeyInLocalization(key, QString(), localization);
        if (!familyText.isNull()) {
            return familyText;
        }
    }
    return value.isEmpty() ? key : value;
}

QString printerSpecificTableName(const ppd_file_t* ppd) {
    if (ppd == nullptr) {
        return {};
    }
    const std::optional<QString> index = CopyPPDAttribute(ppd, "TKLocalizableFileIndex");
    if (!index) {
        return {};
    }
    return QStringLiteral("Localizable") + *index;
}

} // namespace tarvik_pde_m40vextel
