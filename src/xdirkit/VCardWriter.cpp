#include "VCardWriter.h"

#include "BookFile.h"
#include "PersonalRecords.h"
#include "RecordText.h"
#include "VCardReader.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <ctime>
#include <random>
#include <set>
#include <sys/random.h>
#include <utility>

namespace xdirkit {
namespace {

constexpr std::size_t kFoldWidth = 75;
constexpr std::string_view kLineEnd = "\r\n";

std::string textOf(const uint16_t* field, std::size_t units) {
    const auto text = readField(field, units);
    return text ? utf8FromUtf16(*text).value_or("") : "";
}

bool isContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// Where a line longer than width is folded. Never inside a character (bytes that are no UTF-8
// are cut anywhere), and never right after an '=': a quoted-printable value whose physical line
// ends in '=' goes on at a soft line break, which would keep the fold's blank in the value. A
// segment of nothing but '=' runs on past them (a line that is longer than 75 bytes still reads).
std::size_t foldPoint(std::string_view line, std::size_t width) {
    std::size_t cut = width;
    for (int i = 0; i < 3 && cut > 1 && isContinuationByte(line[cut]); ++i)
        --cut;
    std::size_t beforeEquals = cut;
    while (beforeEquals > 0 && line[beforeEquals - 1] == '=')
        --beforeEquals;
    if (beforeEquals > 0)
        return beforeEquals;
    while (cut < line.size() && line[cut] == '=')
        ++cut;
    if (cut < line.size())
        ++cut;
    while (cut < line.size() && isContinuationByte(line[cut]))
        ++cut;
    return cut;
}

// Appends one content line, folded so that no physical line passes 75 bytes (but for a run of
// '=' as foldPoint says).
void appendFolded(std::string& out, std::string_view line) {
    std::size_t width = kFoldWidth;
    while (line.size() > width) {
        const std::size_t cut = foldPoint(line, width);
        out.append(line.substr(0, cut));
        line.remove_prefix(cut);
        if (line.empty())
            break;
        out.append(kLineEnd);
        out += ' ';
        width = kFoldWidth - 1;
    }
    out.append(line);
    out.append(kLineEnd);
}

std::string revisionOf(int64_t seconds) {
    std::time_t time = static_cast<std::time_t>(seconds);
    std::tm parts{};
    if (::gmtime_r(&time, &parts) == nullptr || parts.tm_year < 0 || parts.tm_year > 8099) {
        time = std::time(nullptr);
        ::gmtime_r(&time, &parts);
    }
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%dT%H%M%SZ", &parts);
    return text;
}

// A decoded value keeps its structure (';', ',' and '\\' mean what they meant) but its line
// feeds would end the written line. A backslash left unpaired before a line feed escaped nothing
// and stays a backslash of its own.
std::string lineFeedsEscaped(std::string_view value) {
    std::string out;
    out.reserve(value.size());
    for (const char c : value) {
        if (c != '\n') {
            out += c;
            continue;
        }
        const std::size_t lastOther = out.find_last_not_of('\\');
        const std::size_t backslashes =
            out.size() - (lastOther == std::string::npos ? 0 : lastOther + 1);
        if (backslashes % 2 == 1)
            out += '\\';
        out.append("\\n");
    }
    return out;
}

// A parameter's name or value read from a malformed line may hold a '"', which no written name or
// value can: written as read, it would open or close a quoted value and end the parameters at
// the wrong ':' (moving text between the parameters and the value). It is written as RFC 6868
// writes a quote, "^'"; left out instead, a type such as `"fax` would turn into `fax`.
std::string quotesEscaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text)
        c == '"' ? out.append("^'") : out.append(1, c);
    return out;
}

// A BEGIN or END line the reader kept inside a card was no marker (a parameter or a group told it
// apart). It means nothing to the card, and written as a 4.0 line it could become a marker: a
// nested card or the card's end, either way the lines after it, fax numbers too, would be lost.
bool isStrayMarker(const VCardLine& line) {
    return line.isNamed("BEGIN") || line.isNamed("END");
}

// A base64 value of these is data (a picture, a sound, a key); of any other property it is text.
bool isBinary(const VCardLine& line) {
    return line.isBase64() && (line.isNamed("PHOTO") || line.isNamed("LOGO") ||
                               line.isNamed("SOUND") || line.isNamed("KEY"));
}

// A base64 value (2.1 folds may have left blanks in it) as a data: URI, its media type from the
// line's TYPE ("JPEG" is image/jpeg for a PHOTO or LOGO, audio/... for a SOUND).
std::string dataUri(const VCardLine& line) {
    std::string base64;
    for (const char c : line.rawValue())
        if (c != ' ' && c != '\t')
            base64 += c;
    std::string format(line.parameter("TYPE").value_or(""));
    std::transform(format.begin(), format.end(), format.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    std::string mediaType;
    if (!format.empty() && format.find('/') == std::string::npos)
        mediaType = (line.isNamed("SOUND") ? "audio/" : "image/") + format;
    else
        mediaType = format;
    return "data:" + mediaType + ";base64," + base64;
}

// A line of any version as a 4.0 line: bare 2.1 parameters become TYPE, ENCODING and CHARSET go
// (the value is decoded), and the 3.0 group extensions take their 4.0 names.
std::string lineAsVersion4(const VCardLine& line) {
    const bool recoded =
        line.parameter("ENCODING").has_value() || line.parameter("CHARSET").has_value();
    // A value in a character set this computer does not know cannot be decoded: written as it
    // is, with the parameters that say how, it is not lost and reads as it read before.
    if (recoded && !isBinary(line) && !line.decodedValue())
        return std::string(line.text());
    // 4.0 has no inline binary: an encoded photo, logo or sound becomes a data: URI, and the
    // type that named its format goes into the URI.
    const bool binary = isBinary(line);
    std::string name(line.name());
    if (line.isNamed("X-ADDRESSBOOKSERVER-KIND"))
        name = "KIND";
    else if (line.isNamed("X-ADDRESSBOOKSERVER-MEMBER"))
        name = "MEMBER";
    std::string out;
    if (!line.group().empty()) {
        out.append(line.group());
        out += '.';
    }
    out += name;
    for (const auto& [parameter, value] : line.parameters()) {
        if (equalsIgnoringCase(parameter, "ENCODING") || equalsIgnoringCase(parameter, "CHARSET") ||
            (binary && equalsIgnoringCase(parameter, "TYPE")))
            continue;
        // Only the quotes of a malformed line let a ':' into a name; written, it would end the
        // parameters there and turn the rest into the value.
        if (parameter.find(':') != std::string_view::npos)
            continue;
        out += ';';
        out += quotesEscaped(parameter);
        out += '=';
        const std::string written = quotesEscaped(value);
        const bool needsQuotes = written.find_first_of(",;:") != std::string::npos;
        if (needsQuotes)
            out += '"';
        out += written;
        if (needsQuotes)
            out += '"';
    }
    out += ':';
    if (binary)
        out += dataUri(line);
    else if (recoded)
        out += lineFeedsEscaped(line.decodedValue().value_or(""));
    else
        out.append(line.rawValue());
    return out;
}

// Name and fax number pairs as the records hold them.
using Identity = std::pair<std::u16string, std::u16string>;

Identity identityOf(const XDIRMyFaxRecord& record) {
    return {readField(record.name, XDIR_NAME_UNITS).value_or(u""),
            readField(record.faxNumber, XDIR_FAX_NUMBER_UNITS).value_or(u"")};
}

bool endsWithLineEnd(std::string_view text) {
    return !text.empty() && (text.back() == '\n' || text.back() == '\r');
}

// Text that follows the end of a book: a last line without its line end gets one first, or the
// next card would be glued onto it ("END:VCARDBEGIN:VCARD").
std::vector<const VCardCard*> addressesOf(const std::vector<VCardCard>& cards) {
    std::vector<const VCardCard*> addresses;
    addresses.reserve(cards.size());
    for (const VCardCard& card : cards)
        addresses.push_back(&card);
    return addresses;
}

void startNewLine(std::string& text) {
    if (!text.empty() && !endsWithLineEnd(text))
        text.append(kLineEnd);
}

// UTF-8 text in a UTF-16 book's own encoding (without a byte-order mark); as it is otherwise.
std::string inEncoding(std::string_view utf8, VCardReader::Encoding encoding) {
    if (encoding == VCardReader::Encoding::Utf8)
        return std::string(utf8);
    const std::u16string units = utf16FromUtf8(utf8).value_or(u"");
    const bool littleEndian = encoding == VCardReader::Encoding::Utf16LittleEndian;
    std::string bytes;
    bytes.reserve(units.size() * 2);
    for (const char16_t unit : units) {
        const auto low = static_cast<char>(unit & 0xFF);
        const auto high = static_cast<char>(unit >> 8);
        bytes += littleEndian ? low : high;
        bytes += littleEndian ? high : low;
    }
    return bytes;
}

// The name and fax number of each record as a reader of the book will read them back (blanks
// around a name, a "tel:" prefix dropped); null when a record would not read back as one entry.
std::optional<std::vector<Identity>> identitiesReadBack(const std::string& cardsText,
                                                        std::size_t count) {
    const auto cards = VCardReader::read(cardsText);
    PersonalRecords readBack;
    if (!cards || readBack.build(*cards) != XDIR_OK || readBack.entries.size() != count)
        return std::nullopt;
    std::vector<Identity> identities;
    for (const XDIRMyFaxRecord& record : readBack.entries)
        identities.push_back(identityOf(record));
    return identities;
}

} // namespace

std::string VCardWriter::inEncodingOf(std::string_view text, std::string_view like) {
    const VCardReader::Encoding encoding = VCardReader::encodingOf(like);
    if (encoding == VCardReader::Encoding::Utf8)
        return std::string(text);
    return std::string(like.substr(0, 2)) + inEncoding(text, encoding);
}

void VCardWriter::convertToEncodingOf(std::string& text, std::string_view like) {
    if (VCardReader::encodingOf(like) != VCardReader::Encoding::Utf8)
        text = inEncodingOf(text, like);
}

void VCardWriter::closeOpenCards(std::string& text, int openCards) {
    if (openCards <= 0)
        return;
    startNewLine(text);
    for (int i = 0; i < openCards; ++i)
        appendFolded(text, "END:VCARD");
}

std::string VCardWriter::newUid() {
    uint8_t bytes[16];
    if (::getrandom(bytes, sizeof bytes, 0) != static_cast<ssize_t>(sizeof bytes)) {
        std::random_device device;
        for (uint8_t& byte : bytes)
            byte = static_cast<uint8_t>(device());
    }
    bytes[6] = static_cast<uint8_t>((bytes[6] & 0x0F) | 0x40);
    bytes[8] = static_cast<uint8_t>((bytes[8] & 0x3F) | 0x80);
    char text[37];
    std::snprintf(text, sizeof text,
                  "%02x%02x%02x%02x-%02x%02x-%02x%02x-%02x%02x-%02x%02x%02x%02x%02x%02x", bytes[0],
                  bytes[1], bytes[2], bytes[3], bytes[4], bytes[5], bytes[6], bytes[7], bytes[8],
                  bytes[9], bytes[10], bytes[11], bytes[12], bytes[13], bytes[14], bytes[15]);
    return std::string("urn:uuid:") + text;
}

std::string VCardWriter::entryCard(const XDIRMyFaxRecord& record, const std::string& uid) {
    const std::string name = escapeText(textOf(record.name, XDIR_NAME_UNITS));
    const std::string company = textOf(record.company, XDIR_COMPANY_UNITS);
    const std::string note = textOf(record.note, XDIR_NOTE_UNITS);
    std::string out;
    appendFolded(out, "BEGIN:VCARD");
    appendFolded(out, "VERSION:4.0");
    appendFolded(out, "FN:" + name);
    appendFolded(out, "N:" + name + ";;;;");
    appendFolded(out,
                 "TEL;TYPE=fax:" + escapeText(textOf(record.faxNumber, XDIR_FAX_NUMBER_UNITS)));
    if (!company.empty())
        appendFolded(out, "ORG:" + escapeText(company));
    if (!note.empty())
        appendFolded(out, "NOTE:" + escapeText(note));
    appendFolded(out, "UID:" + uid);
    appendFolded(out, "REV:" + revisionOf(record.timeStamp));
    appendFolded(out, "END:VCARD");
    return out;
}

std::string VCardWriter::cardText(const VCardCard& card) {
    if (!card.original().empty()) {
        std::string text(card.original());
        if (card.isCutOff())
            closeOpenCards(text, card.missingEnds());
        return text;
    }
    const std::string version = card.version();
    if (version != "2.1" && version != "3.0" && version != "4.0")
        return cardTextAsVersion4(card);
    // In its own version: every line as it is (the changed ones were made in that version).
    std::string out;
    appendFolded(out, "BEGIN:VCARD");
    for (const VCardLine& line : card.lines())
        if (!isStrayMarker(line))
            appendFolded(out, line.text());
    appendFolded(out, "END:VCARD");
    return out;
}

std::string VCardWriter::cardTextAsVersion4(const VCardCard& card) {
    std::string out;
    appendFolded(out, "BEGIN:VCARD");
    appendFolded(out, "VERSION:4.0");
    for (const VCardLine& line : card.lines())
        if (!line.isNamed("VERSION") && !isStrayMarker(line))
            appendFolded(out, lineAsVersion4(line));
    appendFolded(out, "END:VCARD");
    return out;
}

int32_t VCardWriter::appendEntries(const std::string& path, const PersonalEntries& records) {
    std::string added;
    for (const XDIRMyFaxRecord& record : records)
        added += entryCard(record, newUid());
    // What is added is compared as it will read back.
    const auto addedIdentities = identitiesReadBack(added, records.size());
    if (!addedIdentities)
        return XDIR_ERR_BAD_RECORD;
    return BookFile::update(
        path, [&](const std::optional<std::string>& current, std::string& replacement) {
            std::set<Identity> known;
            // Added behind every byte already there, in the book's own encoding.
            std::string tail;
            auto encoding = VCardReader::Encoding::Utf8;
            if (current) {
                encoding = VCardReader::encodingOf(*current);
                auto text = VCardReader::utf8Text(*current);
                if (!text)
                    return XDIR_ERR_FILE_MALFORMED;
                // The end of the book: its last line ended, and a card it leaves open (with the
                // cards nested in it) closed, or the new cards would be read as part of it.
                if (!text->empty() && !endsWithLineEnd(*text))
                    tail = kLineEnd;
                const auto cards = VCardReader::read(std::move(*text));
                if (!cards)
                    return XDIR_ERR_FILE_MALFORMED;
                PersonalRecords existing;
                if (const int32_t status = existing.build(*cards); status != XDIR_OK)
                    return status;
                for (const XDIRMyFaxRecord& record : existing.entries)
                    known.insert(identityOf(record));
                if (!cards->empty())
                    closeOpenCards(tail, cards->back().missingEnds());
            }
            for (const Identity& identity : *addedIdentities)
                if (!known.insert(identity).second)
                    return XDIR_ERR_DUPLICATE_ENTRY;
            replacement = current.value_or("");
            replacement += inEncoding(tail + added, encoding);
            return XDIR_OK;
        });
}

std::string VCardWriter::bookText(const std::vector<VCardCard>& cards, Versions versions) {
    return bookText(addressesOf(cards), versions);
}

std::string VCardWriter::bookText(const std::vector<const VCardCard*>& cards, Versions versions) {
    std::size_t size = 0;
    for (const VCardCard* card : cards)
        size += card->original().size() + kLineEnd.size();
    std::string text;
    text.reserve(size);
    for (const VCardCard* card : cards) {
        // A last card read without its final line end keeps its bytes, unless a card follows.
        startNewLine(text);
        if (versions == Versions::Own && !card->original().empty() && !card->isCutOff())
            text += card->original(); // an unchanged card, without a copy of its own
        else
            text += versions == Versions::AllAs4 ? cardTextAsVersion4(*card) : cardText(*card);
    }
    return text;
}

int32_t VCardWriter::writeBook(const std::string& path, const std::vector<VCardCard>& cards,
                               Versions versions) {
    return writeBook(path, addressesOf(cards), versions);
}

int32_t VCardWriter::writeBook(const std::string& path, const std::vector<const VCardCard*>& cards,
                               Versions versions) {
    return BookFile::update(
        path, [&](const std::optional<std::string>& current, std::string& replacement) {
            replacement = bookText(cards, versions);
            if (current && versions == Versions::Own)
                convertToEncodingOf(replacement, *current);
            return XDIR_OK;
        });
}

} // namespace xdirkit
