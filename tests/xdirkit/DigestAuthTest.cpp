#include "DigestAuth.h"

#include <gtest/gtest.h>

using xdirkit::DigestAuth;

namespace {

// The SHA-256 example exchange of RFC 7616, section 3.9.1.
constexpr const char* kExampleChallenge =
    R"(Digest realm="http-auth@example.org", qop="auth, auth-int", algorithm=SHA-256, )"
    R"(nonce="7ypf/xlj9XXwfDPEoM4URrv/xwf94BcCAzFZH4GiTo0v", )"
    R"(opaque="FQhe/qaU925kfnzjCev0ciny7QMkPqMAFRtzCUYo5tdS")";
constexpr const char* kExampleCredentials =
    R"(Digest username="Mufasa", realm="http-auth@example.org", uri="/dir/index.html", )"
    R"(algorithm=SHA-256, nonce="7ypf/xlj9XXwfDPEoM4URrv/xwf94BcCAzFZH4GiTo0v", nc=00000001, )"
    R"(cnonce="f2/wE4q74E6zIJEtWaHKaf5wv/H5QzzpXusqGemxURZJ", qop=auth, )"
    R"(response="753927fa0e85d155564e2e272a28d1802ca10daf4496794697cf8db5856cb6c1", )"
    R"(opaque="FQhe/qaU925kfnzjCev0ciny7QMkPqMAFRtzCUYo5tdS")";

TEST(DigestAuthTest, ComputesTheResponseOfThePublishedExample) {
    const auto credentials = DigestAuth::parseCredentials(kExampleCredentials);
    ASSERT_TRUE(credentials);
    EXPECT_EQ(DigestAuth::responseHash("Mufasa", "http-auth@example.org", "Circle of Life", "GET",
                                       "/dir/index.html", credentials->nonce, "00000001",
                                       credentials->cnonce),
              credentials->response);
    EXPECT_EQ(DigestAuth::sha256Hex("abc"),
              "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
}

TEST(DigestAuthTest, ReadsOnlySha256ChallengesThatOfferAuth) {
    struct Row {
        const char* header;
        const char* realm; // nullptr: refused
        const char* nonce;
        bool stale;
    };
    const Row rows[] = {
        {kExampleChallenge, "http-auth@example.org", "7ypf/xlj9XXwfDPEoM4URrv/xwf94BcCAzFZH4GiTo0v",
         false},
        {R"(digest REALM="r", Qop=auth, ALGORITHM=sha-256, nonce=abc, stale=TRUE)", "r", "abc",
         true},
        {R"(Digest realm="a\"b\\c",qop="auth",algorithm=SHA-256,nonce="n",,)", "a\"b\\c", "n",
         false},
        {R"(Digest realm="r", qop="auth", nonce="n")", nullptr, nullptr, false},
        {R"(Digest realm="r", qop="auth", algorithm=MD5, nonce="n")", nullptr, nullptr, false},
        {R"(Digest realm="r", qop="auth-int", algorithm=SHA-256, nonce="n")", nullptr, nullptr,
         false},
        {R"(Digest realm="r", qop="auth", algorithm=SHA-256)", nullptr, nullptr, false},
        {R"(Digest qop="auth", algorithm=SHA-256, nonce="n")", nullptr, nullptr, false},
        {R"(Digest realm="r, qop="auth", algorithm=SHA-256, nonce="n")", nullptr, nullptr, false},
        {R"(Digest realm="r", realm="s", qop="auth", algorithm=SHA-256, nonce="n")", nullptr,
         nullptr, false},
        {R"(Digest realm "r")", nullptr, nullptr, false},
        {R"(Basic realm="r")", nullptr, nullptr, false},
        {"", nullptr, nullptr, false},
    };
    for (const Row& row : rows) {
        const auto challenge = DigestAuth::parseChallenge(row.header);
        ASSERT_EQ(challenge.has_value(), row.realm != nullptr) << row.header;
        if (!challenge)
            continue;
        EXPECT_EQ(challenge->realm, row.realm) << row.header;
        EXPECT_EQ(challenge->nonce, row.nonce) << row.header;
        EXPECT_EQ(challenge->stale, row.stale) << row.header;
    }
}

TEST(DigestAuthTest, RefusesCredentialsWithoutEveryMemberTheServerChecks) {
    const std::string good = kExampleCredentials;
    const std::pair<std::string, std::string> cuts[] = {
        {"nc=00000001, ", "nc=1, "},
        {"nc=00000001, ", "nc=0000000g, "},
        {"nc=00000001, ", ""},
        {"qop=auth, ", ""},
        {"qop=auth, ", "qop=auth-int, "},
        {R"(cnonce="f2/wE4q74E6zIJEtWaHKaf5wv/H5QzzpXusqGemxURZJ", )", ""},
        {"algorithm=SHA-256, ", "algorithm=MD5, "},
        {R"(uri="/dir/index.html", )", ""},
        {R"(username="Mufasa", )", ""},
    };
    EXPECT_TRUE(DigestAuth::parseCredentials(good));
    for (const auto& [part, replacement] : cuts) {
        std::string header = good;
        header.replace(header.find(part), part.size(), replacement);
        EXPECT_FALSE(DigestAuth::parseCredentials(header)) << header;
    }
}

TEST(DigestAuthTest, CredentialsAnsweringAChallengeReadBackWithTheirHash) {
    const DigestAuth::Challenge challenge{"vextel-printer", "n\"once", "op", false};
    const auto parsed = DigestAuth::parseChallenge(DigestAuth::formatChallenge(challenge));
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->nonce, "n\"once");
    EXPECT_EQ(parsed->opaque, "op");

    const std::string header =
        DigestAuth::formatCredentials(challenge, "PUT", "/vextel/v1/address-book", "0420", 26, "c");
    const auto credentials = DigestAuth::parseCredentials(header);
    ASSERT_TRUE(credentials) << header;
    EXPECT_EQ(credentials->username, DigestAuth::kUserName);
    EXPECT_EQ(credentials->uri, "/vextel/v1/address-book");
    EXPECT_EQ(credentials->nonceCount, 26u);
    EXPECT_EQ(credentials->opaque, "op");
    EXPECT_EQ(credentials->response,
              DigestAuth::responseHash(DigestAuth::kUserName, "vextel-printer", "0420", "PUT",
                                       "/vextel/v1/address-book", "n\"once", "0000001a", "c"));
    EXPECT_EQ(header.find("0420"), std::string::npos);
}

TEST(DigestAuthTest, RandomHexAndComparisonDoWhatTheySay) {
    const std::string a = DigestAuth::randomHex(16);
    EXPECT_EQ(a.size(), 32u);
    EXPECT_EQ(a.find_first_not_of("0123456789abcdef"), std::string::npos);
    EXPECT_NE(a, DigestAuth::randomHex(16));
    EXPECT_TRUE(DigestAuth::equalInConstantTime("abc", "abc"));
    EXPECT_FALSE(DigestAuth::equalInConstantTime("abc", "abd"));
    EXPECT_FALSE(DigestAuth::equalInConstantTime("abc", "ab"));
}

} // namespace
