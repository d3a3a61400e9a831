#pragma once

#include "VCardCard.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace xdirkit {

// Turns the text of a vCard book (2.1, 3.0 or 4.0, any mix) into its cards.
//
// Accepts CRLF, LF or CR line ends, a UTF-8 or UTF-16 byte-order mark, folded lines and 2.1
// quoted-printable soft line breaks. Text outside cards is skipped, as are the lines of a card
// nested in another (2.1 AGENT) and content lines that do not parse. A card cut off by the end of
// the text is kept, marked with the number of cards left open (nested ones included).
class VCardReader {
public:
    // Which lines the cards keep: all of them (for rewriting a book), or only those of the
    // properties that personal entries and groups are made of (for reading it quickly).
    enum class Lines { All, ForRecords };

    // How a book's bytes hold its text, told by its byte-order mark.
    enum class Encoding { Utf8, Utf16LittleEndian, Utf16BigEndian };
    static Encoding encodingOf(std::string_view bytes);
    // The book's text as UTF-8: a UTF-16 book converted (its byte-order mark dropped), any other
    // as it is. Null for a UTF-16 book that does not convert.
    static std::optional<std::string> utf8Text(std::string bytes);

    // Null when the text holds something other than blank lines but no card at all, or is a
    // UTF-16 book that does not convert.
    static std::optional<std::vector<VCardCard>> read(std::string text, Lines keep = Lines::All);

    // The same card by card, without keeping them: visit sees each card (without its original
    // bytes; its lines borrow from text, which may be converted to UTF-8 first) and answers false
    // to stop. A card lasts only for its call. False where read answers null.
    static bool forEachCard(std::string& text, Lines keep,
                            const std::function<bool(const VCardCard&)>& visit);
    // The same for bytes that are not to be changed: the lines of a UTF-8 book borrow from
    // them, those of a UTF-16 book from a converted copy.
    static bool forEachCard(std::string_view bytes, Lines keep,
                            const std::function<bool(const VCardCard&)>& visit);
};

} // namespace xdirkit
