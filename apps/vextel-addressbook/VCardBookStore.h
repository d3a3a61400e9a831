#pragma once

#include "BookStore.h"

#include <string>

namespace vextel_addressbook {

// PC address books as the address-book library keeps them: vCard files in its folder, read by
// its reader and written whole by its writer, atomic and under the book's lock.
//
// The editor shows one entry per contact card with a fax number (every fax number of the card,
// its most preferred first) and one group per group card. Everything else of a card (telephone
// numbers, addresses, photos, properties of other programs) and every card without a fax number
// stays in the file: a card the editor did not change is written back byte for byte, a changed one
// keeps its other lines. A card without a UID gets one when a group names it.
class VCardBookStore : public BookStore {
public:
    QString folder() override;
    QStringList bookPaths() override;
    std::optional<BookContents> read(const QString& path, QString* error) override;
    bool write(const QString& path, const BookContents& contents, QString* error) override;
    std::optional<BookContents> update(const QString& path, const Change& change,
                                       QString* error) override;
    // Every entry and group as a vCard 4.0 card, with the other lines of its card.
    bool exportVCard(const QString& path, const BookContents& contents, QString* error) override;

    // The sentence for the user for a status of the library.
    static QString messageFor(int32_t status);

private:
    // The book a file's text holds, with the text's hash.
    static std::optional<BookContents> contentsOfText(std::string fileText, QString* error);
};

} // namespace vextel_addressbook
