#pragma once

#include "VCardLine.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace xdirkit {

// One contact or group of a vCard book: its content lines between BEGIN and END, in file order,
// and the card's bytes as read. Properties this library does not use stay among the lines, so a
// book rewritten by an editor keeps what a contacts program put there.
//
// A card read from a file keeps its original bytes until it is changed; a changed or new card
// has none and is written out anew as vCard 4.0.
class VCardCard {
public:
    // A fax number of the card with its preference: 1 is the most preferred, 100 none given.
    struct FaxNumber {
        std::string number;
        int preference = kNoPreference;
    };
    static constexpr int kNoPreference = VCardLine::kNoPreference;

    VCardCard() = default;
    // A card read from source, whose bytes begin..begin+length it was read from; openCards is
    // the number of END lines the text lacked (the card's own and those of cards nested in it).
    VCardCard(std::vector<VCardLine> lines, std::shared_ptr<const std::string> source,
              std::size_t begin, std::size_t length, int openCards = 0);

    const std::vector<VCardLine>& lines() const { return lines_; }
    // The card's bytes as read, BEGIN to END with its line end; empty for a new or changed card.
    std::string_view original() const;
    // True for a card read without its END line (its original runs to the end of the text);
    // written back, it gets the END lines it lacks.
    bool isCutOff() const { return missingEnds() > 0; }
    // How many END lines the original lacks; 0 for a whole, new or changed card.
    int missingEnds() const { return changed_ ? 0 : openCards_; }

    // "2.1", "3.0", "4.0"; empty when the card names none.
    std::string version() const;
    // The UID as written (a "urn:uuid:" prefix kept); empty when none.
    std::string uid() const;
    // KIND:group, or the 3.0 address-book-server form.
    bool isGroup() const;
    // FN, else N as "prefix given additional family suffix"; null when neither gives a text.
    std::optional<std::string> displayName() const;
    // ORG, its units joined by ", "; empty when none.
    std::string company() const;
    // NOTE; empty when none.
    std::string note() const;
    // A TEL value as a fax number: blanks around and a "tel:" URI prefix dropped; empty when what
    // is left holds no digit (some exporters write a field's label, "BusinessFaxPhone", in
    // place of an empty number).
    static std::string_view faxNumberOf(std::string_view value);
    // A name as the card reads it: blanks and line ends around it dropped.
    static std::string_view nameOf(std::string_view text);
    // Every TEL of type fax, or of an item group labelled as a fax ("item1.TEL" with
    // "item1.X-ABLabel:homeFax", as some address books write custom labels), in card order, each
    // as faxNumberOf reads it; empty ones left out.
    std::vector<FaxNumber> faxNumbers() const;
    // MEMBER values (4.0) and their 3.0 address-book-server form, in card order, as written.
    std::vector<std::string> memberUids() const;

    // The same texts without copies, for reading many cards: each view is into the card's lines
    // or into scratch, and lasts as long as both do.
    std::optional<std::string_view> displayName(std::string& scratch) const;
    std::string_view company(std::string& scratch) const;
    std::string_view note(std::string& scratch) const;
    std::string_view uid(std::string& scratch) const;
    // Calls visit(number, preference) for each of faxNumbers(), the number valid during the call.
    void forEachFaxNumber(const std::function<void(std::string_view, int)>& visit) const;

    // Hands the lines back (their storage to be reused for another card), leaving none.
    std::vector<VCardLine> releaseLines() { return std::move(lines_); }

    // ---- Editing: each turns the card into a changed one. Lines are written in the card's own
    // version (4.0 for a card that names none); a changed value keeps its line's group and
    // parameters, and the lines an edit does not touch stay as they are.
    void setUid(std::string_view uid);
    void setGroup(bool group);
    // FN. N too where it was the same name (or, on a card without N, where the version needs
    // one); a structured N of another name stays.
    void setDisplayName(std::string_view name);
    // The first ORG or NOTE; an empty text removes that line.
    void setCompany(std::string_view company);
    void setNote(std::string_view note);
    // Replaces the fax lines only (other TEL lines stay); the first number is marked preferred.
    void setFaxNumbers(const std::vector<std::string>& numbers);
    // The value of the first fax line that holds number, its type and preference kept; a new fax
    // line when none does.
    void setFaxNumber(std::string_view number, std::string_view replacement);
    // One more fax line, after the card's last one, in the card's version and not preferred; the
    // other lines stay as they are.
    void addFaxNumber(std::string_view number);
    // Removes the first fax line that holds number (and the label of its item group); false when
    // no line holds it.
    bool removeFaxNumber(std::string_view number);
    void setMemberUids(const std::vector<std::string>& uids);

private:
    using Property = VCardLine::Property;
    const VCardLine* first(Property property) const;
    std::optional<std::string> firstText(Property property) const;
    bool isFaxLine(const VCardLine& line) const;
    bool hasFaxLabel(const VCardLine& line) const;
    template <typename Predicate>
    void replaceLines(Predicate matches, const std::vector<std::string>& newLines);
    void replaceProperty(Property property, const std::vector<std::string>& newLines);
    // Replaces the line at index (the end: appends) by text; an empty text removes it.
    void replaceLineAt(std::size_t index, const std::string& text);
    std::size_t indexOfFirst(Property property) const;
    // The first fax line whose number (as faxNumbers() reads it) is number; lines_.size() for none.
    std::size_t indexOfFaxLine(std::string_view number) const;
    std::string faxLineHeader(bool preferred) const;
    // A line carrying text as its value, in this card's version, with the group, name and
    // parameters of like (a line of the card) or with header when there is none.
    std::string textLine(const VCardLine* like, std::string_view header,
                         std::string_view text) const;

    std::vector<VCardLine> lines_;
    // The whole book the card was read from, shared by its cards, whose lines may point into it.
    std::shared_ptr<const std::string> source_;
    bool changed_ = false;
    std::size_t begin_ = 0;
    std::size_t length_ = 0;
    int openCards_ = 0;
};

// Escapes a text for a vCard value: backslash, comma, semicolon and line ends.
std::string escapeText(std::string_view text);

} // namespace xdirkit
