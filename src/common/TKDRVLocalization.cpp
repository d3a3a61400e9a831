#include "common/TKDRVLocalization.h"

#include "common/UtilityFunctions.h"
#include "kit/Bundle.h"

namespace tarvik_pde_m40vextel {

QString tkdrvLocalizedStringForKey(const kit::Bundle& bundle, const QString& key,
                                   const QString& value, const QString& table) {
    const QString found = bundle.localizedStringForKey(key, value, table);
    if (table.isEmpty()) {
        return found;
    }
    if (found != key) {
        return found;
    }
    // A printer-specific entry that keeps the key as it is defers to the family's translation.
    return bundle.localizedStringForKey(key, value, QString());
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
