#include "kit/SortDescriptor.h"

#include "kit/KeyValue.h"

#include <QDateTime>

namespace kit {

namespace {

bool isNumber(const QVariant& value) {
    switch (value.metaType().id()) {
    case QMetaType::Bool:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Float:
    case QMetaType::Double:
        return true;
    default:
        return false;
    }
}

bool isTime(const QVariant& value) {
    const int id = value.metaType().id();
    return id == QMetaType::QDateTime || id == QMetaType::QDate || id == QMetaType::QTime;
}

int signOf(int order) {
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

int sign(double difference) {
    return difference < 0 ? -1 : (difference > 0 ? 1 : 0);
}

int compareNumbers(const QVariant& a, const QVariant& b) {
    const bool integral =
        a.metaType().id() != QMetaType::Double && a.metaType().id() != QMetaType::Float &&
        b.metaType().id() != QMetaType::Double && b.metaType().id() != QMetaType::Float;
    if (integral && a.metaType().id() != QMetaType::ULongLong &&
        b.metaType().id() != QMetaType::ULongLong) {
        const qlonglong x = a.toLongLong();
        const qlonglong y = b.toLongLong();
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    return sign(a.toDouble() - b.toDouble());
}

int compareTimes(const QVariant& a, const QVariant& b) {
    const QPartialOrdering order = QVariant::compare(a, b);
    if (order == QPartialOrdering::Less) {
        return -1;
    }
    return order == QPartialOrdering::Greater ? 1 : 0;
}

} // namespace

int SortDescriptor::compare(const QVariant& a, const QVariant& b, bool caseInsensitive) {
    const bool aMissing = !a.isValid();
    const bool bMissing = !b.isValid();
    if (aMissing || bMissing) {
        return aMissing == bMissing ? 0 : (aMissing ? -1 : 1);
    }
    if (isNumber(a) && isNumber(b)) {
        return compareNumbers(a, b);
    }
    if (isTime(a) && a.metaType() == b.metaType()) {
        return compareTimes(a, b);
    }
    return signOf(QString::compare(a.toString(), b.toString(),
                                   caseInsensitive ? Qt::CaseInsensitive : Qt::CaseSensitive));
}

// A text that folding leaves as it is (digits, lower case) is shared, not copied.
std::optional<QString> foldedForComparison(const QString& text) {
    QString folded = text;
    QChar* units = nullptr;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const std::optional<char16_t> unit = foldedUnitForComparison(text.at(i));
        if (!unit) {
            return std::nullopt;
        }
        if (*unit != text.at(i).unicode()) {
            if (units == nullptr) {
                units = folded.data();
            }
            units[i] = QChar(*unit);
        }
    }
    return folded;
}

namespace {

// Absent when a surrogate is among the units: texts compare as code points there, not as units.
std::optional<quint64> prefixOf(const QString& text, qsizetype from) {
    quint64 prefix = 0;
    for (qsizetype i = from; i < from + 4; ++i) {
        const QChar unit = i < text.size() ? text.at(i) : QChar(0);
        if (unit.isSurrogate()) {
            return std::nullopt;
        }
        prefix = (prefix << 16) | unit.unicode();
    }
    return prefix;
}

} // namespace

bool sortsAsText(const QVariant& value) {
    return value.isValid() && !isNumber(value) && !isTime(value);
}

SortValue SortValue::of(QVariant value, bool caseInsensitive) {
    SortValue read{std::move(value), {}, std::nullopt, false, std::nullopt, std::nullopt};
    read.comparesAsText = sortsAsText(read.value);
    if (read.comparesAsText) {
        read.text = read.value.toString();
        if (caseInsensitive) {
            read.folded = foldedForComparison(read.text);
        }
        if (!caseInsensitive || read.folded) {
            const QString& compared = caseInsensitive ? *read.folded : read.text;
            read.prefix = prefixOf(compared, 0);
            if (read.prefix) {
                read.nextPrefix = prefixOf(compared, 4);
            }
        }
    }
    return read;
}

int SortDescriptor::compareValues(const QVariant& a, const QVariant& b) const {
    const int order = compare(a, b, caseInsensitive);
    return ascending ? order : -order;
}

int SortDescriptor::compareValues(const SortValue& a, const SortValue& b) const {
    if (!a.comparesAsText || !b.comparesAsText) {
        return compareValues(a.value, b.value);
    }
    int order = 0;
    if (a.prefix && b.prefix && *a.prefix != *b.prefix) {
        order = *a.prefix < *b.prefix ? -1 : 1;
    } else if (a.prefix && b.prefix && a.nextPrefix && b.nextPrefix &&
               *a.nextPrefix != *b.nextPrefix) {
        order = *a.nextPrefix < *b.nextPrefix ? -1 : 1;
    } else if (!caseInsensitive) {
        order = signOf(QString::compare(a.text, b.text, Qt::CaseSensitive));
    } else if (a.folded && b.folded) {
        order = signOf(QString::compare(*a.folded, *b.folded, Qt::CaseSensitive));
    } else {
        order = signOf(QString::compare(a.text, b.text, Qt::CaseInsensitive));
    }
    return ascending ? order : -order;
}

int SortDescriptor::compareObjects(const QObject* a, const QObject* b) const {
    return compareValues(valueForKeyPath(a, key), valueForKeyPath(b, key));
}

int compareByDescriptors(const QList<SortDescriptor>& descriptors, const QObject* a,
                         const QObject* b) {
    for (const SortDescriptor& descriptor : descriptors) {
        const int order = descriptor.compareObjects(a, b);
        if (order != 0) {
            return order;
        }
    }
    return 0;
}

} // namespace kit
