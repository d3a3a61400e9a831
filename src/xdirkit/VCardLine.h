#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace xdirkit {

// One unfolded content line of a vCard, "group.NAME;PARAM=a,b;BARE:value", as written.
//
// A line either owns its text or borrows it from a book's text that outlives it (the card that
// holds the line keeps that text alive); parts are kept as offsets, so copies stay valid.
// Parameters are read from the text when asked for, each name=value pair once per value:
// "TYPE=fax,work", "TYPE=\"fax,work\"" and "TYPE=fax;TYPE=work" all give TYPE=fax and
// TYPE=work. A bare 2.1 parameter ("TEL;FAX;WORK:", "TEL;WORK,FAX:") counts as a TYPE, except the
// transfer encodings (QUOTED-PRINTABLE, BASE64, 8BIT, 7BIT), which count as an ENCODING. Names
// compare without regard to case.
class VCardLine {
public:
    // The properties this library reads, told apart once when the line is parsed. Kind and
    // Member include their 3.0 address-book-server forms.
    enum class Property : uint8_t {
        Other,
        Version,
        Uid,
        Kind,
        FullName,
        Name,
        Organization,
        Note,
        Telephone,
        Member,
        // X-ABLabel: the label of the lines of its item group ("item1.TEL" and "item1.X-ABLabel").
        Label
    };
    using Parameter = std::pair<std::string_view, std::string_view>;
    // The preference of a line without PREF: 1 is the most preferred.
    static constexpr int kNoPreference = 100;

    VCardLine() = default;
    // A copy owns its text, so it may outlive the book its original borrowed from; a move keeps
    // borrowing.
    VCardLine(const VCardLine& other);
    VCardLine& operator=(const VCardLine& other);
    VCardLine(VCardLine&&) noexcept = default;
    VCardLine& operator=(VCardLine&&) noexcept = default;

    // The property a line's text names, without parsing the rest.
    static Property propertyOf(std::string_view text);

    // Null when the text has no name, no ':' after its name and parameters, or an unclosed
    // quoted parameter value.
    static std::optional<VCardLine> parse(std::string text);
    // The same over text that outlives the line.
    static std::optional<VCardLine> parseBorrowed(std::string_view text);

    std::string_view text() const { return owned_.empty() ? borrowed_ : std::string_view(owned_); }
    std::string_view group() const { return view(group_); }
    std::string_view name() const { return view(name_); }
    bool isNamed(std::string_view name) const;
    Property property() const { return property_; }
    // The value as written (still escaped and, for 2.1, still encoded).
    std::string_view rawValue() const { return view(value_); }

    // Every parameter in order, names as written ("TYPE" or "ENCODING" for bare ones).
    std::vector<Parameter> parameters() const;
    // The first value of the parameter, null when absent.
    std::optional<std::string_view> parameter(std::string_view name) const;
    bool hasParameter(std::string_view name, std::string_view value) const;
    bool hasType(std::string_view type) const { return hasParameter("TYPE", type); }

    // True for a value in base64 (ENCODING=b or ENCODING=BASE64).
    bool isBase64() const;

    // The value with its transfer encoding and character set undone, as UTF-8 without NUL
    // characters but still escaped; null when the character set is unknown or the bytes do not fit
    // it. A value without a character set that is not valid UTF-8 is read as Windows-1252, as older
    // programs write it.
    std::optional<std::string> decodedValue() const;
    // The decoded value as one text ("\n", "\,", "\;", "\\" undone).
    std::optional<std::string> textValue() const;
    // The decoded value split at every unescaped ';', each component unescaped (N, ORG).
    std::optional<std::vector<std::string>> components() const;
    // The value as it is when nothing in it needs decoding or unescaping (no ENCODING or CHARSET
    // parameter, valid UTF-8 without NUL or backslash), which is most values: then it equals
    // textValue() and components() is the value split at each ';'. Null otherwise.
    std::optional<std::string_view> plainValue() const;
    // textValue() without a copy when the value is plain; else decoded into scratch. The view
    // lasts as long as the line and scratch do.
    std::optional<std::string_view> textValue(std::string& scratch) const;
    // The most preferred of PREF=n (an unreadable or zero n counts as 1) and TYPE=pref (1);
    // kNoPreference when the line has neither.
    int preference() const;

    // True for a line whose value goes on after a quoted-printable soft line break.
    static bool continuesQuotedPrintable(std::string_view text);

private:
    struct Span {
        uint32_t begin = 0;
        uint32_t length = 0;
    };

    // Finds the parts of text(); false when it does not parse.
    bool parseText();
    static Property propertyOfName(std::string_view name);
    std::string_view view(Span span) const { return text().substr(span.begin, span.length); }
    // Calls visit(name, value) for each parameter until it answers true; false when the
    // parameters do not parse.
    template <typename Visit> bool visitParameters(Visit visit) const;
    bool isQuotedPrintable() const;
    std::optional<std::string> decodedBytes() const;
    std::optional<std::string> transferDecodedBytes() const;

    std::string owned_;
    std::string_view borrowed_;
    Span group_;
    Span name_;
    Span parameters_; // from the first ';' up to the ':' before the value
    Span value_;
    Property property_ = Property::Other;
    // An ENCODING or CHARSET parameter is present: the value may need decoding.
    bool encoded_ = false;
};

// Case-insensitive ASCII comparison, as vCard names and parameters compare. Inline: the reader
// asks it several times for every line, mostly of words that differ in length.
inline bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    const auto upper = [](char c) {
        return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    };
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i] && upper(a[i]) != upper(b[i]))
            return false;
    return true;
}
// Undoes "\n", "\N", "\,", "\;", "\:" and "\\"; any other backslash stays.
std::string unescapeText(std::string_view text);

} // namespace xdirkit
