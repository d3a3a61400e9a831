#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace xdirkit {

// One unfolded content line of a vCard, "group.NAME;PARAM=a,b;BARE:value", as written. It keeps
// its text and points into it, so a line is copied or moved as one string.
//
// Parameters are listed once per value: "TYPE=fax,work", "TYPE=\"fax,work\"" and
// "TYPE=fax;TYPE=work" all give TYPE=fax and TYPE=work. A bare 2.1 parameter ("TEL;FAX;WORK:")
// counts as a TYPE, except the transfer encodings (QUOTED-PRINTABLE, BASE64, 8BIT, 7BIT), which
// count as an ENCODING. Names compare without regard to case.
class VCardLine {
public:
    // Null when the text has no name or no ':' after its name and parameters.
    static std::optional<VCardLine> parse(std::string text);

    const std::string& text() const { return text_; }
    std::string_view group() const { return view(group_); }
    std::string_view name() const { return view(name_); }
    bool isNamed(std::string_view name) const;
    // The value as written (still escaped and, for 2.1, still encoded).
    std::string_view rawValue() const { return view(value_); }

    std::size_t parameterCount() const { return parameters_.size(); }
    std::string_view parameterName(std::size_t index) const;
    std::string_view parameterValue(std::size_t index) const;
    // The first value of the parameter, null when absent.
    std::optional<std::string_view> parameter(std::string_view name) const;
    bool hasParameter(std::string_view name, std::string_view value) const;
    bool hasType(std::string_view type) const { return hasParameter("TYPE", type); }

    // The value with its transfer encoding and character set undone, as UTF-8 but still
    // escaped; null when the character set is unknown or the bytes do not fit it. A value
    // without a character set that is not valid UTF-8 is read as Windows-1252, as older
    // programs write it.
    std::optional<std::string> decodedValue() const;
    // The decoded value as one text ("\n", "\,", "\;", "\\" undone).
    std::optional<std::string> textValue() const;
    // The decoded value split at every unescaped ';', each component unescaped (N, ORG).
    std::optional<std::vector<std::string>> components() const;

    // True for a line whose value goes on after a quoted-printable soft line break.
    static bool continuesQuotedPrintable(std::string_view text);

private:
    struct Span {
        uint32_t begin = 0;
        uint32_t length = 0;
    };
    struct Parameter {
        Span name; // empty for a bare parameter: then kind_ says which
        Span value;
        bool bareEncoding = false;
    };

    std::string_view view(Span span) const {
        return std::string_view(text_).substr(span.begin, span.length);
    }
    bool isQuotedPrintable() const;

    std::string text_;
    Span group_;
    Span name_;
    Span value_;
    std::vector<Parameter> parameters_;
};

// Case-insensitive ASCII comparison, as vCard names and parameters compare.
bool equalsIgnoringCase(std::string_view a, std::string_view b);
// Undoes "\n", "\N", "\,", "\;", "\:" and "\\"; any other backslash stays.
std::string unescapeText(std::string_view text);

} // namespace xdirkit
