#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vextel_sim {

// What the simulated printer meets when it dials a fax number: read from a dial-plan file, one
// rule a line, the first rule whose pattern matches a number deciding; a number no rule matches
// is sent at the first try.
//
//     # PATTERN      OUTCOME    [TRIES]
//     0207946001     busy       3
//     0312+          sent
//     ?9+            no-answer  2
//     +              failed     1
//     seconds-per-page 2
//     retry-interval   60
//
// A pattern is a fax number in which "?" stands for any one character and a final "+" for any
// rest (neither is a character the printer dials). A line whose first word begins with "#" is a
// comment, and so is the rest of a rule from a word beginning with "#" after its outcome; a
// pattern for numbers that begin with "#" is written with "?". OUTCOME is sent (TRIES: the try that
// gets through, the earlier ones meet a busy line; default 1), or busy, no-answer or failed (every
// one of TRIES tries ends so, default 3). seconds-per-page is the transmission time of a page
// (default 1), retry-interval the wait between tries (default 30); both in the printer's seconds.
class DialPlan {
public:
    enum class Outcome { Sent, Busy, NoAnswer, Failed };

    struct Rule {
        std::string pattern;
        Outcome outcome = Outcome::Sent;
        int tries = 1;
    };

    // A number's fate: the outcome of its last try and how many tries it takes.
    struct Fate {
        Outcome outcome = Outcome::Sent;
        int tries = 1;
    };

    // The plan of a file's text; nullopt with "line N: ..." in *error.
    static std::optional<DialPlan> parse(const std::string& text, std::string* error);
    static std::optional<DialPlan> load(const std::string& path, std::string* error);

    Fate fateOf(const std::string& faxNumber) const;
    double secondsPerPage() const { return secondsPerPage_; }
    double retryInterval() const { return retryInterval_; }

    // The word a fax log uses for an outcome: "sent", "busy", "no-answer", "failed".
    static const char* wordFor(Outcome outcome);

private:
    static bool matches(const std::string& pattern, const std::string& number);

    std::vector<Rule> rules_;
    double secondsPerPage_ = 1;
    double retryInterval_ = 30;
};

} // namespace vextel_sim
