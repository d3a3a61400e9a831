#include "kit/FileNameText.h"

#include "kit/SystemLog.h"

#include <QByteArray>
#include <QUtf8StringView>

namespace kit {

std::optional<QString> fileNameText(const char* name, const char* who, const char* what) {
    const QByteArray bytes(name);
    if (QUtf8StringView(bytes).isValidUtf8()) {
        return QString::fromUtf8(bytes);
    }
    SystemLog::log(QStringLiteral("%1: %2 %3 is not UTF-8; left out")
                       .arg(QLatin1String(who), QLatin1String(what),
                            QString::fromLatin1(bytes.toPercentEncoding("/"))));
    return std::nullopt;
}

} // namespace kit
