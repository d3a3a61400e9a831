#include "VCardReader.h"

#include "VCardLine.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <iconv.h>
#include <memory>
#include <string>

namespace xdirkit {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr std::string_view kUtf16BeBom = "\xFE\xFF";

bool isBlank(std::string_view line) {
    for (const char c : line)
        if (c != ' ' && c != '\t')
            return false;
    return true;
}

// "BEGIN:VCARD" or "END:VCARD", any case, with blanks around.
bool isMarker(std::string_view line, std::string_view marker) {
    // Most lines are told apart by their first character.
    if (line.size() < marker.size() ||
        (line[0] != ' ' && line[0] != '\t' && (line[0] | 0x20) != (marker[0] | 0x20)))
        return false;
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t'))
        line.remove_suffix(1);
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
        line.remove_prefix(1);
    return equalsIgnoringCase(line, marker);
}

// A UTF-16 book (some programs export so) as UTF-8; null when it does not convert.
std::optional<std::string> utf8FromUtf16Bytes(std::string_view bytes, const char* encoding) {
    iconv_t converter = ::iconv_open("UTF-8", encoding);
    if (converter == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;
    std::unique_ptr<void, int (*)(iconv_t)> closer(converter, ::iconv_close);
    std::string in(bytes);
    std::string out(bytes.size() * 2 + 4, '\0');
    char* inPointer = in.data();
    std::size_t inLeft = in.size();
    char* outPointer = out.data();
    std::size_t outLeft = out.size();
    if (::iconv(converter, &inPointer, &inLeft, &outPointer, &outLeft) == static_cast<size_t>(-1))
        return std::nullopt;
    out.resize(out.size() - outLeft);
    return out;
}

// Walks the physical lines of a text: each with its bytes and the offset past its line end. The
// line after the current one is found once, whether peeked at or taken.
class PhysicalLines {
public:
    explicit PhysicalLines(std::string_view text, std::size_t start)
        : text_(text), position_(start) {
        scan();
    }

    bool next(std::string_view& line, std::size_t& end) {
        if (!hasNext_)
            return false;
        line = nextLine_;
        end = position_ = nextEnd_;
        scan();
        return true;
    }

    bool peek(std::string_view& line) const {
        line = nextLine_;
        return hasNext_;
    }

    std::size_t position() const { return position_; }

private:
    void scan() {
        hasNext_ = position_ < text_.size();
        if (!hasNext_)
            return;
        const std::size_t stop = lineEndFrom(position_);
        nextLine_ = text_.substr(position_, stop - position_);
        nextEnd_ = stop;
        if (nextEnd_ < text_.size() && text_[nextEnd_++] == '\r' && nextEnd_ < text_.size() &&
            text_[nextEnd_] == '\n')
            ++nextEnd_;
    }

    // The first CR or LF from offset from, else the end of the text. Eight bytes at a time: the
    // words of a line hold no byte below CR but the odd tab, and finding the line ends is most
    // of the reader's work.
    std::size_t lineEndFrom(std::size_t from) const {
        const char* data = text_.data();
        const std::size_t size = text_.size();
        std::size_t at = from;
        if constexpr (std::endian::native == std::endian::little) {
            constexpr uint64_t kOnes = 0x0101010101010101ULL;
            constexpr uint64_t kHighBits = 0x8080808080808080ULL;
            for (; at + sizeof(uint64_t) <= size; at += sizeof(uint64_t)) {
                uint64_t word = 0;
                std::memcpy(&word, data + at, sizeof word);
                // A high bit for each byte below CR + 1 (and maybe for bytes after one): the
                // lowest is exact, the others are checked.
                for (uint64_t below = (word - kOnes * ('\r' + 1)) & ~word & kHighBits; below != 0;
                     below &= below - 1) {
                    const std::size_t byte =
                        at + static_cast<std::size_t>(std::countr_zero(below)) / 8;
                    if (data[byte] == '\n' || data[byte] == '\r')
                        return byte;
                }
            }
        }
        while (at < size && data[at] != '\n' && data[at] != '\r')
            ++at;
        return at;
    }

    std::string_view text_;
    std::size_t position_;
    bool hasNext_ = false;
    std::string_view nextLine_;
    std::size_t nextEnd_ = 0;
};

// The lines personal entries and groups are made of.
bool isForRecords(std::string_view line) {
    const VCardLine::Property property = VCardLine::propertyOf(line);
    return property != VCardLine::Property::Other && property != VCardLine::Property::Version;
}

// A UTF-16 book becomes UTF-8 in place; the answer is where the text begins (past a UTF-8
// byte-order mark), null when a UTF-16 book does not convert.
std::optional<std::size_t> toUtf8Text(std::string& bytes) {
    if (VCardReader::encodingOf(bytes) != VCardReader::Encoding::Utf8) {
        auto converted = VCardReader::utf8Text(std::move(bytes));
        if (!converted)
            return std::nullopt;
        bytes = std::move(*converted);
    }
    return std::string_view(bytes).substr(0, kUtf8Bom.size()) == kUtf8Bom ? kUtf8Bom.size() : 0;
}

// Calls emit(lines, begin, length, openCards) for each card of text from start, in file order
// (openCards: how many cards the end of the text left open, 0 for a whole card);
// emit may take the lines and answers false to stop. False when the text holds something other
// than blank lines but no card at all.
template <typename Emit>
bool scanCards(std::string_view text, std::size_t start, VCardReader::Lines keep, Emit emit) {
    std::vector<VCardLine> lines;
    bool sawOtherText = false;
    bool sawCard = false;
    int depth = 0;
    // Cards of one book tend to be alike: room for as many lines as the last card had.
    std::size_t expectedLines = 0;
    std::size_t cardBegin = 0;
    PhysicalLines physical(text, start);
    std::string_view first;
    std::size_t lineBegin = physical.position();
    std::size_t end = 0;
    while (physical.next(first, end)) {
        // A logical line: the first physical line, its folded continuations and, for a
        // quoted-printable value, the lines after each soft line break.
        std::string joined;
        std::string_view logical = first;
        std::string_view following;
        while (physical.peek(following)) {
            const bool folded = !following.empty() && (following[0] == ' ' || following[0] == '\t');
            // A value broken before the card's end would swallow the end marker.
            const bool softBreak = VCardLine::continuesQuotedPrintable(logical) &&
                                   !isMarker(following, "END:VCARD") &&
                                   !isMarker(following, "BEGIN:VCARD");
            if (!folded && !softBreak)
                break;
            if (joined.empty())
                joined.assign(logical);
            if (softBreak)
                joined.pop_back();
            joined.append(softBreak ? following : following.substr(1));
            logical = joined;
            physical.next(following, end);
        }
        const std::size_t thisBegin = lineBegin;
        lineBegin = physical.position();

        if (depth == 0) {
            if (isMarker(logical, "BEGIN:VCARD")) {
                depth = 1;
                cardBegin = thisBegin;
                lines.clear();
                lines.reserve(expectedLines);
            } else if (!isBlank(logical)) {
                sawOtherText = true;
            }
            continue;
        }
        if (isMarker(logical, "BEGIN:VCARD")) {
            ++depth;
        } else if (isMarker(logical, "END:VCARD")) {
            if (--depth == 0) {
                expectedLines = lines.size();
                sawCard = true;
                if (!emit(lines, cardBegin, lineBegin - cardBegin, 0))
                    return true;
            }
        } else if (depth == 1 && !isBlank(logical) &&
                   (keep == VCardReader::Lines::All || isForRecords(logical))) {
            // An unfolded line is borrowed from the book's text, which the card keeps.
            auto line = joined.empty() ? VCardLine::parseBorrowed(logical)
                                       : VCardLine::parse(std::move(joined));
            if (line)
                lines.push_back(std::move(*line));
        }
    }
    if (depth > 0) {
        sawCard = true;
        emit(lines, cardBegin, text.size() - cardBegin, depth);
    }
    return sawCard || !sawOtherText;
}

} // namespace

VCardReader::Encoding VCardReader::encodingOf(std::string_view bytes) {
    if (bytes.substr(0, 2) == kUtf16LeBom)
        return Encoding::Utf16LittleEndian;
    if (bytes.substr(0, 2) == kUtf16BeBom)
        return Encoding::Utf16BigEndian;
    return Encoding::Utf8;
}

std::optional<std::string> VCardReader::utf8Text(std::string bytes) {
    const Encoding encoding = encodingOf(bytes);
    if (encoding == Encoding::Utf8)
        return bytes;
    return utf8FromUtf16Bytes(std::string_view(bytes).substr(2),
                              encoding == Encoding::Utf16LittleEndian ? "UTF-16LE" : "UTF-16BE");
}

std::optional<std::vector<VCardCard>> VCardReader::read(std::string bytes, Lines keep) {
    const std::optional<std::size_t> start = toUtf8Text(bytes);
    if (!start)
        return std::nullopt;
    // The cards keep their original bytes as parts of this one string.
    const auto source = std::make_shared<const std::string>(std::move(bytes));
    std::vector<VCardCard> cards;
    const bool isBook = scanCards(
        *source, *start, keep,
        [&](std::vector<VCardLine>& lines, std::size_t begin, std::size_t length, int openCards) {
            cards.emplace_back(std::move(lines), source, begin, length, openCards);
            return true;
        });
    if (!isBook)
        return std::nullopt;
    return cards;
}

namespace {

bool visitCards(std::string_view text, std::size_t start, VCardReader::Lines keep,
                const std::function<bool(const VCardCard&)>& visit) {
    return scanCards(text, start, keep,
                     [&visit](std::vector<VCardLine>& lines, std::size_t begin, std::size_t length,
                              int openCards) {
                         VCardCard card(std::move(lines), nullptr, begin, length, openCards);
                         const bool goOn = visit(card);
                         lines = card.releaseLines();
                         return goOn;
                     });
}

} // namespace

bool VCardReader::forEachCard(std::string& text, Lines keep,
                              const std::function<bool(const VCardCard&)>& visit) {
    const std::optional<std::size_t> start = toUtf8Text(text);
    if (!start)
        return false;
    return visitCards(text, *start, keep, visit);
}

bool VCardReader::forEachCard(std::string_view bytes, Lines keep,
                              const std::function<bool(const VCardCard&)>& visit) {
    if (encodingOf(bytes) != Encoding::Utf8) {
        std::string text(bytes);
        return forEachCard(text, keep, visit);
    }
    const std::size_t start = bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom ? kUtf8Bom.size() : 0;
    return visitCards(bytes, start, keep, visit);
}

} // namespace xdirkit
