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

bool needsEscaping(const char* bytes) {
    return std::strpbrk(bytes, ",'\\/") != nullptr;
}

// Each byte as "/" and its value taken as a signed 8-bit number. An element that would not fit
// whole in the 1023 characters is dropped with all that follow.
QByteArray slashDecimalForm(const char* bytes) {
    QByteArray encoded;
    for (const char* byte = bytes; *byte != '\0'; ++byte) {
        char element[8];
        const int length = std::snprintf(element, sizeof element, "/%d",
                                         static_cast<int>(static_cast<signed char>(*byte)));
        if (encoded.size() + length > static_cast<qsizetype>(kEncodedBufferSize) - 1) {
            break;
        }
        encoded.append(element, length);
    }
    return encoded;
}

unsigned char decodedByte(const char* element) {
    const long value = std::strtol(element, nullptr, 10);
    if (value >= 255) {
        return 255;
    }
    return static_cast<unsigned char>(value); // negative values wrap modulo 256
}

QByteArray decodeSlashDecimal(const char* bytes) {
    QByteArray decoded;
    QByteArray elements(bytes + 1); // after the leading "/"
    for (const QByteArray& element : elements.split('/')) {
        decoded.append(static_cast<char>(decodedByte(element.constData())));
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
    std::array<char, kWorkBufferSize> bytes{};
    if (!kit::TextEncoding::getCString(*text, encoding, bytes.data(), bytes.size())) {
        printDiagnostic("CopyEncodedString : CFStringGetCString failed.");
        return std::nullopt;
    }
    if (text->isEmpty() || !needsEscaping(bytes.data())) {
        return text;
    }
    const QByteArray encoded = slashDecimalForm(bytes.data());
    return kit::TextEncoding::stringFromBytes(encoded.constData(), encoded.size(), encoding);
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
    std::array<char, kWorkBufferSize> bytes{};
    if (!kit::TextEncoding::getCString(*text, encoding, bytes.data(), bytes.size())) {
        printDiagnostic("CopyDecodedString : CFStringGetCString failed.");
        return std::nullopt;
    }
    if (std::strlen(bytes.data()) < 2) {
        return kit::TextEncoding::stringFromCString(bytes.data(), encoding);
    }
    const QByteArray decoded = decodeSlashDecimal(bytes.data());
    return kit::TextEncoding::stringFromCString(decoded.constData(), encoding);
}

} // namespace tarvik_pde_m40vextel
