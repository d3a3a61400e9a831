#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace xdirkit {

// HTTP Digest access authentication with SHA-256 and qop "auth" (RFC 7616): the challenge and
// credential headers, and the response hash. Shared by the printer client, which answers
// challenges, and the printer simulator, which checks credentials, so both speak one dialect.
// Parsing never throws: a header that cannot be read gives no value.
class DigestAuth {
public:
    // The fixed user name of the printer's address book; the password is the user's code.
    static constexpr std::string_view kUserName = "vextel";
    static constexpr std::string_view kAlgorithm = "SHA-256";
    static constexpr std::string_view kQop = "auth";

    // A "WWW-Authenticate: Digest ..." value.
    struct Challenge {
        std::string realm;
        std::string nonce;
        std::string opaque;
        bool stale = false;
    };

    // An "Authorization: Digest ..." value.
    struct Credentials {
        std::string username;
        std::string realm;
        std::string nonce;
        std::string uri;
        std::string response;
        std::string cnonce;
        std::string opaque;
        unsigned long nonceCount = 0;
    };

    // Absent unless the value is a Digest challenge with SHA-256, qop "auth", a realm and a nonce.
    static std::optional<Challenge> parseChallenge(std::string_view header);
    // Absent unless the value is Digest credentials with every member RFC 7616 requires for
    // SHA-256 and qop "auth".
    static std::optional<Credentials> parseCredentials(std::string_view header);

    static std::string formatChallenge(const Challenge& challenge);
    // The Authorization value answering the challenge for one request.
    static std::string formatCredentials(const Challenge& challenge, std::string_view method,
                                         std::string_view uri, std::string_view password,
                                         unsigned long nonceCount, std::string_view cnonce);

    // The "response" member: KD(H(A1), nonce:nc:cnonce:qop:H(A2)), lower-case hex.
    static std::string responseHash(std::string_view username, std::string_view realm,
                                    std::string_view password, std::string_view method,
                                    std::string_view uri, std::string_view nonce,
                                    std::string_view nonceCountHex, std::string_view cnonce);

    static std::string sha256Hex(std::string_view data);
    // Cryptographically random bytes as lower-case hex (2 characters per byte).
    static std::string randomHex(std::size_t bytes);
    // Compares two texts in time that does not depend on where they differ.
    static bool equalInConstantTime(std::string_view a, std::string_view b);

    // The name=value pairs after the scheme "Digest" (names in lower case); absent for another
    // scheme or a malformed list.
    static std::optional<std::map<std::string, std::string>>
    parseParameters(std::string_view header);
};

} // namespace xdirkit
