#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QVariant>

namespace kit {

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

    // The order of two plain values, ascending: an invalid or null value first, numbers by
    // value, dates and times by time, everything else by its text.
    static int compare(const QVariant& a, const QVariant& b, bool caseInsensitive);

    bool operator==(const SortDescriptor&) const = default;
};

// The first descriptor that tells the two apart decides; zero when none does.
int compareByDescriptors(const QList<SortDescriptor>& descriptors, const QObject* a,
                         const QObject* b);

} // namespace kit
