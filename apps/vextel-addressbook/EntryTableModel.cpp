#include "EntryTableModel.h"

#include "EntryRules.h"

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

EntryTableModel::EntryTableModel(Kind kind, QObject* parent)
    : QAbstractTableModel(parent), kind_(kind) {}

void EntryTableModel::setContents(const BookContents& contents) {
    beginResetModel();
    contents_ = contents;
    endResetModel();
}

int EntryTableModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid()) {
        return 0;
    }
    return static_cast<int>(kind_ == Kind::Contacts ? contents_.contacts.size()
                                                    : contents_.groups.size());
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
        const qsizetype index = contents_.contactIndex(uid);
        if (index >= 0) {
            names.append(contents_.contacts.at(index).name);
        }
    }
    return names.join(QStringLiteral(", "));
}

QVariant EntryTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    if (kind_ == Kind::Contacts) {
        if (role != Qt::DisplayRole && role != Qt::ToolTipRole) {
            return {};
        }
        const Contact& contact = contents_.contacts.at(index.row());
        // Every fax number of the card, as the picker lists them.
        const QString faxes = EntryRules::joinFaxNumbers(contact.faxNumbers());
        const QString* fields[] = {&contact.name, &faxes, &contact.company, &contact.note};
        return *fields[index.column()];
    }
    const Group& group = contents_.groups.at(index.row());
    if (role == Qt::TextAlignmentRole && index.column() == 1) {
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    }
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) {
        return {};
    }
    switch (index.column()) {
    case 0:
        return group.name;
    case 1:
        // A number, so that sorting by this column sorts by count.
        return static_cast<int>(group.memberUids.size());
    default:
        return memberNames(group);
    }
}

QVariant EntryTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= columnCount()) {
        return {};
    }
    return tr(kind_ == Kind::Contacts ? kContactTitles[section] : kGroupTitles[section]);
}

} // namespace vextel_addressbook
