#include "UtilityFunctions.h"
#include "UtilityFunctionsSupport.h"
#include "Utils.h"
#include "help/HelpCenter.h"
#include "kit/Bundle.h"

#include <QVariant>

namespace tarvik_pde_m40vextel {

namespace {

using utility_detail::attributeValueAsASCII;

constexpr const char* kHelpBookNameKey = "CFBundleHelpBookName";

std::optional<QString> helpBookName(const kit::Bundle& bundle) {
    const QVariant name = bundle.objectForInfoDictionaryKey(QLatin1String(kHelpBookNameKey));
    if (name.typeId() != QMetaType::QString) {
        return std::nullopt;
    }
    return name.toString();
}

void openHelpPage(const QString& bookName, const QString& pagePath,
                  const std::optional<QString>& anchor) {
    help::gotoPage(bookName, pagePath, anchor.value_or(QString()));
}

} // namespace

void RegisterHelpBook(const std::shared_ptr<kit::Bundle>& bundle) {
    if (!bundle) {
        return;
    }
    help::registerBook(bundle->bundlePath());
}

void GotoHelpPage(const std::shared_ptr<kit::Bundle>& bundle, const QString& pagePath,
                  const std::optional<QString>& anchor) {
    if (!bundle) {
        return;
    }
    if (const std::optional<QString> bookName = helpBookName(*bundle)) {
        openHelpPage(*bookName, pagePath, anchor);
    }
}

void GotoHelpPage2_105(const ppd_file_t* ppd, const char* attributeName,
                       const std::shared_ptr<kit::Bundle>& bundle, const QString& pagePath,
                       const std::optional<QString>& anchor) {
    if (!bundle) {
        return;
    }
    if (const std::optional<QString> key = attributeValueAsASCII(ppd, attributeName)) {
        const QVariant bookName = bundle->objectForInfoDictionaryKey(*key);
        if (bookName.isValid()) {
            if (bookName.typeId() == QMetaType::QString) {
                openHelpPage(bookName.toString(), pagePath, anchor);
            }
            return;
        }
    }
    const QVariant name = bundle->objectForInfoDictionaryKey(QLatin1String(kHelpBookNameKey));
    if (!name.isValid()) {
        return;
    }
    QVariant bookName = name;
    if (name.typeId() == QMetaType::QString) {
        const QVariant named = bundle->objectForInfoDictionaryKey(name.toString());
        if (named.isValid()) {
            bookName = named;
        }
    }
    if (bookName.typeId() == QMetaType::QString) {
        openHelpPage(bookName.toString(), pagePath, anchor);
    }
}

void GotoHelpPage2_106(const ppd_file_t* ppd, const char* attributeName,
                       const std::shared_ptr<kit::Bundle>& bundle, const QString& folder,
                       const std::optional<QString>& pageName,
                       const std::optional<QString>& anchor) {
    if (!bundle || !pageName) {
        return;
    }
    const ppd_attr_t* attribute = ppdFindAttr_ALT(ppd, attributeName);
    const QString pagePath =
        attribute != nullptr && attribute->value != nullptr && attribute->value[0] != '\0'
            ? QStringLiteral("%1/%2").arg(QString::fromUtf8(attribute->value), *pageName)
            : QStringLiteral("%1/%2").arg(folder, *pageName);
    if (const std::optional<QString> bookName = helpBookName(*bundle)) {
        openHelpPage(*bookName, pagePath, anchor);
    }
}

} // namespace tarvik_pde_m40vextel
