#include "UtilityFunctions.h"

// Password scrambling and the slash-decimal form. The other topics of UtilityFunctions.h live in
// UtilityFunctions<Topic>.cpp beside this file.

#include "xsplib/xspenclib.h"

#include <QByteArrayList>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace tarvik_pde_m40vextel {

namespace {

constexpr size_t kWorkBufferSize = 256;
constexpr int32_t kWorkCapacity = 255;
constexpr size_t kEncodedBufferSize = 1024;

using WorkBuffer = std::array<unsigned char, kWorkBufferSize>;

void printDiagnostic(const char* line) {
    std::fputs(line, stderr);
    std::fputc('\n', stderr);
}

bool needsEscaping(const QByteArray& bytes) {
    for (const char byte : bytes) {
        if (byte == ',' || byte == '\'' || byte == '\\' || byte == '/') {
            return true;
        }
    }
    return false;
}

// Each byte, 0 included, as "/" and its value taken as a signed 8-bit number.
QByteArray slashDecimalForm(const QByteArray& bytes) {
    QByteArray encoded;
    for (const char byte : bytes) {
        encoded.append('/');
        encoded.append(QByteArray::number(static_cast<int>(static_cast<signed char>(byte))));
    }
    return encoded;
}

// None when the element is not a decimal number.
std::optional<unsigned char> decodedByte(const QByteArray& element) {
    char* end = nullptr;
    const long value = std::strtol(element.constData(), &end, 10);
    if (end == element.constData() || *end != '\0') {
        return std::nullopt;
    }
    if (value >= 255) {
        return 255;
    }
    return static_cast<unsigned char>(value); // negative values wrap modulo 256
}

// The bytes after the leading "/"; none when an element is no number (a 0 byte among them too).
std::optional<QByteArray> decodeSlashDecimal(const QByteArray& form) {
    QByteArray decoded;
    for (const QByteArray& element : form.mid(1).split('/')) {
        const std::optional<unsigned char> byte = decodedByte(element);
        if (!byte) {
            return std::nullopt;
        }
        decoded.append(static_cast<char>(*byte));
    }
    return decoded;
}

} // namespace

std::optional<QString> CreateEncryptedString(const std::optional<QString>& text,
                                             kit::StringEncoding encoding) {
    if (!text) {
        return std::nullopt;
    }
    WorkBuffer plain{};
    qsizetype plainLength = 0;
    if (kit::TextEncoding::getBytes(*text, encoding, plain.data(), plain.size(), &plainLength) ==
        0) {
        return std::nullopt;
    }
    WorkBuffer scrambled{};
    int32_t scrambledLength = 0;
    if (XspEncrypt(plain.data(), static_cast<int32_t>(plainLength), scrambled.data(),
                   &scrambledLength, kWorkCapacity) != 0) {
        return std::nullopt;
    }
    plain.fill(0);
    int32_t textLength = 0;
    if (XspBinToB64(scrambled.data(), scrambledLength, reinterpret_cast<char*>(plain.data()),
                    &textLength, kWorkCapacity) != 0) {
        return std::nullopt;
    }
    return kit::TextEncoding::stringFromBytes(reinterpret_cast<const char*>(plain.data()),
                                              textLength, kit::TextEncoding::ASCII);
}

std::optional<QString> CreateDecryptedString(const std::optional<QString>& text,
                                             kit::StringEncoding encoding) {
    if (!text) {
        return std::nullopt;
    }
    WorkBuffer base64{};
    qsizetype base64Length = 0;
    if (kit::TextEncoding::getBytes(*text, kit::TextEncoding::ASCII, base64.data(), base64.size(),
                                    &base64Length) == 0) {
        return std::nullopt;
    }
    WorkBuffer scrambled{};
    int32_t scrambledLength = 0;
    if (XspB64ToBin(reinterpret_cast<const char*>(base64.data()),
                    static_cast<int32_t>(base64Length), scrambled.data(), &scrambledLength,
                    kWorkCapacity) != 0) {
        return std::nullopt;
    }
    base64.fill(0);
    int32_t plainLength = 0;
    if (XspEncrypt(scrambled.data(), scrambledLength, base64.data(), &plainLength, kWorkCapacity) !=
        0) {
        return std::nullopt;
    }
    return kit::TextEncoding::stringFromBytes(reinterpret_cast<const char*>(base64.data()),
                                              plainLength, encoding);
}

std::optional<QString> CopyEncodedString(const std::optional<QString>& text,
                                         kit::StringEncoding encoding) {
    if (!text) {
        return std::nullopt;
    }
    const std::optional<QByteArray> bytes = kit::TextEncoding::bytesFromString(*text, encoding);
    if (!bytes || bytes->size() > kWorkCapacity) {
        printDiagnostic("CopyEncodedString : CFStringGetCString failed.");
        return std::nullopt;
    }
    if (text->isEmpty() || !needsEscaping(*bytes)) {
        return text;
    }
    const QByteArray encoded = slashDecimalForm(*bytes);
    // A cut form would decode to another text: refuse what does not fit whole.
    if (encoded.size() > static_cast<qsizetype>(kEncodedBufferSize) - 1) {
        printDiagnostic("CopyEncodedString : the encoded form exceeds 1023 characters.");
        return std::nullopt;
    }
    return QString::fromLatin1(encoded);
}

std::optional<QString> CopyDecodedString(const std::optional<QString>& text,
                                         kit::StringEncoding encoding) {
    if (!text) {
        printDiagnostic("CopyDecodedString : an argument is NULL.");
        return std::nullopt;
    }
    if (text->isEmpty() || text->front() != QLatin1Char('/')) {
        return text;
    }
    const std::optional<QByteArray> bytes = kit::TextEncoding::bytesFromString(*text, encoding);
    if (!bytes) {
        printDiagnostic("CopyDecodedString : CFStringGetCString failed.");
        return std::nullopt;
    }
    if (bytes->size() < 2) {
        return kit::TextEncoding::stringFromBytes(bytes->constData(), bytes->size(), encoding);
    }
    const std::optional<QByteArray> decoded = decodeSlashDecimal(*bytes);
    if (!decoded) {
        printDiagnostic("CopyDecodedString : not a slash-decimal form.");
        return std::nullopt;
    }
    return kit::TextEncoding::stringFromBytes(decoded->constData(), decoded->size(), encoding);
}

} // namespace tarvik_pde_m40vextel
