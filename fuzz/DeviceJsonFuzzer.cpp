// The printer's answers: the address-book and status documents and the Digest headers.
// Properties: a book that is accepted keeps every rule and reads back equal from the text it
// writes; a state that is read is one of the three; a challenge or credentials that are read
// carry the members the exchange needs and survive being written and read again.
#include "DeviceBook.h"
#include "DigestAuth.h"
#include "FuzzSupport.h"

#include <string_view>

using xdirkit::DeviceBook;
using xdirkit::DigestAuth;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    DeviceBook::Error error;
    if (const auto book = DeviceBook::fromJson(text, &error)) {
        FUZZ_CHECK(book->brokenRule().empty());
        FUZZ_CHECK(DeviceBook::fromJson(book->toJson()) == book);
    } else {
        FUZZ_CHECK(!error.reason.empty());
    }

    if (const auto state = DeviceBook::stateFromJson(text))
        FUZZ_CHECK(*state == "ready" || *state == "busy" || *state == "error");

    if (const auto challenge = DigestAuth::parseChallenge(text)) {
        FUZZ_CHECK(!challenge->realm.empty() && !challenge->nonce.empty());
        const auto again = DigestAuth::parseChallenge(DigestAuth::formatChallenge(*challenge));
        FUZZ_CHECK(again && again->realm == challenge->realm && again->nonce == challenge->nonce &&
                   again->opaque == challenge->opaque && again->stale == challenge->stale);
    }
    if (const auto credentials = DigestAuth::parseCredentials(text))
        FUZZ_CHECK(!credentials->nonce.empty() && !credentials->response.empty() &&
                   credentials->nonceCount <= 0xFFFFFFFFul);
    return 0;
}
