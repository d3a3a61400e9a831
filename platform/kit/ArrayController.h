#pragma once

#include "kit/KeyValue.h"
#include "kit/SortDescriptor.h"

#include <QList>
#include <QObject>
#include <QString>
#include <optional>
#include <vector>

namespace kit {

// A list of shared items (QObjects or kit::Dictionary objects) with an arranged order and a
// selection, for tables and popups to bind to.
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
// With a filter key and a non-empty filter text, arrangedObjects holds only the items whose
// text under the filter key contains the filter text without regard to case, in their sorted
// order (a search field's list). The texts are read when the content is arranged, so a new
// filter text goes over plain strings already in order and sorts nothing again; call
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

    QList<ObjectRef> arrangedObjects() const;
    int count() const;
    // Null when the index is out of range.
    ObjectRef arrangedObjectAt(int index) const;
    // Index in arrangedObjects, or -1.
    int indexOfArrangedObject(const QObject* object) const;

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
    State captureState() const;
    void announceChangesSince(const State& before);
    void arrange();
    void sortContent();
    void applyFilter();
    struct FilterText;
    FilterText filterTextOf(const QObject* object, const SortValue* sortValue) const;
    void selectObjects(const QList<ObjectRef>& wanted, int formerFirstIndex);
    QList<int> normalizedIndexes(const QList<int>& indexes) const;
    void applyEmptySelectionRule(int formerFirstIndex);
    // Stores a selection setting and announces it; false when it was already so.
    bool storeSetting(bool& setting, bool value);

    QList<ObjectRef> contentList_;
    QList<ObjectRef> arranged_;
    QList<SortDescriptor> descriptors_;
    QList<int> selection_;
    bool multipleSelection_ = true;
    bool selectsInserted_ = true;
    bool avoidsEmpty_ = false;
    QString className_;
    // The whole content in sort order, and the text of each under the filter key (none when
    // there is no filter key): arrangedObjects is drawn from them.
    struct FilterText {
        QString text;
        // For the search without regard to case; absent when the text cannot be folded.
        std::optional<QString> folded;
        // Which units the folded text holds, one bit per unit value modulo 64: a search text
        // with a unit whose bit is clear cannot be in it, so most texts are passed over
        // without a search.
        quint64 unitBits = ~quint64{0};
    };
    QList<ObjectRef> sorted_;
    std::vector<FilterText> filterTexts_;
    QString filterKey_;
    QString filterText_;
};

} // namespace kit
