#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

namespace vextel_addressbook {

// What a book store read a book from (the parsed file with every line of every card), kept so
// that a write keeps what the editor does not show. Each store knows its own kind.
class BookOrigin {
public:
    virtual ~BookOrigin();
};

// A card of another book, by its place in that book's origin.
struct CardSource {
    std::shared_ptr<const BookOrigin> book; // null: none
    int index = -1;
};

// One person or company with a fax number.
struct Contact {
    QString uid; // identifies the entry across reads, edits and merges; never empty in a book
    QString name;
    QString fax; // the card's preferred fax number
    QString company;
    QString note;
    int originIndex = -1; // the card in the book's origin this entry came from; -1 for a new one
    // The card's other fax numbers, in card order; the picker lists each as an entry of its own.
    QStringList otherFaxes = {};
    // The card of another book an imported entry was read from: a new entry's card is written
    // with that card's other lines (a photo, addresses, other numbers). Not a visible field.
    CardSource importedFrom = {};

    // Same visible fields (the origin link is not compared).
    bool sameFields(const Contact& other) const {
        return sameText(name, other.name) && sameText(fax, other.fax) &&
               (otherFaxes.isSharedWith(other.otherFaxes) || otherFaxes == other.otherFaxes) &&
               sameText(company, other.company) && sameText(note, other.note);
    }
    // Texts of one copy (an entry as read and as kept) are the same without a look at them.
    static bool sameText(const QString& a, const QString& b) {
        return (a.size() == b.size() && a.constData() == b.constData()) || a == b;
    }
    // fax, then otherFaxes.
    QStringList faxNumbers() const { return QStringList{fax} + otherFaxes; }
};

// A named list of contacts, by uid.
struct Group {
    QString uid;
    QString name;
    QStringList memberUids;
    int originIndex = -1;

    bool sameFields(const Group& other) const {
        return name == other.name && memberUids == other.memberUids;
    }
};

// Everything of one address book the editor shows.
struct BookContents {
    QList<Contact> contacts;
    QList<Group> groups;
    std::shared_ptr<const BookOrigin> origin; // null for a book not read from anywhere
    // Names the bytes of the file this was read from or written as (BookHash for a file); empty
    // for a book that is no file's.
    QByteArray fileHash;

    qsizetype contactIndex(const QString& uid) const;
    qsizetype groupIndex(const QString& uid) const;
    // The same entries and groups with the same fields, in the same order.
    bool sameAs(const BookContents& other) const;
};

// A new "urn:uuid:..." identifier.
QString newUid();

} // namespace vextel_addressbook
