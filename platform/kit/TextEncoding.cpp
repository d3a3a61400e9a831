#include "kit/TextEncoding.h"

#include <cerrno>
#include <cstring>
#include <iconv.h>
#include <vector>

namespace kit::TextEncoding {

namespace {

// Code points go in as UTF-32 in a fixed byte order, so iconv never looks for a byte-order mark.
constexpr const char* kCodePointCharset = "UTF-32LE";

class Iconv {
public:
    Iconv(const char* to, const char* from) : cd(iconv_open(to, from)) {}
    ~Iconv() {
        if (isOpen()) {
            iconv_close(cd);
        }
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;

    bool isOpen() const { return cd != reinterpret_cast<iconv_t>(-1); }

    // The whole input converted, including the bytes a stateful encoding holds back until the
    // end; none when any of it cannot be converted. Starts from the initial state every time.
    std::optional<QByteArray> convert(const char* input, size_t length) {
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        QByteArray output;
        std::vector<char> chunk(256);
        char* in = const_cast<char*>(input);
        size_t inLeft = length;
        for (;;) {
            char* out = chunk.data();
            size_t outLeft = chunk.size();
            const size_t done = inLeft > 0 ? iconv(cd, &in, &inLeft, &out, &outLeft)
                                           : iconv(cd, nullptr, nullptr, &out, &outLeft);
            output.append(chunk.data(), static_cast<qsizetype>(chunk.size() - outLeft));
            if (done != static_cast<size_t>(-1)) {
                if (inLeft == 0 && in == nullptr) {
                    return output;
                }
                if (inLeft == 0) {
                    in = nullptr; // flush the shift state next round
                }
                continue;
            }
            if (errno != E2BIG) {
                return std::nullopt;
            }
        }
    }

private:
    iconv_t cd;
};

QByteArray codePointBytes(char32_t codePoint) {
    QByteArray bytes(4, '\0');
    bytes[0] = static_cast<char>(codePoint & 0xFF);
    bytes[1] = static_cast<char>((codePoint >> 8) & 0xFF);
    bytes[2] = static_cast<char>((codePoint >> 16) & 0xFF);
    bytes[3] = static_cast<char>((codePoint >> 24) & 0xFF);
    return bytes;
}

// The code point starting at index and how many UTF-16 units it takes; a lone surrogate gives
// none (no encoding represents it).
std::optional<char32_t> codePointAt(const QString& text, qsizetype index, qsizetype* units) {
    const char16_t unit = text.at(index).unicode();
    *units = 1;
    if (QChar::isHighSurrogate(unit) && index + 1 < text.size() &&
        QChar::isLowSurrogate(text.at(index + 1).unicode())) {
        *units = 2;
        return QChar::surrogateToUcs4(unit, text.at(index + 1).unicode());
    }
    if (QChar::isSurrogate(unit)) {
        return std::nullopt;
    }
    return unit;
}

QByteArray allCodePointBytes(const QString& text, bool* valid) {
    QByteArray bytes;
    *valid = true;
    for (qsizetype i = 0; i < text.size();) {
        qsizetype units = 0;
        const std::optional<char32_t> codePoint = codePointAt(text, i, &units);
        if (!codePoint) {
            *valid = false;
            return {};
        }
        bytes.append(codePointBytes(*codePoint));
        i += units;
    }
    return bytes;
}

// iconv's Shift-JIS table reads the single bytes 0x5C and 0x7E as yen sign and overline (JIS X
// 0201), while it writes backslash and tilde as those very bytes. Nothing else reads as these two
// characters, so turning them back keeps the ASCII range ASCII and a text survives a round trip.
void readSingleBytesAsAscii(QString& text) {
    text.replace(QChar(0x00A5), QLatin1Char('\\'));
    text.replace(QChar(0x203E), QLatin1Char('~'));
}

} // namespace

const char* iconvName(StringEncoding encoding) {
    switch (encoding) {
    case UTF8:
        return "UTF-8";
    case ShiftJIS_X0213:
        return "SHIFT_JISX0213";
    case ISOLatin1:
        return "ISO-8859-1";
    case WindowsLatin1:
        return "CP1252";
    case ASCII:
        return "ASCII";
    default:
        return nullptr;
    }
}

qsizetype getBytes(const QString& text, StringEncoding encoding, unsigned char* buffer,
                   qsizetype bufferLength, qsizetype* usedLength) {
    qsizetype used = 0;
    qsizetype converted = 0;
    const char* name = iconvName(encoding);
    if (name != nullptr && buffer != nullptr) {
        Iconv converter(name, kCodePointCharset);
        while (converter.isOpen() && converted < text.size()) {
            qsizetype units = 0;
            const std::optional<char32_t> codePoint = codePointAt(text, converted, &units);
            if (!codePoint) {
                break;
            }
            const QByteArray input = codePointBytes(*codePoint);
            const std::optional<QByteArray> bytes =
                converter.convert(input.constData(), static_cast<size_t>(input.size()));
            if (!bytes || bytes->isEmpty() || bytes->size() > bufferLength - used) {
                break;
            }
            std::memcpy(buffer + used, bytes->constData(), static_cast<size_t>(bytes->size()));
            used += bytes->size();
            converted += units;
        }
    }
    if (usedLength != nullptr) {
        *usedLength = used;
    }
    return converted;
}

bool getCString(const QString& text, StringEncoding encoding, char* buffer, qsizetype bufferSize) {
    const char* name = iconvName(encoding);
    if (name == nullptr || buffer == nullptr || bufferSize < 1) {
        return false;
    }
    bool valid = false;
    const QByteArray input = allCodePointBytes(text, &valid);
    if (!valid) {
        return false;
    }
    Iconv converter(name, kCodePointCharset);
    if (!converter.isOpen()) {
        return false;
    }
    const std::optional<QByteArray> bytes =
        converter.convert(input.constData(), static_cast<size_t>(input.size()));
    if (!bytes || bytes->size() + 1 > bufferSize) {
        return false;
    }
    std::memcpy(buffer, bytes->constData(), static_cast<size_t>(bytes->size()));
    buffer[bytes->size()] = '\0';
    return true;
}

std::optional<QString> stringFromBytes(const char* bytes, qsizetype length,
                                       StringEncoding encoding) {
    const char* name = iconvName(encoding);
    if (name == nullptr || (bytes == nullptr && length > 0) || length < 0) {
        return std::nullopt;
    }
    if (length == 0) {
        return QString(QLatin1StringView(""));
    }
    Iconv converter("UTF-8", name);
    if (!converter.isOpen()) {
        return std::nullopt;
    }
    const std::optional<QByteArray> utf8 = converter.convert(bytes, static_cast<size_t>(length));
    if (!utf8) {
        return std::nullopt;
    }
    QString text = QString::fromUtf8(*utf8);
    if (encoding == ShiftJIS_X0213) {
        readSingleBytesAsAscii(text);
    }
    return text;
}

std::optional<QString> stringFromCString(const char* bytes, StringEncoding encoding) {
    if (bytes == nullptr) {
        return std::nullopt;
    }
    return stringFromBytes(bytes, static_cast<qsizetype>(std::strlen(bytes)), encoding);
}

} // namespace kit::TextEncoding
