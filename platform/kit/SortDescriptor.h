#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QVariant>
#include <optional>

namespace kit {

// The text with each UTF-16 unit case-folded as Qt's case-insensitive comparisons and searches
// fold it, so that comparing or searching folded texts exactly gives the case-insensitive
// result, without folding again on every comparison. Absent for a text with surrogates, which
// those fold by code point.
std::optional<QString> foldedForComparison(const QString& text);
// Whether a sort compares the value as text: a valid value that is neither a number nor a time.
bool sortsAsText(const QVariant& value);
// One unit of such a text: absent for a surrogate or a unit that folds outside the BMP. Inline,
// as it runs for every unit of a large list's texts.
inline std::optional<char16_t> foldedUnitForComparison(QChar unit) {
    if (unit.isSurrogate()) {
        return std::nullopt;
    }
    const char32_t folded = QChar::toCaseFolded(char32_t{unit.unicode()});
    if (folded > 0xFFFF) {
        return std::nullopt;
    }
    return static_cast<char16_t>(folded);
}

// A value read once for sorting, with its text kept beside it, so that a sort of many items
// compares them without converting either value again.
struct SortValue {
    QVariant value;
    // Set only when the value compares by its text whatever it meets (neither missing, a
    // number nor a time); for a case-insensitive descriptor also folded where it can be.
    QString text;
    std::optional<QString> folded;
    bool comparesAsText = false;
    // The first four UTF-16 units of the text the descriptor compares (the folded one where
    // there is one), packed so that integers order as the units do, a short text padded with
    // zeros: two values whose prefixes differ are ordered by them without a text compare.
    // Absent where that compare is not of UTF-16 units (case-insensitive without a folded text)
    // or a surrogate is among the four.
    std::optional<quint64> prefix;
    // The same of the next four units: of two equal prefixes, these order the values if they
    // differ.
    std::optional<quint64> nextPrefix;

    static SortValue of(QVariant value, bool caseInsensitive);
};

// One sort key of an array controller: `key` is read from each item by key-value coding.
struct SortDescriptor {
    QString key;
    bool ascending = true;
    // Strings compare without regard to case (a case-insensitive compare); otherwise exactly.
    bool caseInsensitive = false;

    // Negative, zero or positive as `a` sorts before, with or after `b` under this descriptor
    // (the direction already applied).
    int compareObjects(const QObject* a, const QObject* b) const;
    int compareValues(const QVariant& a, const QVariant& b) const;
    // The same order as compareValues of the values read.
    int compareValues(const SortValue& a, const SortValue& b) const;

    // The order of two plain values, ascending: an invalid or null value first, numbers by
    // value, dates and times by time, everything else by its text.
    static int compare(const QVariant& a, const QVariant& b, bool caseInsensitive);

    bool operator==(const SortDescriptor&) const = default;
};

// The first descriptor that tells the two apart decides; zero when none does.
int compareByDescriptors(const QList<SortDescriptor>& descriptors, const QObject* a,
                         const QObject* b);

} // namespace kit
