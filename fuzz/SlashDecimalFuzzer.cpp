// The slash-decimal form and the password scrambling of the panel's texts. Properties: every text
// the encoder accepts decodes to itself, and the decoder never cuts what it accepts; a scrambled
// password unscrambles to itself.
#include "FuzzSupport.h"
#include "common/UtilityFunctions.h"

#include <QString>
#include <iterator>

namespace {

namespace enc = kit::TextEncoding;
using namespace tarvik_pde_m40vextel;

constexpr kit::StringEncoding kEncodings[] = {enc::UTF8, enc::ShiftJIS_X0213, enc::ISOLatin1,
                                              enc::WindowsLatin1, enc::ASCII};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 4096) {
        return 0;
    }
    fuzz::InputReader input(data, size);
    const kit::StringEncoding encoding = kEncodings[input.takeByte() % std::size(kEncodings)];
    QString text;
    while (input.restSize() >= 2) {
        text.append(QChar(input.takeUint16()));
    }

    fuzz::muteLibraryDiagnostics();
    const std::optional<QString> encoded = CopyEncodedString(text, encoding);
    if (encoded) {
        FUZZ_CHECK(encoded->size() <= 1023);
        FUZZ_CHECK(CopyDecodedString(encoded, encoding) == text);
    }
    // Whatever the decoder accepts encodes back to a form that decodes the same.
    if (const std::optional<QString> decoded = CopyDecodedString(text, encoding)) {
        if (const std::optional<QString> again = CopyEncodedString(decoded, encoding)) {
            FUZZ_CHECK(CopyDecodedString(again, encoding) == decoded);
        }
    }
    if (const std::optional<QString> scrambled = CreateEncryptedString(text, encoding)) {
        const std::optional<QByteArray> bytes = enc::bytesFromString(text, encoding);
        if (bytes && bytes->size() <= 189) {
            FUZZ_CHECK(CreateDecryptedString(scrambled, encoding) == text);
        }
    }
    return 0;
}
