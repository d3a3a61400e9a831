#include "DigestGuard.h"

#include "DigestAuth.h"

#include <gtest/gtest.h>

using vextel_sim::DigestGuard;
using xdirkit::DigestAuth;
using Verdict = DigestGuard::Verdict;

namespace {

constexpr const char* kPath = "/vextel/v1/address-book";

class DigestGuardTest : public testing::Test {
protected:
    DigestGuard guard_{"4826", [this] {
                           return now_;
                       }};
    DigestGuard::Clock::time_point now_{std::chrono::hours(1)};

    // Credentials answering a fresh challenge, or the given one.
    std::string answer(const std::string& code, unsigned long count = 1,
                       std::optional<DigestAuth::Challenge> challenge = std::nullopt,
                       const std::string& uri = kPath) {
        if (!challenge)
            challenge = DigestAuth::parseChallenge(guard_.challenge(false));
        return DigestAuth::formatCredentials(*challenge, "GET", uri, code, count, "cn");
    }
    Verdict check(const std::string& authorization) {
        return guard_.check("GET", kPath, authorization).verdict;
    }
};

TEST_F(DigestGuardTest, AllowsTheRightCodeAndChallengesEverythingElse) {
    EXPECT_EQ(check(""), Verdict::Challenge);
    EXPECT_EQ(check("Basic dmV4dGVsOjQ4MjY="), Verdict::Challenge);
    EXPECT_EQ(check(answer("4826")), Verdict::Allowed);
    EXPECT_EQ(check(answer("4827")), Verdict::Wrong);
    EXPECT_EQ(check(answer("4826", 1, std::nullopt, "/vextel/v1/status")), Verdict::Wrong)
        << "credentials for another request";
    DigestAuth::Challenge unknown{DigestGuard::kRealm, "made-up", "", false};
    EXPECT_EQ(check(answer("4826", 1, unknown)), Verdict::Challenge);
    auto otherRealm = DigestAuth::parseChallenge(guard_.challenge(false));
    otherRealm->realm = "elsewhere";
    EXPECT_EQ(check(answer("4826", 1, otherRealm)), Verdict::Wrong);
}

TEST_F(DigestGuardTest, ANonceCountIsGoodOnceAndOnlyUpwards) {
    const auto challenge = DigestAuth::parseChallenge(guard_.challenge(false));
    EXPECT_EQ(check(answer("4826", 1, challenge)), Verdict::Allowed);
    EXPECT_EQ(check(answer("4826", 1, challenge)), Verdict::Wrong) << "replay";
    EXPECT_EQ(check(answer("4826", 3, challenge)), Verdict::Allowed);
    EXPECT_EQ(check(answer("4826", 2, challenge)), Verdict::Wrong);
}

TEST_F(DigestGuardTest, AnExpiredNonceIsStaleForTheRightCodeOnly) {
    const auto challenge = DigestAuth::parseChallenge(guard_.challenge(false));
    now_ += DigestGuard::kNonceLifetime + std::chrono::seconds(1);
    EXPECT_EQ(check(answer("1111", 1, challenge)), Verdict::Wrong);
    EXPECT_EQ(check(answer("4826", 2, challenge)), Verdict::Stale);
    EXPECT_EQ(check(answer("4826", 3, challenge)), Verdict::Challenge) << "gone after that";
    EXPECT_NE(guard_.challenge(true).find("stale=true"), std::string::npos);
}

TEST_F(DigestGuardTest, FiveWrongCodesInARowLockEveryoneOutForAMinute) {
    for (int attempt = 0; attempt < 4; ++attempt)
        EXPECT_EQ(check(answer("0000")), Verdict::Wrong);
    EXPECT_EQ(check(answer("4826")), Verdict::Allowed) << "a right code resets the count";
    for (int attempt = 0; attempt < DigestGuard::kAttemptsBeforeLockOut; ++attempt)
        EXPECT_EQ(check(answer("0000")), Verdict::Wrong);
    const auto locked = guard_.check("GET", kPath, answer("4826"));
    EXPECT_EQ(locked.verdict, Verdict::LockedOut);
    EXPECT_EQ(locked.retryAfter, DigestGuard::kLockOutTime);
    now_ += std::chrono::seconds(59);
    EXPECT_EQ(guard_.check("GET", kPath, "").retryAfter, std::chrono::seconds(1));
    now_ += std::chrono::seconds(1);
    EXPECT_EQ(check(answer("4826")), Verdict::Allowed);
}

TEST_F(DigestGuardTest, UnknownNoncesNeitherCountNorGrowTheTable) {
    DigestAuth::Challenge unknown{DigestGuard::kRealm, "made-up", "", false};
    for (int attempt = 0; attempt < 20; ++attempt)
        EXPECT_EQ(check(answer("0000", 1, unknown)), Verdict::Challenge);
    const auto first = DigestAuth::parseChallenge(guard_.challenge(false));
    for (std::size_t i = 0; i < DigestGuard::kMaximumNonces; ++i) {
        now_ += std::chrono::milliseconds(1);
        guard_.challenge(false);
    }
    EXPECT_EQ(check(answer("4826", 1, first)), Verdict::Challenge) << "the oldest went first";
    EXPECT_EQ(check(answer("4826")), Verdict::Allowed);
}

} // namespace
