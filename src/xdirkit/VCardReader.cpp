#include "VCardReader.h"

#include "VCardLine.h"

#include <iconv.h>
#include <memory>
#include <string>

namespace xdirkit {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr std::string_view kUtf16BeBom = "\xFE\xFF";

bool isBlank(std::string_view line) {
    return line.find_first_not_of(" \t") == std::string_view::npos;
}

// "BEGIN:VCARD" or "END:VCARD", any case, with blanks around.
bool isMarker(std::string_view line, std::string_view marker) {
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t'))
        line.remove_suffix(1);
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
        line.remove_prefix(1);
    return equalsIgnoringCase(line, marker);
}

// A UTF-16 book (some programs export so) as UTF-8; empty when it does not convert.
std::string utf8FromUtf16Bytes(std::string_view bytes, const char* encoding) {
    iconv_t converter = ::iconv_open("UTF-8", encoding);
    if (converter == reinterpret_cast<iconv_t>(-1))
        return {};
    std::unique_ptr<void, int (*)(iconv_t)> closer(converter, ::iconv_close);
    std::string in(bytes);
    std::string out(bytes.size() * 2 + 4, '\0');
    char* inPointer = in.data();
    std::size_t inLeft = in.size();
    char* outPointer = out.data();
    std::size_t outLeft = out.size();
    if (::iconv(converter, &inPointer, &inLeft, &outPointer, &outLeft) == static_cast<size_t>(-1))
        return {};
    out.resize(out.size() - outLeft);
    return out;
}

// Walks the physical lines of a text: each with its bytes and the offset past its line end.
class PhysicalLines {
public:
    explicit PhysicalLines(std::string_view text) : text_(text) {}

    bool next(std::string_view& line, std::size_t& end) {
        if (position_ >= text_.size())
            return false;
        std::size_t stop = text_.find_first_of("\r\n", position_);
        if (stop == std::string_view::npos)
            stop = text_.size();
        line = text_.substr(position_, stop - position_);
        end = stop;
        if (end < text_.size() && text_[end++] == '\r' && end < text_.size() && text_[end] == '\n')
            ++end;
        position_ = end;
        return true;
    }

    bool peek(std::string_view& line) {
        std::size_t saved = position_;
        std::size_t end = 0;
        const bool found = next(line, end);
        position_ = saved;
        return found;
    }

    void skip() {
        std::string_view line;
        std::size_t end = 0;
        next(line, end);
    }

    std::size_t position() const { return position_; }

private:
    std::string_view text_;
    std::size_t position_ = 0;
};

} // namespace

std::optional<std::vector<VCardCard>> VCardReader::read(std::string_view text) {
    std::string converted;
    if (text.substr(0, kUtf8Bom.size()) == kUtf8Bom) {
        text.remove_prefix(kUtf8Bom.size());
    } else if (text.substr(0, 2) == kUtf16LeBom || text.substr(0, 2) == kUtf16BeBom) {
        converted = utf8FromUtf16Bytes(text.substr(2), text[0] == '\xFF' ? "UTF-16LE" : "UTF-16BE");
        text = converted;
    }

    std::vector<VCardCard> cards;
    std::vector<VCardLine> lines;
    bool sawOtherText = false;
    int depth = 0;
    std::size_t cardBegin = 0;
    PhysicalLines physical(text);
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
            const bool softBreak =
                VCardLine::continuesQuotedPrintable(logical) && !isMarker(following, "END:VCARD");
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
            } else if (!isBlank(logical)) {
                sawOtherText = true;
            }
            continue;
        }
        if (isMarker(logical, "BEGIN:VCARD")) {
            ++depth;
        } else if (isMarker(logical, "END:VCARD")) {
            if (--depth == 0)
                cards.emplace_back(std::move(lines),
                                   std::string(text.substr(cardBegin, lineBegin - cardBegin)));
        } else if (depth == 1 && !isBlank(logical)) {
            if (auto line = VCardLine::parse(std::string(logical)))
                lines.push_back(std::move(*line));
        }
    }
    if (depth > 0)
        cards.emplace_back(std::move(lines), std::string());
    if (cards.empty() && sawOtherText)
        return std::nullopt;
    return cards;
}

} // namespace xdirkit
