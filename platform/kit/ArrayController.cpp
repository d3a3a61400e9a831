#include "kit/ArrayController.h"

#include <QHash>
#include <QSet>
#include <algorithm>
#include <numeric>
#include <vector>

namespace kit {

namespace {

quint64 unitBitsOf(QStringView text) {
    quint64 bits = 0;
    for (const QChar unit : text) {
        bits |= quint64{1} << (unit.unicode() % 64);
    }
    return bits;
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

// What the change signals compare: the lists by object identity. The lists are shared copies,
// so capturing a list of tens of thousands copies nothing, and an unchanged one compares at once.
struct ArrayController::State {
    QList<ObjectRef> content;
    QList<ObjectRef> arranged;
    QList<int> selection;
    QList<ObjectRef> selected;
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
    selectObjects(selectsInserted_ ? added : before.selected, selectionIndex());
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
    selectObjects(objects, selectionIndex());
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

QString ArrayController::filterKey() const {
    return filterKey_;
}

void ArrayController::setFilterKey(const QString& key) {
    if (key == filterKey_) {
        return;
    }
    filterKey_ = key;
    emit settingsChanged();
    rearrangeObjects();
}

QString ArrayController::filterText() const {
    return filterText_;
}

void ArrayController::setFilterText(const QString& text) {
    if (text == filterText_) {
        return;
    }
    const State before = captureState();
    filterText_ = text;
    applyFilter();
    selectObjects(before.selected, selectionIndex());
    emit filterTextChanged();
    announceChangesSince(before);
}

ArrayController::State ArrayController::captureState() const {
    return State{contentList_, arranged_, selection_, selectedObjects()};
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
    sortContent();
    applyFilter();
}

// Each item's sort values and filter text are read once, not twice per comparison: a list of
// tens of thousands sorts in a few passes over plain values instead of a million key lookups.
void ArrayController::sortContent() {
    const auto count = static_cast<std::size_t>(contentList_.size());
    const auto width = static_cast<std::size_t>(descriptors_.size());
    std::vector<SortValue> values(count * width);
    std::vector<FilterText> texts;
    texts.reserve(filterKey_.isEmpty() ? 0 : count);
    for (std::size_t item = 0; item < count; ++item) {
        const QObject* object = contentList_.at(static_cast<qsizetype>(item)).get();
        const SortValue* filterValue = nullptr;
        for (std::size_t d = 0; d < width; ++d) {
            const SortDescriptor& descriptor = descriptors_.at(static_cast<qsizetype>(d));
            SortValue& value = values[item * width + d];
            value =
                SortValue::of(valueForKeyPath(object, descriptor.key), descriptor.caseInsensitive);
            if (descriptor.key == filterKey_) {
                filterValue = &value;
            }
        }
        if (!filterKey_.isEmpty()) {
            texts.push_back(filterTextOf(object, filterValue));
        }
    }
    const auto before = [&](std::size_t a, std::size_t b) {
        for (std::size_t d = 0; d < width; ++d) {
            const int order = descriptors_.at(static_cast<qsizetype>(d))
                                  .compareValues(values[a * width + d], values[b * width + d]);
            if (order != 0) {
                return order < 0;
            }
        }
        return false;
    };
    // Most comparisons are settled by the first descriptor's packed prefixes, compared here as
    // plain integers (flipped for a descending descriptor); only equal ones compare in full.
    struct Ordered {
        quint64 lead;
        quint64 nextLead;
        std::size_t item;
    };
    bool leadsByPrefix = width > 0;
    bool nextLeads = width > 0;
    for (std::size_t item = 0; leadsByPrefix && item < count; ++item) {
        leadsByPrefix = values[item * width].prefix.has_value();
        nextLeads = nextLeads && values[item * width].nextPrefix.has_value();
    }
    nextLeads = nextLeads && leadsByPrefix;
    const quint64 flip = width > 0 && !descriptors_.first().ascending ? ~quint64{0} : 0;
    std::vector<Ordered> order(count);
    for (std::size_t item = 0; item < count; ++item) {
        order[item] = Ordered{0, 0, item};
        if (leadsByPrefix) {
            const SortValue& first = values[item * width];
            order[item].lead = *first.prefix ^ flip;
            order[item].nextLead = nextLeads ? *first.nextPrefix ^ flip : 0;
        }
    }
    const auto orderedBefore = [&](const Ordered& a, const Ordered& b) {
        if (a.lead != b.lead) {
            return a.lead < b.lead;
        }
        if (a.nextLead != b.nextLead) {
            return a.nextLead < b.nextLead;
        }
        return before(a.item, b.item);
    };
    // Content that is already in order (a filtered copy of an arranged_ list) stays as it is.
    if (width == 0 || std::is_sorted(order.begin(), order.end(), orderedBefore)) {
        sorted_ = contentList_;
        filterTexts_ = std::move(texts);
        return;
    }
    std::stable_sort(order.begin(), order.end(), orderedBefore);
    sorted_.clear();
    sorted_.reserve(contentList_.size());
    filterTexts_.clear();
    filterTexts_.reserve(texts.size());
    for (const Ordered& ordered : order) {
        const std::size_t item = ordered.item;
        sorted_.append(contentList_.at(static_cast<qsizetype>(item)));
        if (!texts.empty()) {
            filterTexts_.push_back(std::move(texts[item]));
        }
    }
}

ArrayController::FilterText ArrayController::filterTextOf(const QObject* object,
                                                          const SortValue* sortValue) const {
    FilterText filterText;
    if (sortValue != nullptr && sortValue->comparesAsText) {
        filterText.text = sortValue->text;
        filterText.folded = sortValue->folded;
    } else {
        filterText.text = sortValue != nullptr ? sortValue->value.toString()
                                               : valueForKeyPath(object, filterKey_).toString();
    }
    if (!filterText.folded) {
        filterText.folded = foldedForComparison(filterText.text);
    }
    if (filterText.folded) {
        filterText.unitBits = unitBitsOf(*filterText.folded);
    }
    return filterText;
}

void ArrayController::applyFilter() {
    if (filterKey_.isEmpty() || filterText_.isEmpty()) {
        arranged_ = sorted_;
        return;
    }
    // A folded text holds a folded search text exactly where the case-insensitive search finds
    // it; a text that cannot be folded is searched as it is.
    const std::optional<QString> foldedSearch = foldedForComparison(filterText_);
    const quint64 searchBits = foldedSearch ? unitBitsOf(*foldedSearch) : 0;
    arranged_.clear();
    for (qsizetype i = 0; i < sorted_.size(); ++i) {
        const FilterText& text = filterTexts_[static_cast<std::size_t>(i)];
        if ((text.unitBits & searchBits) != searchBits) {
            continue;
        }
        const bool found = foldedSearch && text.folded
                               ? text.folded->contains(*foldedSearch, Qt::CaseSensitive)
                               : text.text.contains(filterText_, Qt::CaseInsensitive);
        if (found) {
            arranged_.append(sorted_.at(i));
        }
    }
}

// Selects the arranged positions of the wanted objects; an object wanted twice takes two of
// its occurrences.
void ArrayController::selectObjects(const QList<ObjectRef>& wanted, int formerFirstIndex) {
    if (wanted.isEmpty()) {
        selection_.clear();
        applyEmptySelectionRule(formerFirstIndex);
        return;
    }
    QHash<const QObject*, int> remaining;
    for (const ObjectRef& object : wanted) {
        ++remaining[object.get()];
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
