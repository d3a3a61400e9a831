#include "kit/ArrayController.h"

#include <QHash>
#include <QSet>
#include <algorithm>
#include <numeric>
#include <vector>

namespace kit {

namespace {

QList<QObject*> pointersOf(const QList<ObjectRef>& objects) {
    QList<QObject*> pointers;
    pointers.reserve(objects.size());
    for (const ObjectRef& object : objects) {
        pointers.append(object.get());
    }
    return pointers;
}

QList<ObjectRef> withoutNulls(const QList<ObjectRef>& objects) {
    QList<ObjectRef> result;
    for (const ObjectRef& object : objects) {
        if (object) {
            result.append(object);
        }
    }
    return result;
}

} // namespace

// What the change signals compare: the lists by object identity.
struct ArrayController::State {
    QList<QObject*> content;
    QList<QObject*> arranged;
    QList<int> selection;
    QList<QObject*> selected;
};

ArrayController::ArrayController(QObject* parent) : QObject(parent) {}

ArrayController::~ArrayController() = default;

QList<ObjectRef> ArrayController::content() const {
    return contentList_;
}

void ArrayController::setContent(const QList<ObjectRef>& content) {
    const State before = captureState();
    contentList_ = withoutNulls(content);
    arrange();
    selectObjects(before.selected, selectionIndex());
    announceChangesSince(before);
}

QList<ObjectRef> ArrayController::arrangedObjects() const {
    return arranged_;
}

int ArrayController::count() const {
    return static_cast<int>(arranged_.size());
}

ObjectRef ArrayController::arrangedObjectAt(int index) const {
    return index >= 0 && index < arranged_.size() ? arranged_.at(index) : nullptr;
}

int ArrayController::indexOfArrangedObject(const QObject* object) const {
    for (int i = 0; i < arranged_.size(); ++i) {
        if (arranged_.at(i).get() == object) {
            return i;
        }
    }
    return -1;
}

QList<SortDescriptor> ArrayController::sortDescriptors() const {
    return descriptors_;
}

void ArrayController::setSortDescriptors(const QList<SortDescriptor>& newDescriptors) {
    descriptors_ = newDescriptors;
    rearrangeObjects();
}

void ArrayController::rearrangeObjects() {
    const State before = captureState();
    arrange();
    selectObjects(before.selected, selectionIndex());
    announceChangesSince(before);
}

void ArrayController::addObject(const ObjectRef& object) {
    addObjects({object});
}

void ArrayController::addObjects(const QList<ObjectRef>& objects) {
    const QList<ObjectRef> added = withoutNulls(objects);
    if (added.isEmpty()) {
        return;
    }
    const State before = captureState();
    contentList_.append(added);
    arrange();
    selectObjects(selectsInserted_ ? pointersOf(added) : before.selected, selectionIndex());
    announceChangesSince(before);
}

void ArrayController::removeObject(const ObjectRef& object) {
    removeObject(object.get());
}

void ArrayController::removeObject(const QObject* object) {
    if (!object) {
        return;
    }
    for (const ObjectRef& candidate : contentList_) {
        if (candidate.get() == object) {
            removeObjects({candidate});
            return;
        }
    }
}

void ArrayController::removeObjects(const QList<ObjectRef>& objects) {
    QSet<const QObject*> doomed;
    for (const ObjectRef& object : objects) {
        doomed.insert(object.get());
    }
    const State before = captureState();
    const qsizetype removed = contentList_.removeIf(
        [&](const ObjectRef& object) { return doomed.contains(object.get()); });
    if (removed == 0) {
        return;
    }
    arrange();
    selectObjects(before.selected, selectionIndex());
    announceChangesSince(before);
}

void ArrayController::removeObjectAtArrangedObjectIndex(int index) {
    removeObjectsAtArrangedObjectIndexes({index});
}

void ArrayController::removeObjectsAtArrangedObjectIndexes(const QList<int>& indexes) {
    QList<ObjectRef> objects;
    for (int index : indexes) {
        if (ObjectRef object = arrangedObjectAt(index)) {
            objects.append(object);
        }
    }
    removeObjects(objects);
}

void ArrayController::removeSelectedObjects() {
    removeObjects(selectedObjects());
}

void ArrayController::removeAllArrangedObjects() {
    removeObjects(arrangedObjects());
}

QList<int> ArrayController::selectionIndexes() const {
    return selection_;
}

bool ArrayController::setSelectionIndexes(const QList<int>& indexes) {
    const State before = captureState();
    const int formerFirst = selectionIndex();
    selection_ = normalizedIndexes(indexes);
    applyEmptySelectionRule(formerFirst);
    announceChangesSince(before);
    return selection_ != before.selection;
}

int ArrayController::selectionIndex() const {
    return selection_.isEmpty() ? -1 : selection_.first();
}

bool ArrayController::setSelectionIndex(int index) {
    return setSelectionIndexes(index < 0 ? QList<int>() : QList<int>{index});
}

bool ArrayController::clearSelection() {
    return setSelectionIndexes({});
}

QList<ObjectRef> ArrayController::selectedObjects() const {
    QList<ObjectRef> objects;
    for (int index : selection_) {
        objects.append(arranged_.at(index));
    }
    return objects;
}

bool ArrayController::setSelectedObjects(const QList<ObjectRef>& objects) {
    const State before = captureState();
    selectObjects(pointersOf(objects), selectionIndex());
    announceChangesSince(before);
    return selection_ != before.selection;
}

bool ArrayController::allowsMultipleSelection() const {
    return multipleSelection_;
}

void ArrayController::setAllowsMultipleSelection(bool allows) {
    if (storeSetting(multipleSelection_, allows)) {
        setSelectionIndexes(selection_);
    }
}

bool ArrayController::selectsInsertedObjects() const {
    return selectsInserted_;
}

void ArrayController::setSelectsInsertedObjects(bool selects) {
    storeSetting(selectsInserted_, selects);
}

bool ArrayController::avoidsEmptySelection() const {
    return avoidsEmpty_;
}

void ArrayController::setAvoidsEmptySelection(bool avoids) {
    if (storeSetting(avoidsEmpty_, avoids)) {
        setSelectionIndexes(selection_);
    }
}

bool ArrayController::storeSetting(bool& setting, bool value) {
    if (setting == value) {
        return false;
    }
    setting = value;
    emit settingsChanged();
    return true;
}

QString ArrayController::objectClassName() const {
    return className_;
}

void ArrayController::setObjectClassName(const QString& name) {
    if (name == className_) {
        return;
    }
    className_ = name;
    emit settingsChanged();
}

ArrayController::State ArrayController::captureState() const {
    return State{pointersOf(contentList_), pointersOf(arranged_), selection_,
                 pointersOf(selectedObjects())};
}

// Every value is settled before the first signal, so an observer that reads any of them
// sees the new state.
void ArrayController::announceChangesSince(const State& before) {
    const State after = captureState();
    if (after.content != before.content) {
        emit contentChanged();
    }
    if (after.arranged != before.arranged) {
        emit arrangedObjectsChanged();
    }
    if (after.selection != before.selection) {
        emit selectionIndexesChanged();
    }
    if (after.selected != before.selected) {
        emit selectedObjectsChanged();
    }
}

void ArrayController::arrange() {
    arranged_ = contentList_;
    const auto count = static_cast<std::size_t>(arranged_.size());
    if (descriptors_.isEmpty() || count < 2) {
        return;
    }
    // Each item's sort values are read once, not twice per comparison: a list of tens of
    // thousands sorts in a few passes over the values instead of a million key lookups.
    const auto width = static_cast<std::size_t>(descriptors_.size());
    std::vector<QVariant> values(count * width);
    for (std::size_t item = 0; item < count; ++item) {
        for (std::size_t d = 0; d < width; ++d) {
            values[item * width + d] =
                valueForKeyPath(arranged_.at(static_cast<qsizetype>(item)).get(),
                                descriptors_.at(qsizetype(d)).key);
        }
    }
    const auto before = [&](std::size_t a, std::size_t b) {
        for (std::size_t d = 0; d < width; ++d) {
            const int order = descriptors_.at(qsizetype(d))
                                  .compareValues(values[a * width + d], values[b * width + d]);
            if (order != 0) {
                return order < 0;
            }
        }
        return false;
    };
    std::vector<std::size_t> order(count);
    std::iota(order.begin(), order.end(), 0);
    // Content that is already in order (a filtered copy of an arranged_ list) stays as it is.
    if (std::is_sorted(order.begin(), order.end(), before)) {
        return;
    }
    std::stable_sort(order.begin(), order.end(), before);
    QList<ObjectRef> sorted;
    sorted.reserve(arranged_.size());
    for (std::size_t item : order) {
        sorted.append(arranged_.at(static_cast<qsizetype>(item)));
    }
    arranged_ = std::move(sorted);
}

// Selects the arranged positions of the wanted objects; an object wanted twice takes two of
// its occurrences.
void ArrayController::selectObjects(const QList<QObject*>& wanted, int formerFirstIndex) {
    QHash<const QObject*, int> remaining;
    for (const QObject* object : wanted) {
        ++remaining[object];
    }
    QList<int> indexes;
    for (int i = 0; i < arranged_.size(); ++i) {
        auto found = remaining.find(arranged_.at(i).get());
        if (found != remaining.end() && found.value() > 0) {
            --found.value();
            indexes.append(i);
        }
    }
    selection_ = normalizedIndexes(indexes);
    applyEmptySelectionRule(formerFirstIndex);
}

QList<int> ArrayController::normalizedIndexes(const QList<int>& indexes) const {
    QList<int> result;
    for (int index : indexes) {
        if (index >= 0 && index < arranged_.size()) {
            result.append(index);
        }
    }
    std::sort(result.begin(), result.end());
    result.erase(std::unique(result.begin(), result.end()), result.end());
    if (!multipleSelection_ && result.size() > 1) {
        result.resize(1);
    }
    return result;
}

void ArrayController::applyEmptySelectionRule(int formerFirstIndex) {
    if (!avoidsEmpty_ || !selection_.isEmpty() || arranged_.isEmpty()) {
        return;
    }
    selection_ = {std::clamp(formerFirstIndex, 0, static_cast<int>(arranged_.size()) - 1)};
}

} // namespace kit
