#pragma once

#include "kit/KeyValue.h"
#include "kit/SortDescriptor.h"
#include "kit/ValueRows.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

namespace kit {

// A list of shared items (QObjects or kit::Dictionary objects) with an arranged order and a
// selection, for tables and popups to bind to.
//
// The content may instead be plain value rows (setContentRows): a table of tens of thousands
// then costs a block of values, not an object each. Where an object is asked for (content,
// arrangedObjects, selectedObjects, arrangedObjectAt) a row is given as a kit::Dictionary of its
// values, made on first request and kept, the same object each time, while the row stays; from
// then on the row's values are read from that dictionary. arrangedValue and arrangedRow read the
// rows without making objects. Adding or removing objects turns the rows into their
// dictionaries first.
//
// arrangedObjects is the content sorted stably by the sort descriptors (content order when
// there are none) and is re-arranged after every change made through the controller; call
// rearrangeObjects() after changing a sort key of an item in place.
//
// The selection is a set of indexes into arrangedObjects (ascending). After objects are added,
// removed or re-sorted the selection keeps the same objects where they remain; removed ones
// drop out. With selectsInsertedObjects (the default) newly added objects become the
// selection. With allowsMultipleSelection off a selection of several keeps only the first.
// avoidsEmptySelection is off by default: an emptied selection stays empty; when on, a
// selection that would become empty while objects remain falls on the object nearest to the
// former first selected index.
//
// Sorting reads each item's values once per arranging, keeping for each text its compared form
// (case-folded for a case-insensitive descriptor) in one block, so comparisons neither read
// keys nor fold case.
//
// With a filter key and a non-empty filter text, arrangedObjects holds only the items whose
// text under the filter key contains the filter text without regard to case, in their sorted
// order (a search field's list). The folded texts are read when the content is arranged, so a
// new filter text goes over plain strings already in order and sorts nothing again, and an
// emptied one gives back the sorted order as it was; call
// rearrangeObjects() after changing an item's filtered key in place. Objects added while a
// filter is set show only when they match; removeAllArrangedObjects removes only those shown.
//
// Each change signal fires at most once per operation and only when its value really changed
// (the selected objects can stay the same while their indexes move).
class ArrayController : public QObject {
    Q_OBJECT
    Q_PROPERTY(QList<kit::ObjectRef> content READ content WRITE setContent NOTIFY contentChanged)
    Q_PROPERTY(
        QList<kit::ObjectRef> arrangedObjects READ arrangedObjects NOTIFY arrangedObjectsChanged)
    Q_PROPERTY(QList<int> selectionIndexes READ selectionIndexes WRITE setSelectionIndexes NOTIFY
                   selectionIndexesChanged)
    Q_PROPERTY(int selectionIndex READ selectionIndex WRITE setSelectionIndex NOTIFY
                   selectionIndexesChanged)
    Q_PROPERTY(QList<kit::ObjectRef> selectedObjects READ selectedObjects WRITE setSelectedObjects
                   NOTIFY selectedObjectsChanged)
    Q_PROPERTY(int count READ count NOTIFY arrangedObjectsChanged)
    Q_PROPERTY(bool allowsMultipleSelection READ allowsMultipleSelection WRITE
                   setAllowsMultipleSelection NOTIFY settingsChanged)
    Q_PROPERTY(bool selectsInsertedObjects READ selectsInsertedObjects WRITE
                   setSelectsInsertedObjects NOTIFY settingsChanged)
    Q_PROPERTY(bool avoidsEmptySelection READ avoidsEmptySelection WRITE setAvoidsEmptySelection
                   NOTIFY settingsChanged)
    Q_PROPERTY(QString filterKey READ filterKey WRITE setFilterKey NOTIFY settingsChanged)
    Q_PROPERTY(QString filterText READ filterText WRITE setFilterText NOTIFY filterTextChanged)
    Q_PROPERTY(QString objectClassName READ objectClassName WRITE setObjectClassName NOTIFY
                   settingsChanged)

public:
    explicit ArrayController(QObject* parent = nullptr);
    ~ArrayController() override;

    QList<ObjectRef> content() const;
    // Replaces the content; the selection keeps the objects that remain and selects nothing new.
    void setContent(const QList<ObjectRef>& content);
    // Replaces the content with value rows, as setContent does (null empties it).
    void setContentRows(std::shared_ptr<const ValueRows> rows);
    // The value rows held, or null when the content is objects.
    std::shared_ptr<const ValueRows> contentRows() const;

    QList<ObjectRef> arrangedObjects() const;
    int count() const;
    // Null when the index is out of range.
    ObjectRef arrangedObjectAt(int index) const;
    // Index in arrangedObjects, or -1.
    int indexOfArrangedObject(const QObject* object) const;
    // Every index in arrangedObjects that holds the object.
    QList<int> arrangedIndexesOfObject(const QObject* object) const;
    // The value under the key path of the item at the arranged index (invalid out of range);
    // a value row is read without making its object unless the path goes beyond its keys.
    QVariant arrangedValue(int index, const QString& keyPath) const;
    // The row of contentRows() at the arranged index; -1 out of range or for object content.
    int arrangedRow(int index) const;

    QList<SortDescriptor> sortDescriptors() const;
    void setSortDescriptors(const QList<SortDescriptor>& descriptors);
    void rearrangeObjects();

    // Null objects are ignored.
    void addObject(const ObjectRef& object);
    void addObjects(const QList<ObjectRef>& objects);
    // Removes every occurrence of each object from the content.
    void removeObject(const ObjectRef& object);
    void removeObject(const QObject* object);
    void removeObjects(const QList<ObjectRef>& objects);
    void removeObjectAtArrangedObjectIndex(int index);
    void removeObjectsAtArrangedObjectIndexes(const QList<int>& indexes);
    void removeSelectedObjects();
    // The same as removeObjects(arrangedObjects()).
    void removeAllArrangedObjects();

    QList<int> selectionIndexes() const;
    // Out-of-range indexes are dropped. True when the selection changed.
    bool setSelectionIndexes(const QList<int>& indexes);
    // The first selected index, or -1.
    int selectionIndex() const;
    // -1 clears the selection.
    bool setSelectionIndex(int index);
    bool clearSelection();
    // Selected objects in arranged order.
    QList<ObjectRef> selectedObjects() const;
    // Objects not arranged here are ignored. True when the selection changed.
    bool setSelectedObjects(const QList<ObjectRef>& objects);

    bool allowsMultipleSelection() const;
    void setAllowsMultipleSelection(bool allows);
    bool selectsInsertedObjects() const;
    void setSelectsInsertedObjects(bool selects);
    bool avoidsEmptySelection() const;
    void setAvoidsEmptySelection(bool avoids);

    QString filterKey() const;
    void setFilterKey(const QString& key);
    QString filterText() const;
    // The selection keeps the objects that stay shown.
    void setFilterText(const QString& text);

    // The class name of the items (informational; layouts use it to make new items).
    QString objectClassName() const;
    void setObjectClassName(const QString& name);

signals:
    void contentChanged();
    void arrangedObjectsChanged();
    void selectionIndexesChanged();
    void selectedObjectsChanged();
    void settingsChanged();
    void filterTextChanged();

private:
    struct State;
    struct KeyColumn;
    State captureState() const;
    void announceChangesSince(const State& before);
    qsizetype contentCount() const;
    ObjectRef objectOfRow(int row) const;
    const void* identityOfRow(int row) const;
    const void* identityOfObject(const QObject* object) const;
    std::vector<const void*> identitiesOfRows(const std::vector<int>& rows) const;
    std::vector<const void*> selectedIdentities() const;
    void turnRowsIntoObjects();
    void removeDoomed(const QSet<const QObject*>& doomed);
    void replaceContent(QList<ObjectRef> objects, std::shared_ptr<const ValueRows> rows);
    void arrange();
    void sortContent(std::vector<std::optional<KeyColumn>>& columns);
    struct Ordered;
    static std::vector<Ordered> orderedByLeads(const KeyColumn& first, bool ascending);
    // A column of the texts under the key path for every content row; rows that `read` holds
    // are taken from it.
    KeyColumn readKeyColumn(const QString& keyPath, bool folded, bool forSearch,
                            const KeyColumn* read = nullptr) const;
    int valueOfRowKey(const QString& keyPath) const;
    QVariant valueOfRow(int row, int rowKey, const QString& keyPath) const;
    void applyFilter();
    void selectIdentities(const std::vector<const void*>& wanted, int formerFirstIndex);
    QList<int> normalizedIndexes(const QList<int>& indexes) const;
    void applyEmptySelectionRule(int formerFirstIndex);
    // Stores a selection setting and announces it; false when it was already so.
    bool storeSetting(bool& setting, bool value);

    // The content: objects, or value rows with the objects made of them so far.
    QList<ObjectRef> objects_;
    std::shared_ptr<const ValueRows> rows_;
    mutable std::vector<ObjectRef> rowObjects_;
    mutable QHash<const QObject*, int> rowOfObject_;
    // Content rows in sort order, and those shown (all of them without a filter text).
    std::vector<int> sorted_;
    std::vector<int> arranged_;
    QList<SortDescriptor> descriptors_;
    QList<int> selection_;
    bool multipleSelection_ = true;
    bool selectsInserted_ = true;
    bool avoidsEmpty_ = false;
    QString className_;
    // The folded text of each content row under the filter key (none without a filter key).
    std::unique_ptr<KeyColumn> filterColumn_;
    QString filterKey_;
    QString filterText_;
};

} // namespace kit
