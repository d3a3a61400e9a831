#include "EditorSettings.h"

#include <QSettings>

namespace vextel_addressbook {

namespace {

const QString kInternationalPrefixKey = QStringLiteral("import/internationalPrefix");

QSettings settings() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("vextel"),
                     QStringLiteral("vextel-addressbook"));
}

} // namespace

QString EditorSettings::internationalPrefix() {
    return settings()
        .value(kInternationalPrefixKey, QLatin1String(kDefaultInternationalPrefix))
        .toString();
}

void EditorSettings::setInternationalPrefix(const QString& prefix) {
    settings().setValue(kInternationalPrefixKey, prefix);
}

} // namespace vextel_addressbook
