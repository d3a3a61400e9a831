#include "kit/ArrayController.h"

#include <QSet>
#include <algorithm>
#include <limits>
#include <utility>

namespace kit {

namespace {

int signOf(int order) {
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

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

// What the change signals compare: the content, and the arranged and selected items by
// identity (an object, or a value row). The content is held so that no identity is reused
// while the state is kept.
struct ArrayController::State {
    QList<ObjectRef> objects;
    std::shared_ptr<const ValueRows> rows;
    std::vector<const void*> arranged;
    QList<int> selection;
    std::vector<const void*> selected;
};

// The texts of one key for every content row, in one block: for a sort, the units the
// descriptor compares; for a search, the folded text. A row whose text cannot be held so (no
// text, or one that cannot be folded) is compared or searched from its value instead.
struct ArrayController::KeyColumn {
    std::vector<char16_t> units;
    std::vector<quint32> starts;
    std::vector<quint32> lengths;
    // Whether the row's units stand for its value: it compares as text and could be folded.
    std::vector<bool> held;
    // For a search: the units present, one bit per unit value modulo 64.
    std::vector<quint64> unitBits;

    QStringView at(std::size_t row) const {
        return {units.data() + starts[row], static_cast<qsizetype>(lengths[row])};
    }
};

ArrayController::ArrayController(QObject* parent) : QObject(parent) {}

ArrayController::~ArrayController() = default;

// ---- Content

qsizetype ArrayController::contentCount() const {
    return rows_ ? rows_->count() : objects_.size();
}

ObjectRef ArrayController::objectOfRow(int row) const {
    if (!rows_) {
        return objects_.at(row);
    }
    if (rowObjects_.size() <= static_cast<std::size_t>(row)) {
        rowObjects_.resize(static_cast<std::size_t>(rows_->count()));
    }
    ObjectRef& made = rowObjects_[static_cast<std::size_t>(row)];
    if (!made) {
        made = rows_->makeObject(row);
        rowOfObject_.insert(made.get(), row);
    }
    return made;
}

const void* ArrayController::identityOfRow(int row) const {
    return rows_ ? rows_->rowIdentity(row) : objects_.at(row).get();
}

// An object not made of a value row stands for itself, and so is found nowhere among rows.
const void* ArrayController::identityOfObject(const QObject* object) const {
    if (rows_) {
        const auto found = rowOfObject_.constFind(object);
        if (found != rowOfObject_.constEnd()) {
            return rows_->rowIdentity(*found);
        }
    }
    return object;
}

std::vector<const void*> ArrayController::identitiesOfRows(const std::vector<int>& rows) const {
    std::vector<const void*> identities;
    identities.reserve(rows.size());
    for (int row : rows) {
        identities.push_back(identityOfRow(row));
    }
    return identities;
}

std::vector<const void*> ArrayController::selectedIdentities() const {
    std::vector<const void*> identities;
    identities.reserve(static_cast<std::size_t>(selection_.size()));
    for (int index : selection_) {
        identities.push_back(identityOfRow(arranged_[static_cast<std::size_t>(index)]));
    }
    return identities;
}

// The rows become the objects made of them, in the same places: the order, the filter texts
// and the selection stay as they are.
void ArrayController::turnRowsIntoObjects() {
    if (!rows_) {
        return;
    }
    QList<ObjectRef> objects;
    objects.reserve(rows_->count());
    for (int row = 0; row < rows_->count(); ++row) {
        objects.append(objectOfRow(row));
    }
    objects_ = std::move(objects);
    rows_.reset();
    rowObjects_ = {};
    rowOfObject_.clear();
}

void ArrayController::replaceContent(QList<ObjectRef> objects,
                                     std::shared_ptr<const ValueRows> rows) {
    objects_ = std::move(objects);
    rows_ = std::move(rows);
    rowObjects_ = {};
    rowOfObject_.clear();
}

QList<ObjectRef> ArrayController::content() const {
    if (!rows_) {
        return objects_;
    }
    QList<ObjectRef> objects;
    objects.reserve(rows_->count());
    for (int row = 0; row < rows_->count(); ++row) {
        objects.append(objectOfRow(row));
    }
    return objects;
}

void ArrayController::setContent(const QList<ObjectRef>& content) {
    const State before = captureState();
    replaceContent(withoutNulls(content), nullptr);
    arrange();
    selectIdentities(before.selected, selectionIndex());
    announceChangesSince(before);
}

void ArrayController::setContentRows(std::shared_ptr<const ValueRows> rows) {
    const State before = captureState();
    if (rows && rows->count() == 0) {
        rows.reset();
    }
    // The same rows again keep the objects made of them.
    if (rows != rows_ || !rows) {
        replaceContent({}, std::move(rows));
    }
    arrange();
    selectIdentities(before.selected, selectionIndex());
    announceChangesSince(before);
}

std::shared_ptr<const ValueRows> ArrayController::contentRows() const {
    return rows_;
}

QList<ObjectRef> ArrayController::arrangedObjects() const {
    QList<ObjectRef> objects;
    objects.reserve(static_cast<qsizetype>(arranged_.size()));
    for (int row : arranged_) {
        objects.append(objectOfRow(row));
    }
    return objects;
}

int ArrayController::count() const {
    return static_cast<int>(arranged_.size());
}

ObjectRef ArrayController::arrangedObjectAt(int index) const {
    return index >= 0 && index < count() ? objectOfRow(arranged_[static_cast<std::size_t>(index)])
                                         : nullptr;
}

int ArrayController::indexOfArrangedObject(const QObject* object) const {
    const QList<int> indexes = arrangedIndexesOfObject(object);
    return indexes.isEmpty() ? -1 : indexes.first();
}

QList<int> ArrayController::arrangedIndexesOfObject(const QObject* object) const {
    QList<int> indexes;
    if (object == nullptr) {
        return indexes;
    }
    const void* identity = identityOfObject(object);
    for (int i = 0; i < count(); ++i) {
        if (identityOfRow(arranged_[static_cast<std::size_t>(i)]) == identity) {
            indexes.append(i);
        }
    }
    return indexes;
}

QVariant ArrayController::arrangedValue(int index, const QString& keyPath) const {
    return index >= 0 && index < count() ? valueOfRow(arranged_[static_cast<std::size_t>(index)],
                                                      valueOfRowKey(keyPath), keyPath)
                                         : QVariant();
}

int ArrayController::valueOfRowKey(const QString& keyPath) const {
    return rows_ ? rows_->keyIndex(keyPath) : -1;
}

// A value row is read from its own values until an object is made of it, and by key path
// beyond its keys.
QVariant ArrayController::valueOfRow(int row, int rowKey, const QString& keyPath) const {
    if (!rows_) {
        return valueForKeyPath(objects_.at(row).get(), keyPath);
    }
    const bool made = static_cast<std::size_t>(row) < rowObjects_.size() &&
                      rowObjects_[static_cast<std::size_t>(row)];
    if (!made && (rowKey >= 0 || !keyPath.contains(QLatin1Char('.')))) {
        return rows_->value(row, rowKey);
    }
    return valueForKeyPath(objectOfRow(row).get(), keyPath);
}

int ArrayController::arrangedRow(int index) const {
    return rows_ && index >= 0 && index < count() ? arranged_[static_cast<std::size_t>(index)] : -1;
}

// ---- Sort descriptors and changes of the content

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
    selectIdentities(before.selected, selectionIndex());
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
    turnRowsIntoObjects();
    const State before = captureState();
    objects_.append(added);
    arrange();
    std::vector<const void*> inserted;
    for (const ObjectRef& object : added) {
        inserted.push_back(object.get());
    }
    selectIdentities(selectsInserted_ ? inserted : before.selected, selectionIndex());
    announceChangesSince(before);
}

void ArrayController::removeObject(const ObjectRef& object) {
    removeObject(object.get());
}

void ArrayController::removeObject(const QObject* object) {
    if (object != nullptr) {
        removeDoomed({object});
    }
}

void ArrayController::removeObjects(const QList<ObjectRef>& objects) {
    QSet<const QObject*> doomed;
    for (const ObjectRef& object : objects) {
        doomed.insert(object.get());
    }
    removeDoomed(doomed);
}

// Only objects asked for can be doomed: value rows without one are passed over unchanged.
void ArrayController::removeDoomed(const QSet<const QObject*>& doomed) {
    bool any = false;
    if (rows_) {
        for (const ObjectRef& made : rowObjects_) {
            any = any || (made && doomed.contains(made.get()));
        }
    } else {
        for (const ObjectRef& object : std::as_const(objects_)) {
            any = any || doomed.contains(object.get());
        }
    }
    if (!any) {
        return;
    }
    turnRowsIntoObjects();
    const State before = captureState();
    objects_.removeIf([&](const ObjectRef& object) { return doomed.contains(object.get()); });
    arrange();
    selectIdentities(before.selected, selectionIndex());
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

// ---- Selection

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
        objects.append(objectOfRow(arranged_[static_cast<std::size_t>(index)]));
    }
    return objects;
}

bool ArrayController::setSelectedObjects(const QList<ObjectRef>& objects) {
    const State before = captureState();
    std::vector<const void*> wanted;
    for (const ObjectRef& object : objects) {
        if (object) {
            wanted.push_back(identityOfObject(object.get()));
        }
    }
    selectIdentities(wanted, selectionIndex());
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

// ---- Filter

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
    selectIdentities(before.selected, selectionIndex());
    emit filterTextChanged();
    announceChangesSince(before);
}

// ---- Change signals

ArrayController::State ArrayController::captureState() const {
    return State{objects_, rows_, identitiesOfRows(arranged_), selection_, selectedIdentities()};
}

// Every value is settled before the first signal, so an observer that reads any of them
// sees the new state.
void ArrayController::announceChangesSince(const State& before) {
    const State after = captureState();
    if (after.rows != before.rows || after.objects != before.objects) {
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

// ---- Arranging

// The search column takes the folded texts a case-insensitive sort by the same key has read.
void ArrayController::arrange() {
    std::vector<std::optional<KeyColumn>> sortColumns(
        static_cast<std::size_t>(descriptors_.size()));
    sortContent(sortColumns);
    filterColumn_.reset();
    if (!filterKey_.isEmpty()) {
        const KeyColumn* folded = nullptr;
        for (qsizetype d = 0; d < descriptors_.size(); ++d) {
            const SortDescriptor& descriptor = descriptors_.at(d);
            const std::optional<KeyColumn>& column = sortColumns[static_cast<std::size_t>(d)];
            if (folded == nullptr && column && descriptor.caseInsensitive &&
                descriptor.key == filterKey_) {
                folded = &*column;
            }
        }
        filterColumn_ = std::make_unique<KeyColumn>(readKeyColumn(filterKey_, true, true, folded));
    }
    applyFilter();
}

// Each row's value is read once; its text goes into the column as it is compared or searched
// (folded where case does not count), so tens of thousands of rows are sorted and searched over
// plain units. A sort column holds texts only; a search column the text of any value.
ArrayController::KeyColumn ArrayController::readKeyColumn(const QString& keyPath, bool folded,
                                                          bool forSearch,
                                                          const KeyColumn* read) const {
    const auto count = static_cast<std::size_t>(contentCount());
    KeyColumn column;
    column.starts.resize(count);
    column.lengths.resize(count);
    column.held.resize(count);
    column.unitBits.resize(forSearch ? count : 0);
    column.units.reserve(count * 16);
    const int rowKey = valueOfRowKey(keyPath);
    for (std::size_t row = 0; row < count; ++row) {
        const auto start = static_cast<quint32>(column.units.size());
        column.starts[row] = start;
        if (read != nullptr && read->held[row]) {
            const QStringView units = read->at(row);
            column.units.insert(column.units.end(), units.utf16(), units.utf16() + units.size());
            column.lengths[row] = static_cast<quint32>(units.size());
            column.held[row] = true;
            if (forSearch) {
                column.unitBits[row] = unitBitsOf(column.at(row));
            }
            continue;
        }
        const QVariant value = valueOfRow(static_cast<int>(row), rowKey, keyPath);
        if (!forSearch && !sortsAsText(value)) {
            continue;
        }
        const QString text = value.toString();
        bool held = true;
        for (qsizetype i = 0; held && i < text.size(); ++i) {
            const std::optional<char16_t> unit =
                folded ? foldedUnitForComparison(text.at(i)) : text.at(i).unicode();
            held = unit.has_value();
            column.units.push_back(unit.value_or(0));
        }
        if (!held) {
            column.units.resize(start);
            continue;
        }
        column.lengths[row] = static_cast<quint32>(text.size());
        column.held[row] = true;
        if (forSearch) {
            column.unitBits[row] = unitBitsOf(column.at(row));
        }
    }
    column.units.shrink_to_fit();
    return column;
}

namespace {

// The first four units of a text from `from` on, packed so that integers order as the units do
// (a short text padded with zeros); absent when a surrogate is among them, which compare as
// code points.
std::optional<quint64> packedUnits(QStringView text, qsizetype from) {
    quint64 packed = 0;
    for (qsizetype i = from; i < from + 4; ++i) {
        const QChar unit = i < text.size() ? text.at(i) : QChar(0);
        if (unit.isSurrogate()) {
            return std::nullopt;
        }
        packed = (packed << 16) | unit.unicode();
    }
    return packed;
}

} // namespace

// A row with the first descriptor's leading units packed into integers (flipped for a descending
// descriptor): most comparisons are settled by them.
struct ArrayController::Ordered {
    quint64 lead = 0;
    quint64 nextLead = 0;
    int row = 0;
};

// The rows are ordered by the descriptors over their key columns: the first read at once, the
// others only when two rows tie on those before. Content already in order stays as it is.
void ArrayController::sortContent(std::vector<std::optional<KeyColumn>>& columns) {
    const auto count = static_cast<std::size_t>(contentCount());
    sorted_.resize(count);
    for (std::size_t row = 0; row < count; ++row) {
        sorted_[row] = static_cast<int>(row);
    }
    if (descriptors_.isEmpty() || count < 2) {
        return;
    }
    const auto columnOf = [&](std::size_t d) -> const KeyColumn& {
        if (!columns[d]) {
            const SortDescriptor& descriptor = descriptors_.at(static_cast<qsizetype>(d));
            columns[d] = readKeyColumn(descriptor.key, descriptor.caseInsensitive, false);
        }
        return *columns[d];
    };
    const auto compareBy = [&](std::size_t d, int a, int b) {
        const SortDescriptor& descriptor = descriptors_.at(static_cast<qsizetype>(d));
        const KeyColumn& column = columnOf(d);
        const auto x = static_cast<std::size_t>(a);
        const auto y = static_cast<std::size_t>(b);
        int order = 0;
        if (column.held[x] && column.held[y]) {
            order = signOf(column.at(x).compare(column.at(y), Qt::CaseSensitive));
        } else {
            const int rowKey = valueOfRowKey(descriptor.key);
            order = SortDescriptor::compare(valueOfRow(a, rowKey, descriptor.key),
                                            valueOfRow(b, rowKey, descriptor.key),
                                            descriptor.caseInsensitive);
        }
        return descriptor.ascending ? order : -order;
    };
    std::vector<Ordered> order = orderedByLeads(columnOf(0), descriptors_.first().ascending);
    const auto before = [&](const Ordered& a, const Ordered& b) {
        if (a.lead != b.lead) {
            return a.lead < b.lead;
        }
        if (a.nextLead != b.nextLead) {
            return a.nextLead < b.nextLead;
        }
        for (std::size_t d = 0; d < columns.size(); ++d) {
            const int order = compareBy(d, a.row, b.row);
            if (order != 0) {
                return order < 0;
            }
        }
        return false;
    };
    if (std::is_sorted(order.begin(), order.end(), before)) {
        return;
    }
    std::stable_sort(order.begin(), order.end(), before);
    for (std::size_t i = 0; i < count; ++i) {
        sorted_[i] = order[i].row;
    }
}

// The leads are used only when every row has them: a row without (no text, or a surrogate
// among its first units) compares otherwise.
std::vector<ArrayController::Ordered> ArrayController::orderedByLeads(const KeyColumn& first,
                                                                      bool ascending) {
    const std::size_t count = first.held.size();
    std::vector<Ordered> order(count);
    const quint64 flip = ascending ? 0 : ~quint64{0};
    bool leads = true;
    for (std::size_t row = 0; row < count; ++row) {
        order[row].row = static_cast<int>(row);
        const std::optional<quint64> lead =
            leads && first.held[row] ? packedUnits(first.at(row), 0) : std::nullopt;
        const std::optional<quint64> nextLead = lead ? packedUnits(first.at(row), 4) : std::nullopt;
        leads = nextLead.has_value();
        if (leads) {
            order[row].lead = *lead ^ flip;
            order[row].nextLead = *nextLead ^ flip;
        }
    }
    if (!leads) {
        for (Ordered& ordered : order) {
            ordered.lead = 0;
            ordered.nextLead = 0;
        }
    }
    return order;
}

// A folded text holds a folded search text exactly where the case-insensitive search finds it;
// a text that cannot be folded is searched as it is.
void ArrayController::applyFilter() {
    if (filterKey_.isEmpty() || filterText_.isEmpty() || !filterColumn_) {
        arranged_ = sorted_;
        return;
    }
    const std::optional<QString> foldedSearch = foldedForComparison(filterText_);
    const quint64 searchBits = foldedSearch ? unitBitsOf(*foldedSearch) : 0;
    const KeyColumn& column = *filterColumn_;
    const int rowKey = valueOfRowKey(filterKey_);
    arranged_.clear();
    for (int row : sorted_) {
        const auto at = static_cast<std::size_t>(row);
        bool found = false;
        if (foldedSearch && column.held[at]) {
            found = (column.unitBits[at] & searchBits) == searchBits &&
                    column.at(at).contains(*foldedSearch, Qt::CaseSensitive);
        } else {
            found = valueOfRow(row, rowKey, filterKey_)
                        .toString()
                        .contains(filterText_, Qt::CaseInsensitive);
        }
        if (found) {
            arranged_.push_back(row);
        }
    }
}

// Selects the arranged positions of the wanted items; an item wanted twice takes two of its
// occurrences.
void ArrayController::selectIdentities(const std::vector<const void*>& wanted,
                                       int formerFirstIndex) {
    if (wanted.empty()) {
        selection_.clear();
        applyEmptySelectionRule(formerFirstIndex);
        return;
    }
    QHash<const void*, int> remaining;
    for (const void* identity : wanted) {
        ++remaining[identity];
    }
    QList<int> indexes;
    for (int i = 0; i < count() && !remaining.isEmpty(); ++i) {
        auto found = remaining.find(identityOfRow(arranged_[static_cast<std::size_t>(i)]));
        if (found != remaining.end()) {
            indexes.append(i);
            if (--found.value() == 0) {
                remaining.erase(found);
            }
        }
    }
    selection_ = normalizedIndexes(indexes);
    applyEmptySelectionRule(formerFirstIndex);
}

QList<int> ArrayController::normalizedIndexes(const QList<int>& indexes) const {
    QList<int> result;
    for (int index : indexes) {
        if (index >= 0 && index < count()) {
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
    if (!avoidsEmpty_ || !selection_.isEmpty() || arranged_.empty()) {
        return;
    }
    selection_ = {std::clamp(formerFirstIndex, 0, count() - 1)};
}

} // namespace kit
