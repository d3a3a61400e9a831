#include "EntryTableModel.h"

#include "EntryRules.h"

#include <algorithm>

namespace vextel_addressbook {

namespace {

// Column titles, translated where they are shown.
const char* const kContactTitles[] = {
    QT_TRANSLATE_NOOP("vextel_addressbook::EntryTableModel", "Name"),
    QT_TRANSLATE_NOOP("vextel_addressbook::EntryTableModel", "Fax number"),
    QT_TRANSLATE_NOOP("vextel_addressbook::EntryTableModel", "Company"),
    QT_TRANSLATE_NOOP("vextel_addressbook::EntryTableModel", "Note")};
const char* const kGroupTitles[] = {
    QT_TRANSLATE_NOOP("vextel_addressbook::EntryTableModel", "Name"),
    QT_TRANSLATE_NOOP("vextel_addressbook::EntryTableModel", "Members"),
    QT_TRANSLATE_NOOP("vextel_addressbook::EntryTableModel", "Member names")};

} // namespace

// The groups' Members column is a count, and sorts as one.
constexpr int kMemberCountColumn = 1;

EntryTableModel::EntryTableModel(Kind kind, QObject* parent)
    : QAbstractTableModel(parent), kind_(kind),
      arrangement_(kind == Kind::Contacts ? 4 : 3,
                   kind == Kind::Contacts ? -1 : kMemberCountColumn) {}

void EntryTableModel::setContents(const BookContents& contents) {
    beginResetModel();
    contents_ = contents;
    // A table shows the fields alone: it need not keep the file the book was read from.
    contents_.origin.reset();
    // The few contacts groups name, found in one pass over the contacts.
    contactByUid_.clear();
    if (kind_ == Kind::Groups) {
        for (const Group& group : contents_.groups) {
            for (const QString& uid : group.memberUids) {
                contactByUid_.insert(uid, -1);
            }
        }
    }
    for (qsizetype i = 0; !contactByUid_.isEmpty() && i < contents_.contacts.size(); ++i) {
        const auto found = contactByUid_.find(contents_.contacts.at(i).uid);
        if (found != contactByUid_.end() && *found < 0) {
            *found = i;
        }
    }
    const auto rows = kind_ == Kind::Contacts ? contents_.contacts.size() : contents_.groups.size();
    arrangement_.setRows(
        rows, [this](qsizetype row, int column) { return text(row, column); },
        [this](qsizetype row) { return contents_.groups.at(row).memberUids.size(); });
    endResetModel();
}

void EntryTableModel::setSearchText(const QString& text) {
    rearrange([&] { arrangement_.setSearch(text); });
}

void EntryTableModel::sort(int column, Qt::SortOrder order) {
    rearrange([&] { arrangement_.sortBy(column, order); });
}

void EntryTableModel::rearrange(const std::function<void()>& change) {
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<qsizetype> rowsBefore;
    rowsBefore.reserve(static_cast<std::size_t>(before.size()));
    for (const QModelIndex& index : before) {
        rowsBefore.push_back(contentsRow(index.row()));
    }
    change();
    if (!before.isEmpty()) {
        std::vector<int> shownAt(
            static_cast<std::size_t>(std::max(contents_.contacts.size(), contents_.groups.size())),
            -1);
        for (qsizetype position = 0; position < arrangement_.shownCount(); ++position) {
            shownAt[static_cast<std::size_t>(arrangement_.rowAt(position))] =
                static_cast<int>(position);
        }
        QModelIndexList after;
        after.reserve(before.size());
        for (qsizetype i = 0; i < before.size(); ++i) {
            const int position = shownAt[static_cast<std::size_t>(rowsBefore[i])];
            after.append(position < 0 ? QModelIndex() : index(position, before[i].column()));
        }
        changePersistentIndexList(before, after);
    }
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

int EntryTableModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid()) {
        return 0;
    }
    return static_cast<int>(arrangement_.shownCount());
}

int EntryTableModel::columnCount(const QModelIndex& parent) const {
    if (parent.isValid()) {
        return 0;
    }
    return kind_ == Kind::Contacts ? 4 : 3;
}

QString EntryTableModel::memberNames(const Group& group) const {
    QStringList names;
    for (const QString& uid : group.memberUids) {
        const qsizetype index = contactByUid_.value(uid, -1);
        if (index >= 0) {
            names.append(contents_.contacts.at(index).name);
        }
    }
    return names.join(QStringLiteral(", "));
}

QString EntryTableModel::text(qsizetype contentsRow, int column) const {
    if (kind_ == Kind::Contacts) {
        const Contact& contact = contents_.contacts.at(contentsRow);
        switch (column) {
        case 0:
            return contact.name;
        case 1:
            // Every fax number of the card, as the picker lists them.
            return contact.otherFaxes.isEmpty() ? contact.fax
                                                : EntryRules::joinFaxNumbers(contact.faxNumbers());
        case 2:
            return contact.company;
        default:
            return contact.note;
        }
    }
    const Group& group = contents_.groups.at(contentsRow);
    switch (column) {
    case 0:
        return group.name;
    case kMemberCountColumn:
        return QString::number(group.memberUids.size());
    default:
        return memberNames(group);
    }
}

QVariant EntryTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    if (kind_ == Kind::Groups && role == Qt::TextAlignmentRole &&
        index.column() == kMemberCountColumn) {
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    }
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) {
        return {};
    }
    const qsizetype row = contentsRow(index.row());
    if (kind_ == Kind::Groups && index.column() == kMemberCountColumn) {
        return static_cast<int>(contents_.groups.at(row).memberUids.size());
    }
    return text(row, index.column());
}

QVariant EntryTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= columnCount()) {
        return {};
    }
    return tr(kind_ == Kind::Contacts ? kContactTitles[section] : kGroupTitles[section]);
}

} // namespace vextel_addressbook
