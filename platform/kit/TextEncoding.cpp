#include "kit/TextEncoding.h"

#include <QStringDecoder>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iconv.h>
#include <vector>

namespace kit::TextEncoding {

namespace {

// Code points go in as UTF-32 in a fixed byte order, so iconv never looks for a byte-order mark.
constexpr const char* kCodePointCharset = "UTF-32LE";
// Room for a conversion's output: every pair of encodings here writes at most four bytes per
// input byte (one Shift-JIS byte is three UTF-8 bytes; two can be two characters of three).
constexpr size_t kOutputBytesPerInputByte = 4;
constexpr size_t kOutputSlack = 16;
// Far above any text this system converts, and low enough that the room cannot overflow.
constexpr size_t kLargestInput = size_t{1} << 28;

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
    //
    // The output gets room for the whole result at once instead of a chunk at a time: glibc's
    // Shift-JIS X0213 decoder, asked to write a code that decodes to two characters into a
    // chunk with room for one, answers "output full" without taking any input and writes the
    // held character again on every retry. Should the room still be short, it is grown once
    // and the conversion started over; after that the conversion fails instead of looping.
    std::optional<QByteArray> convert(const char* input, size_t length) {
        if (length > kLargestInput) {
            return std::nullopt;
        }
        size_t room = kOutputBytesPerInputByte * length + kOutputSlack;
        for (int attempt = 0; attempt < 2; ++attempt, room *= kOutputBytesPerInputByte) {
            QByteArray output(static_cast<qsizetype>(room), Qt::Uninitialized);
            const std::optional<size_t> written = convertInto(input, length, output.data(), room);
            if (written) {
                output.truncate(static_cast<qsizetype>(*written));
                return output;
            }
            if (errno != E2BIG) {
                return std::nullopt;
            }
        }
        return std::nullopt;
    }

private:
    // One pass from the initial state, input and shift-state flush; the bytes written, or none
    // with errno telling why.
    std::optional<size_t> convertInto(const char* input, size_t length, char* output, size_t room) {
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        char* in = const_cast<char*>(input);
        size_t inLeft = length;
        char* out = output;
        size_t outLeft = room;
        if (length > 0 && iconv(cd, &in, &inLeft, &out, &outLeft) == static_cast<size_t>(-1)) {
            return std::nullopt;
        }
        if (iconv(cd, nullptr, nullptr, &out, &outLeft) == static_cast<size_t>(-1)) {
            return std::nullopt;
        }
        return room - outLeft;
    }

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

// The yen sign and the overline are written as those same two bytes, so they would come back as
// backslash and tilde: such a text cannot be written in Shift-JIS without changing it.
bool comesBackChanged(char32_t codePoint, StringEncoding encoding) {
    return encoding == ShiftJIS_X0213 && (codePoint == 0x00A5 || codePoint == 0x203E);
}

// Qt's plain UTF-8 decoding skips a leading byte-order mark; here it is text like any other.
QString decodeUtf8KeepingBom(QByteArrayView bytes, bool* valid) {
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
    QString text = decoder.decode(bytes);
    *valid = !decoder.hasError();
    return text;
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
            if (!codePoint || comesBackChanged(*codePoint, encoding)) {
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

std::optional<QByteArray> bytesFromString(const QString& text, StringEncoding encoding) {
    const char* name = iconvName(encoding);
    if (name == nullptr) {
        return std::nullopt;
    }
    if (std::any_of(text.cbegin(), text.cend(), [encoding](QChar unit) {
            return comesBackChanged(unit.unicode(), encoding);
        })) {
        return std::nullopt;
    }
    bool valid = false;
    const QByteArray input = allCodePointBytes(text, &valid);
    if (!valid) {
        return std::nullopt;
    }
    Iconv converter(name, kCodePointCharset);
    if (!converter.isOpen()) {
        return std::nullopt;
    }
    return converter.convert(input.constData(), static_cast<size_t>(input.size()));
}

bool getCString(const QString& text, StringEncoding encoding, char* buffer, qsizetype bufferSize) {
    if (buffer == nullptr || bufferSize < 1) {
        return false;
    }
    const std::optional<QByteArray> bytes = bytesFromString(text, encoding);
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
    // iconv passes the five- and six-byte forms of old UTF-8 and code points past U+10FFFF;
    // no character has them, so such bytes are not text of this encoding.
    bool valid = false;
    QString text = decodeUtf8KeepingBom(*utf8, &valid);
    if (!valid) {
        return std::nullopt;
    }
    if (encoding == ShiftJIS_X0213) {
        readSingleBytesAsAscii(text);
    }
    return text;
}

QString decodeUtf8(QByteArrayView bytes) {
    bool valid = false;
    return decodeUtf8KeepingBom(bytes, &valid);
}

std::optional<QString> stringFromCString(const char* bytes, StringEncoding encoding) {
    if (bytes == nullptr) {
        return std::nullopt;
    }
    return stringFromBytes(bytes, static_cast<qsizetype>(std::strlen(bytes)), encoding);
}

} // namespace kit::TextEncoding
