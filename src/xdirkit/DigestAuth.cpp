#include "DigestAuth.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <nettle/sha2.h>
#include <sys/random.h>

namespace xdirkit {

namespace {

constexpr std::string_view kScheme = "digest";

bool isTokenCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           std::string_view("!#$%&'*+-.^_`|~").find(c) != std::string_view::npos;
}

std::string toLower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

void skipSpaces(std::string_view text, std::size_t& at) {
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t'))
        ++at;
}

std::string_view readToken(std::string_view text, std::size_t& at) {
    const std::size_t start = at;
    while (at < text.size() && isTokenCharacter(text[at]))
        ++at;
    return text.substr(start, at - start);
}

// A quoted-string with its backslash escapes undone; absent when the closing quote is missing.
std::optional<std::string> readQuoted(std::string_view text, std::size_t& at) {
    std::string value;
    for (++at; at < text.size(); ++at) {
        if (text[at] == '"') {
            ++at;
            return value;
        }
        if (text[at] == '\\' && ++at == text.size())
            break;
        value += text[at];
    }
    return std::nullopt;
}

std::string quoted(std::string_view value) {
    std::string text = "\"";
    for (char c : value) {
        if (c == '"' || c == '\\')
            text += '\\';
        text += c;
    }
    return text + '"';
}

std::string hex(const unsigned char* bytes, std::size_t count) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    text.reserve(count * 2);
    for (std::size_t i = 0; i < count; ++i) {
        text += kDigits[bytes[i] >> 4];
        text += kDigits[bytes[i] & 0x0F];
    }
    return text;
}

std::string nonceCountHex(unsigned long count) {
    std::array<char, 17> text{};
    std::snprintf(text.data(), text.size(), "%08lx", count);
    return text.data();
}

std::string valueOr(const std::map<std::string, std::string>& parameters, const char* name) {
    const auto found = parameters.find(name);
    return found == parameters.end() ? std::string() : found->second;
}

bool sameIgnoringCase(std::string_view a, std::string_view b) {
    return toLower(a) == toLower(b);
}

// RFC 7616 lets qop carry a list ("auth,auth-int"); we need "auth" among them.
bool offersAuth(std::string_view qopList) {
    std::size_t at = 0;
    while (at <= qopList.size()) {
        std::size_t end = qopList.find(',', at);
        if (end == std::string_view::npos)
            end = qopList.size();
        std::string_view item = qopList.substr(at, end - at);
        while (!item.empty() && item.front() == ' ')
            item.remove_prefix(1);
        while (!item.empty() && item.back() == ' ')
            item.remove_suffix(1);
        if (sameIgnoringCase(item, DigestAuth::kQop))
            return true;
        at = end + 1;
    }
    return false;
}

} // namespace

std::optional<std::map<std::string, std::string>>
DigestAuth::parseParameters(std::string_view header) {
    std::size_t at = 0;
    skipSpaces(header, at);
    if (toLower(readToken(header, at)) != kScheme)
        return std::nullopt;
    std::map<std::string, std::string> parameters;
    for (;;) {
        skipSpaces(header, at);
        while (at < header.size() && header[at] == ',') {
            ++at;
            skipSpaces(header, at);
        }
        if (at == header.size())
            return parameters;
        const std::string name = toLower(readToken(header, at));
        skipSpaces(header, at);
        if (name.empty() || at == header.size() || header[at] != '=')
            return std::nullopt;
        ++at;
        skipSpaces(header, at);
        std::optional<std::string> value;
        if (at < header.size() && header[at] == '"')
            value = readQuoted(header, at);
        else
            value = std::string(readToken(header, at));
        // A repeated member would let two readers of one header disagree.
        if (!value || !parameters.emplace(name, *value).second)
            return std::nullopt;
        skipSpaces(header, at);
        if (at < header.size() && header[at] != ',')
            return std::nullopt;
    }
}

std::optional<DigestAuth::Challenge> DigestAuth::parseChallenge(std::string_view header) {
    const auto parameters = parseParameters(header);
    if (!parameters || !sameIgnoringCase(valueOr(*parameters, "algorithm"), kAlgorithm) ||
        !offersAuth(valueOr(*parameters, "qop")))
        return std::nullopt;
    Challenge challenge{valueOr(*parameters, "realm"), valueOr(*parameters, "nonce"),
                        valueOr(*parameters, "opaque"),
                        sameIgnoringCase(valueOr(*parameters, "stale"), "true")};
    if (challenge.realm.empty() || challenge.nonce.empty())
        return std::nullopt;
    return challenge;
}

std::optional<DigestAuth::Credentials> DigestAuth::parseCredentials(std::string_view header) {
    const auto parameters = parseParameters(header);
    if (!parameters || !sameIgnoringCase(valueOr(*parameters, "algorithm"), kAlgorithm) ||
        valueOr(*parameters, "qop") != kQop)
        return std::nullopt;
    Credentials credentials{valueOr(*parameters, "username"), valueOr(*parameters, "realm"),
                            valueOr(*parameters, "nonce"),    valueOr(*parameters, "uri"),
                            valueOr(*parameters, "response"), valueOr(*parameters, "cnonce"),
                            valueOr(*parameters, "opaque"),   0};
    const std::string count = valueOr(*parameters, "nc");
    if (count.size() != 8 || count.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
        return std::nullopt;
    credentials.nonceCount = std::stoul(count, nullptr, 16);
    if (credentials.username.empty() || credentials.nonce.empty() || credentials.uri.empty() ||
        credentials.response.empty() || credentials.cnonce.empty())
        return std::nullopt;
    return credentials;
}

std::string DigestAuth::formatChallenge(const Challenge& challenge) {
    std::string text = "Digest realm=" + quoted(challenge.realm) +
                       ", qop=\"auth\", algorithm=" + std::string(kAlgorithm) +
                       ", nonce=" + quoted(challenge.nonce);
    if (!challenge.opaque.empty())
        text += ", opaque=" + quoted(challenge.opaque);
    if (challenge.stale)
        text += ", stale=true";
    return text;
}

std::string DigestAuth::formatCredentials(const Challenge& challenge, std::string_view method,
                                          std::string_view uri, std::string_view password,
                                          unsigned long nonceCount, std::string_view cnonce) {
    const std::string count = nonceCountHex(nonceCount);
    std::string text = "Digest username=" + quoted(kUserName) +
                       ", realm=" + quoted(challenge.realm) + ", uri=" + quoted(uri) +
                       ", algorithm=" + std::string(kAlgorithm) +
                       ", nonce=" + quoted(challenge.nonce) + ", nc=" + count +
                       ", cnonce=" + quoted(cnonce) + ", qop=auth, response=" +
                       quoted(responseHash(kUserName, challenge.realm, password, method, uri,
                                           challenge.nonce, count, cnonce));
    if (!challenge.opaque.empty())
        text += ", opaque=" + quoted(challenge.opaque);
    return text;
}

std::string DigestAuth::responseHash(std::string_view username, std::string_view realm,
                                     std::string_view password, std::string_view method,
                                     std::string_view uri, std::string_view nonce,
                                     std::string_view nonceCountHex, std::string_view cnonce) {
    const std::string a1 =
        sha256Hex(std::string(username) + ':' + std::string(realm) + ':' + std::string(password));
    const std::string a2 = sha256Hex(std::string(method) + ':' + std::string(uri));
    return sha256Hex(a1 + ':' + std::string(nonce) + ':' + std::string(nonceCountHex) + ':' +
                     std::string(cnonce) + ':' + std::string(kQop) + ':' + a2);
}

std::string DigestAuth::sha256Hex(std::string_view data) {
    sha256_ctx context;
    sha256_init(&context);
    sha256_update(&context, data.size(), reinterpret_cast<const std::uint8_t*>(data.data()));
    std::array<std::uint8_t, SHA256_DIGEST_SIZE> digest{};
    sha256_digest(&context, digest.size(), digest.data());
    return hex(digest.data(), digest.size());
}

std::string DigestAuth::randomHex(std::size_t bytes) {
    std::string buffer(bytes, '\0');
    auto* data = reinterpret_cast<unsigned char*>(buffer.data());
    for (std::size_t filled = 0; filled < bytes;) {
        const ssize_t got = getrandom(data + filled, bytes - filled, 0);
        if (got < 0 && errno != EINTR)
            return {};
        filled += got > 0 ? static_cast<std::size_t>(got) : 0;
    }
    return hex(data, bytes);
}

bool DigestAuth::equalInConstantTime(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    unsigned char difference = 0;
    for (std::size_t i = 0; i < a.size(); ++i)
        difference |= static_cast<unsigned char>(a[i] ^ b[i]);
    return difference == 0;
}

} // namespace xdirkit
