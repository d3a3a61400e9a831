#include "VCardLine.h"

#include "RecordText.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <iconv.h>
#include <memory>
#include <nettle/base64.h>

namespace xdirkit {
namespace {

constexpr std::string_view kTransferEncodings[] = {"QUOTED-PRINTABLE", "BASE64", "8BIT", "7BIT"};

// Shift_JIS as phones and Windows write it: backslash and tilde stay ASCII, which keeps the
// vCard escapes readable.
constexpr std::pair<std::string_view, const char*> kCharsetAliases[] = {
    {"SHIFT_JIS", "CP932"}, {"SHIFT-JIS", "CP932"}, {"SJIS", "CP932"},
    {"X-SJIS", "CP932"},    {"MS_KANJI", "CP932"},  {"WINDOWS-31J", "CP932"},
};

constexpr std::pair<std::string_view, VCardLine::Property> kProperties[] = {
    {"VERSION", VCardLine::Property::Version},
    {"UID", VCardLine::Property::Uid},
    {"KIND", VCardLine::Property::Kind},
    {"X-ADDRESSBOOKSERVER-KIND", VCardLine::Property::Kind},
    {"FN", VCardLine::Property::FullName},
    {"N", VCardLine::Property::Name},
    {"ORG", VCardLine::Property::Organization},
    {"NOTE", VCardLine::Property::Note},
    {"TEL", VCardLine::Property::Telephone},
    {"MEMBER", VCardLine::Property::Member},
    {"X-ADDRESSBOOKSERVER-MEMBER", VCardLine::Property::Member},
    {"X-ABLABEL", VCardLine::Property::Label},
};

constexpr std::size_t kLongestPropertyName = 26;

// Whether a known property has a name of each length.
constexpr auto kPropertyNameLengths = [] {
    std::array<bool, kLongestPropertyName + 1> lengths{};
    for (const auto& known : kProperties)
        lengths[known.first.size()] = true;
    return lengths;
}();

char upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool isUtf8Name(std::string_view charset) {
    return equalsIgnoringCase(charset, "UTF-8") || equalsIgnoringCase(charset, "UTF8");
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    c = upper(c);
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// "=XX" becomes the byte XX; anything else, a malformed "=" included, stays as written.
std::string decodeQuotedPrintable(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '=' && i + 2 < text.size()) {
            const int high = hexDigit(text[i + 1]);
            const int low = hexDigit(text[i + 2]);
            if (high >= 0 && low >= 0) {
                out += static_cast<char>(high * 16 + low);
                i += 2;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

// Null when the text is not base64; blanks and line ends (which 2.1 folds leave) are skipped, and
// so is missing padding (as some phones write it: the bytes are whole without it).
std::optional<std::string> decodeBase64(std::string_view text) {
    base64_decode_ctx context;
    base64_decode_init(&context);
    std::string out(BASE64_DECODE_LENGTH(text.size()), '\0');
    std::size_t length = out.size();
    if (base64_decode_update(&context, &length, reinterpret_cast<uint8_t*>(out.data()), text.size(),
                             text.data()) == 0)
        return std::nullopt;
    out.resize(length);
    return out;
}

// Null when iconv does not know the character set or the bytes do not fit it.
std::optional<std::string> convertToUtf8(std::string_view bytes, const char* charset) {
    iconv_t converter = ::iconv_open("UTF-8", charset);
    if (converter == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;
    std::unique_ptr<void, int (*)(iconv_t)> closer(converter, ::iconv_close);
    std::string out(bytes.size() * 4 + 4, '\0');
    std::string in(bytes);
    char* inPointer = in.data();
    std::size_t inLeft = in.size();
    char* outPointer = out.data();
    std::size_t outLeft = out.size();
    if (::iconv(converter, &inPointer, &inLeft, &outPointer, &outLeft) == static_cast<size_t>(-1))
        return std::nullopt;
    out.resize(out.size() - outLeft);
    return out;
}

std::string lineBreaksAsLineFeeds(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        out += text[i] == '\r' ? '\n' : text[i];
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
    }
    return out;
}

} // namespace

std::string unescapeText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            const char next = text[i + 1];
            if (next == 'n' || next == 'N') {
                out += '\n';
                ++i;
                continue;
            }
            if (next == ',' || next == ';' || next == ':' || next == '\\') {
                out += next;
                ++i;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

VCardLine::VCardLine(const VCardLine& other)
    : owned_(other.text()), group_(other.group_), name_(other.name_),
      parameters_(other.parameters_), value_(other.value_), property_(other.property_),
      encoded_(other.encoded_) {}

VCardLine& VCardLine::operator=(const VCardLine& other) {
    if (this != &other) {
        owned_ = std::string(other.text());
        borrowed_ = {};
        group_ = other.group_;
        name_ = other.name_;
        parameters_ = other.parameters_;
        value_ = other.value_;
        property_ = other.property_;
        encoded_ = other.encoded_;
    }
    return *this;
}

std::optional<VCardLine> VCardLine::parse(std::string text) {
    std::optional<VCardLine> line(std::in_place);
    line->owned_ = std::move(text);
    // An empty owned text reads as the (empty) borrowed one, which parses to nothing either way.
    if (!line->parseText())
        line.reset();
    return line;
}

std::optional<VCardLine> VCardLine::parseBorrowed(std::string_view text) {
    std::optional<VCardLine> line(std::in_place);
    line->borrowed_ = text;
    if (!line->parseText())
        line.reset();
    return line;
}

bool VCardLine::parseText() {
    VCardLine& line = *this;
    const std::string_view text = line.text();
    const std::size_t size = text.size();
    // A line that begins with a blank continues a folded one (here: an empty line's); on its own it
    // is no content line, and written back it would fold into the line before it. A group name is
    // never empty: ".BEGIN:VCARD" is no content line either, or written back without its dot it
    // would begin a card.
    if (size > UINT32_MAX || size == 0 || text[0] == ' ' || text[0] == '\t' || text[0] == '.')
        return false;
    std::size_t pos = 0;
    auto span = [](std::size_t begin, std::size_t end) {
        return Span{static_cast<uint32_t>(begin), static_cast<uint32_t>(end - begin)};
    };
    std::size_t nameBegin = 0;
    while (pos < size && text[pos] != ';' && text[pos] != ':') {
        if (text[pos] == '.' && nameBegin == 0) {
            line.group_ = span(0, pos);
            nameBegin = pos + 1;
        }
        ++pos;
    }
    line.name_ = span(nameBegin, pos);
    if (line.name_.length == 0 || pos == size)
        return false;
    // Parameters: skip to the ':' that is not inside a quoted value.
    const std::size_t parametersBegin = pos;
    bool quoted = false;
    while (pos < size && (quoted || text[pos] != ':')) {
        if (text[pos] == '"')
            quoted = !quoted;
        ++pos;
    }
    if (pos == size)
        return false;
    line.parameters_ = span(parametersBegin, pos);
    line.value_ = span(pos + 1, size);
    line.property_ = propertyOfName(line.name());
    bool encoded = false;
    if (!line.visitParameters([&encoded](std::string_view name, std::string_view) {
            encoded = encoded || equalsIgnoringCase(name, "ENCODING") ||
                      equalsIgnoringCase(name, "CHARSET");
            return false;
        }))
        return false;
    line.encoded_ = encoded;
    return true;
}

template <typename Visit> bool VCardLine::visitParameters(Visit visit) const {
    const std::string_view text = view(parameters_);
    std::size_t pos = 0;
    const std::size_t size = text.size();
    while (pos < size && text[pos] == ';') {
        const std::size_t nameBegin = ++pos;
        while (pos < size && text[pos] != '=' && text[pos] != ';')
            ++pos;
        const std::string_view name = text.substr(nameBegin, pos - nameBegin);
        if (pos == size || text[pos] == ';') {
            // Bare words, commas between them as between values ("TEL;WORK,FAX:").
            for (std::size_t begin = 0; begin < name.size();) {
                std::size_t end = name.find(',', begin);
                if (end == std::string_view::npos)
                    end = name.size();
                const std::string_view word = name.substr(begin, end - begin);
                begin = end + 1;
                if (word.empty())
                    continue;
                const bool encoding =
                    std::any_of(std::begin(kTransferEncodings), std::end(kTransferEncodings),
                                [&](std::string_view e) { return equalsIgnoringCase(word, e); });
                if (visit(encoding ? std::string_view("ENCODING") : std::string_view("TYPE"), word))
                    return true;
            }
            continue;
        }
        // Values, each unquoted or quoted; a quoted value is itself a comma-separated list.
        do {
            ++pos;
            if (pos < size && text[pos] == '"') {
                const std::size_t quoteEnd = text.find('"', pos + 1);
                if (quoteEnd == std::string_view::npos)
                    return false;
                for (std::size_t begin = pos + 1; begin <= quoteEnd;) {
                    std::size_t end = text.find(',', begin);
                    if (end == std::string_view::npos || end > quoteEnd)
                        end = quoteEnd;
                    if (visit(name, text.substr(begin, end - begin)))
                        return true;
                    begin = end + 1;
                }
                pos = quoteEnd + 1;
            } else {
                const std::size_t begin = pos;
                while (pos < size && text[pos] != ',' && text[pos] != ';')
                    ++pos;
                if (visit(name, text.substr(begin, pos - begin)))
                    return true;
            }
        } while (pos < size && text[pos] == ',');
        if (pos < size && text[pos] != ';')
            return false;
    }
    return pos == size;
}

VCardLine::Property VCardLine::propertyOf(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = 0;
    for (; end < text.size() && text[end] != ';' && text[end] != ':'; ++end)
        if (text[end] == '.' && begin == 0)
            begin = end + 1;
    return propertyOfName(text.substr(begin, end - begin));
}

VCardLine::Property VCardLine::propertyOfName(std::string_view name) {
    // Most names have a length none of the known ones has.
    if (name.size() > kLongestPropertyName || !kPropertyNameLengths[name.size()])
        return Property::Other;
    for (const auto& [known, property] : kProperties)
        if (equalsIgnoringCase(name, known))
            return property;
    return Property::Other;
}

bool VCardLine::isNamed(std::string_view name) const {
    return equalsIgnoringCase(this->name(), name);
}

std::vector<VCardLine::Parameter> VCardLine::parameters() const {
    std::vector<Parameter> all;
    visitParameters([&all](std::string_view name, std::string_view value) {
        all.emplace_back(name, value);
        return false;
    });
    return all;
}

std::optional<std::string_view> VCardLine::parameter(std::string_view name) const {
    std::optional<std::string_view> found;
    visitParameters([&](std::string_view parameterName, std::string_view value) {
        if (equalsIgnoringCase(parameterName, name))
            found = value;
        return found.has_value();
    });
    return found;
}

bool VCardLine::hasParameter(std::string_view name, std::string_view value) const {
    bool found = false;
    visitParameters([&](std::string_view parameterName, std::string_view parameterValue) {
        found =
            equalsIgnoringCase(parameterName, name) && equalsIgnoringCase(parameterValue, value);
        return found;
    });
    return found;
}

bool VCardLine::isQuotedPrintable() const {
    return hasParameter("ENCODING", "QUOTED-PRINTABLE");
}

std::optional<std::string> VCardLine::decodedValue() const {
    std::optional<std::string> decoded = decodedBytes();
    if (!decoded)
        return decoded;
    // A NUL ends a text in every field it is copied to: an empty name would hide the rest.
    decoded->erase(std::remove(decoded->begin(), decoded->end(), '\0'), decoded->end());
    // Line breaks read as the one a vCard text can write back ("\n"), so a value decoded with
    // CR LF or a lone CR reads the same after a rewrite.
    if (decoded->find('\r') != std::string::npos)
        *decoded = lineBreaksAsLineFeeds(*decoded);
    return decoded;
}

bool VCardLine::isBase64() const {
    return hasParameter("ENCODING", "b") || hasParameter("ENCODING", "BASE64");
}

std::optional<std::string> VCardLine::transferDecodedBytes() const {
    if (isQuotedPrintable())
        return decodeQuotedPrintable(rawValue());
    if (isBase64())
        return decodeBase64(rawValue());
    return std::string(rawValue());
}

std::optional<std::string> VCardLine::decodedBytes() const {
    std::optional<std::string> transferDecoded = transferDecodedBytes();
    if (!transferDecoded)
        return std::nullopt;
    std::string bytes = std::move(*transferDecoded);
    const std::optional<std::string_view> charset = parameter("CHARSET");
    if (charset && !isUtf8Name(*charset)) {
        std::string name(*charset);
        for (const auto& [alias, iconvName] : kCharsetAliases)
            if (equalsIgnoringCase(*charset, alias))
                name = iconvName;
        return convertToUtf8(bytes, name.c_str());
    }
    if (isValidUtf8(bytes))
        return bytes;
    if (auto converted = convertToUtf8(bytes, "WINDOWS-1252"))
        return converted;
    return convertToUtf8(bytes, "ISO-8859-1");
}

std::optional<std::string> VCardLine::textValue() const {
    auto decoded = decodedValue();
    if (!decoded)
        return std::nullopt;
    if (decoded->find('\\') == std::string::npos)
        return decoded;
    return unescapeText(*decoded);
}

std::optional<std::vector<std::string>> VCardLine::components() const {
    const auto decoded = decodedValue();
    if (!decoded)
        return std::nullopt;
    std::vector<std::string> parts;
    std::size_t begin = 0;
    for (std::size_t i = 0; i <= decoded->size(); ++i) {
        if (i == decoded->size() || (*decoded)[i] == ';') {
            parts.push_back(unescapeText(std::string_view(*decoded).substr(begin, i - begin)));
            begin = i + 1;
        } else if ((*decoded)[i] == '\\') {
            ++i;
        }
    }
    return parts;
}

std::optional<std::string_view> VCardLine::plainValue() const {
    if (encoded_)
        return std::nullopt;
    const std::string_view value = rawValue();
    unsigned char highBits = 0;
    for (const char c : value) {
        if (c == '\\' || c == '\0')
            return std::nullopt;
        highBits |= static_cast<unsigned char>(c);
    }
    if (highBits >= 0x80 && !isValidUtf8(value))
        return std::nullopt;
    return value;
}

std::optional<std::string_view> VCardLine::textValue(std::string& scratch) const {
    if (const auto plain = plainValue())
        return plain;
    auto text = textValue();
    if (!text)
        return std::nullopt;
    scratch = std::move(*text);
    return std::string_view(scratch);
}

int VCardLine::preference() const {
    int best = kNoPreference;
    visitParameters([&best](std::string_view name, std::string_view value) {
        if (equalsIgnoringCase(name, "PREF")) {
            int number = 1;
            const auto [end, error] =
                std::from_chars(value.data(), value.data() + value.size(), number);
            if (error != std::errc() || end != value.data() + value.size() || number < 1)
                number = 1;
            best = std::min(best, number);
        } else if (equalsIgnoringCase(name, "TYPE") && equalsIgnoringCase(value, "PREF")) {
            best = 1;
        }
        return false;
    });
    return best;
}

bool VCardLine::continuesQuotedPrintable(std::string_view text) {
    if (text.empty() || text.back() != '=')
        return false;
    // The same test as decoding: a line joined at its soft line breaks is one whose value is then
    // decoded as quoted-printable, and no other (a parameter that merely mentions the word, as a
    // changed card keeps it, ends its line at a fold like any other).
    const auto line = parseBorrowed(text);
    return line && line->isQuotedPrintable();
}

} // namespace xdirkit
