#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <string_view>

namespace vextel_sim {

// The printer's side of Digest authentication: issues nonces, checks credentials against the
// code, and locks authenticated requests out after repeated wrong codes. Safe to call from
// several server threads.
class DigestGuard {
public:
    using Clock = std::chrono::steady_clock;

    static constexpr const char* kRealm = "vextel-printer";
    static constexpr int kAttemptsBeforeLockOut = 5;
    static constexpr std::chrono::seconds kLockOutTime{60};
    static constexpr std::chrono::seconds kNonceLifetime{300};
    // Nonces kept at once; the oldest go first, so a flood of requests cannot grow the table.
    static constexpr std::size_t kMaximumNonces = 1024;

    enum class Verdict {
        Allowed,   // right code
        Challenge, // no credentials, or a nonce we do not know: 401 with a fresh challenge
        Stale,     // right code on an expired nonce: 401 with stale=true
        Wrong,     // wrong code (or a replay, another user, realm or uri): 401
        LockedOut, // 429 until retryAfter has passed
    };
    struct Decision {
        Verdict verdict = Verdict::Challenge;
        std::chrono::seconds retryAfter{0};
    };

    // The clock is replaceable so the lock-out and nonce lifetime can be tested without waiting.
    explicit DigestGuard(std::string code, std::function<Clock::time_point()> clock = Clock::now);

    // Judges the Authorization header ("" when absent) of a request.
    Decision check(std::string_view method, std::string_view target,
                   std::string_view authorization);
    // A WWW-Authenticate value with a fresh nonce.
    std::string challenge(bool stale);

private:
    struct Nonce {
        Clock::time_point issued;
        unsigned long lastCount = 0;
    };

    Decision wrongCode(Clock::time_point now);

    const std::string code_;
    const std::string opaque_;
    const std::function<Clock::time_point()> clock_;
    std::mutex mutex_;
    std::map<std::string, Nonce> nonces_;
    int wrongInARow_ = 0;
    Clock::time_point lockedUntil_{};
};

} // namespace vextel_sim
