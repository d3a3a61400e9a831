#include "DigestGuard.h"

#include "DigestAuth.h"

#include <algorithm>
#include <cstdio>

namespace vextel_sim {

using xdirkit::DigestAuth;

DigestGuard::DigestGuard(std::string code, std::function<Clock::time_point()> clock)
    : code_(std::move(code)), opaque_(DigestAuth::randomHex(16)), clock_(std::move(clock)) {}

DigestGuard::Decision DigestGuard::check(std::string_view method, std::string_view target,
                                         std::string_view authorization) {
    std::lock_guard lock(mutex_);
    const Clock::time_point now = clock_();
    if (now < lockedUntil_)
        return {Verdict::LockedOut, std::chrono::ceil<std::chrono::seconds>(lockedUntil_ - now)};
    const auto credentials = DigestAuth::parseCredentials(authorization);
    if (!credentials)
        return {Verdict::Challenge};
    const auto nonce = nonces_.find(credentials->nonce);
    if (nonce == nonces_.end())
        return {Verdict::Challenge};
    if (credentials->username != DigestAuth::kUserName || credentials->realm != kRealm ||
        credentials->uri != target || credentials->opaque != opaque_ ||
        credentials->nonceCount <= nonce->second.lastCount)
        return wrongCode(now);
    char count[17] = {}; // room for any count, though a client sends eight digits
    std::snprintf(count, sizeof count, "%08lx", credentials->nonceCount);
    const std::string expected =
        DigestAuth::responseHash(credentials->username, kRealm, code_, method, credentials->uri,
                                 credentials->nonce, count, credentials->cnonce);
    if (!DigestAuth::equalInConstantTime(expected, credentials->response))
        return wrongCode(now);
    nonce->second.lastCount = credentials->nonceCount;
    if (now - nonce->second.issued > kNonceLifetime) {
        nonces_.erase(nonce);
        return {Verdict::Stale};
    }
    wrongInARow_ = 0;
    return {Verdict::Allowed};
}

DigestGuard::Decision DigestGuard::wrongCode(Clock::time_point now) {
    if (++wrongInARow_ >= kAttemptsBeforeLockOut) {
        wrongInARow_ = 0;
        lockedUntil_ = now + kLockOutTime;
    }
    return {Verdict::Wrong};
}

std::string DigestGuard::challenge(bool stale) {
    std::lock_guard lock(mutex_);
    const Clock::time_point now = clock_();
    std::erase_if(nonces_,
                  [&](const auto& entry) { return now - entry.second.issued > kNonceLifetime; });
    while (nonces_.size() >= kMaximumNonces) {
        const auto oldest =
            std::min_element(nonces_.begin(), nonces_.end(), [](const auto& a, const auto& b) {
                return a.second.issued < b.second.issued;
            });
        nonces_.erase(oldest);
    }
    const std::string nonce = DigestAuth::randomHex(24);
    nonces_[nonce] = Nonce{now, 0};
    return DigestAuth::formatChallenge({kRealm, nonce, opaque_, stale});
}

} // namespace vextel_sim
