// Text encodings. Properties: decoding never hangs or grows without bound; a decoded text encodes
// again, and that decodes to the same text; getBytes converts a prefix whose bytes decode to that
// prefix; getCString is all or nothing.
#include "FuzzSupport.h"
#include "kit/TextEncoding.h"

#include <QString>
#include <iterator>
#include <vector>

namespace {

namespace enc = kit::TextEncoding;

constexpr kit::StringEncoding kEncodings[] = {enc::UTF8, enc::ShiftJIS_X0213, enc::ISOLatin1,
                                              enc::WindowsLatin1, enc::ASCII};

void checkDecodedTextEncodesAgain(const QByteArray& bytes, kit::StringEncoding encoding) {
    const std::optional<QString> text =
        enc::stringFromBytes(bytes.constData(), bytes.size(), encoding);
    if (!text) {
        return;
    }
    const std::optional<QByteArray> again = enc::bytesFromString(*text, encoding);
    FUZZ_CHECK(again.has_value());
    FUZZ_CHECK(enc::stringFromBytes(again->constData(), again->size(), encoding) == text);
    if (encoding != enc::ShiftJIS_X0213) {
        FUZZ_CHECK(*again == bytes); // one byte sequence per text in these encodings
    }
}

void checkTextConverts(const QString& text, kit::StringEncoding encoding, qsizetype capacity) {
    std::vector<unsigned char> buffer(static_cast<size_t>(capacity) + 1, 0xA5);
    qsizetype used = -1;
    const qsizetype converted = enc::getBytes(text, encoding, buffer.data(), capacity, &used);
    FUZZ_CHECK(converted >= 0 && converted <= text.size());
    FUZZ_CHECK(used >= 0 && used <= capacity);
    FUZZ_CHECK(buffer[static_cast<size_t>(capacity)] == 0xA5);
    if (converted > 0) {
        FUZZ_CHECK(enc::stringFromBytes(reinterpret_cast<const char*>(buffer.data()), used,
                                        encoding) == text.left(converted));
    }

    std::vector<char> cString(static_cast<size_t>(capacity) + 1);
    if (enc::getCString(text, encoding, cString.data(), capacity + 1)) {
        const std::optional<QByteArray> whole = enc::bytesFromString(text, encoding);
        FUZZ_CHECK(whole.has_value() && whole->size() <= capacity);
        FUZZ_CHECK(std::memcmp(cString.data(), whole->constData(),
                               static_cast<size_t>(whole->size()) + 1) == 0);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 1 << 16) {
        return 0;
    }
    fuzz::InputReader input(data, size);
    const uint8_t choice = input.takeByte();
    const kit::StringEncoding encoding = kEncodings[choice % std::size(kEncodings)];
    const qsizetype capacity = input.takeByte();

    const QByteArray bytes(reinterpret_cast<const char*>(input.rest()),
                           static_cast<qsizetype>(input.restSize()));
    checkDecodedTextEncodesAgain(bytes, encoding);

    QString text;
    while (input.restSize() >= 2) {
        text.append(QChar(input.takeUint16()));
    }
    checkTextConverts(text, encoding, capacity);
    return 0;
}
