#pragma once

#include "PersonalEntries.h"
#include "VCardCard.h"
#include "xdirkit/XdirKit.h"

#include <cstdint>
#include <string>
#include <vector>

namespace xdirkit {

// Cards to text, and the two ways a book is written: new entries appended behind every byte
// already there, or the whole book replaced. Both go through BookFile, atomic and serialised.
// Text is UTF-8 with CRLF line ends, lines folded at 75 bytes (never inside a character).
class VCardWriter {
public:
    // A vCard 4.0 card for a personal fax entry: FN, N, TEL;TYPE=fax, ORG and NOTE when given,
    // UID, and REV from the record's time stamp.
    static std::string entryCard(const XDIRMyFaxRecord& record, const std::string& uid);
    // An unchanged card's original bytes; a changed one in its own version, its lines as they
    // are (refolded); a new card, or one that names no version, as cardTextAsVersion4.
    static std::string cardText(const VCardCard& card);
    // Any card as vCard 4.0: 2.1 encodings and character sets undone, encoded binary values as
    // data: URIs, the 3.0 group extensions turned into KIND and MEMBER.
    static std::string cardTextAsVersion4(const VCardCard& card);
    // How a whole book is written: each card as cardText, or every card as 4.0 (an export).
    enum class Versions { Own, AllAs4 };
    // The cards' texts one after the other: a whole book.
    static std::string bookText(const std::vector<VCardCard>& cards,
                                Versions versions = Versions::Own);
    // The same of cards given by their addresses, so that a book kept elsewhere is written
    // without a copy of its cards.
    static std::string bookText(const std::vector<const VCardCard*>& cards,
                                Versions versions = Versions::Own);

    // A book's text (UTF-8) in the encoding of the book whose bytes are like: with its
    // byte-order mark for a UTF-16 book, as it is otherwise.
    static std::string inEncodingOf(std::string_view text, std::string_view like);
    // The same in place, without a copy of a UTF-8 text.
    static void convertToEncodingOf(std::string& text, std::string_view like);

    // Appends one card per record, in the book's own encoding (UTF-16 for a UTF-16 book). Names
    // and fax numbers compare as they read back (blanks around a name and a "tel:" prefix
    // dropped): XDIR_ERR_DUPLICATE_ENTRY, with nothing written, when a record's are those of an
    // individual already in the file (or of an earlier record of the call);
    // XDIR_ERR_BAD_RECORD when a record would not read back as one entry;
    // XDIR_ERR_FILE_MALFORMED when the file is not a vCard book; else as BookFile::update. A
    // missing file is created.
    static int32_t appendEntries(const std::string& path, const PersonalEntries& records);
    // Replaces the whole book with the cards, as BookFile::update; a UTF-16 book stays UTF-16
    // unless it is exported as 4.0 (which is UTF-8 only).
    static int32_t writeBook(const std::string& path, const std::vector<VCardCard>& cards,
                             Versions versions = Versions::Own);
    static int32_t writeBook(const std::string& path, const std::vector<const VCardCard*>& cards,
                             Versions versions = Versions::Own);

    // Ends the text with the END lines of the cards it leaves open (the last line ended first).
    static void closeOpenCards(std::string& text, int openCards);

    // "urn:uuid:" and a random (version 4) UUID.
    static std::string newUid();
};

} // namespace xdirkit
