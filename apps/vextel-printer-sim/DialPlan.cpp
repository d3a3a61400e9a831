#include "DialPlan.h"

#include <charconv>
#include <fstream>
#include <sstream>
#include <utility>

namespace vextel_sim {

namespace {

constexpr std::pair<const char*, DialPlan::Outcome> kOutcomes[] = {
    {"sent", DialPlan::Outcome::Sent},
    {"busy", DialPlan::Outcome::Busy},
    {"no-answer", DialPlan::Outcome::NoAnswer},
    {"failed", DialPlan::Outcome::Failed},
};
constexpr int kMaximumTries = 10;

// The words of a line without its comment: a line whose first word begins with "#", and the rest
// of a line from a later word that begins with "#" after the pattern and the outcome (a fax
// number may hold "#", so a pattern never starts a comment after it).
std::vector<std::string> wordsOf(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string word; in >> word;) {
        if (word.front() == '#' && (words.empty() || words.size() >= 2))
            break;
        words.push_back(word);
    }
    return words;
}

std::optional<double> secondsOf(const std::string& text) {
    double value = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 0 || value > 3600)
        return std::nullopt;
    return value;
}

std::optional<int> triesOf(const std::string& text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 1 ||
        value > kMaximumTries)
        return std::nullopt;
    return value;
}

bool isPattern(const std::string& pattern) {
    const std::size_t plus = pattern.find('+');
    if (plus != std::string::npos && plus != pattern.size() - 1)
        return false;
    return !pattern.empty() && pattern.find_first_not_of("0123456789#*-:=?+") == std::string::npos;
}

} // namespace

std::optional<DialPlan> DialPlan::parse(const std::string& text, std::string* error) {
    DialPlan plan;
    std::istringstream in(text);
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        const auto fail = [&](const std::string& message) -> std::optional<DialPlan> {
            if (error)
                *error = "line " + std::to_string(number) + ": " + message;
            return std::nullopt;
        };
        const std::vector<std::string> words = wordsOf(line);
        if (words.empty())
            continue;
        if (words[0] == "seconds-per-page" || words[0] == "retry-interval") {
            const auto seconds = words.size() == 2 ? secondsOf(words[1]) : std::nullopt;
            if (!seconds)
                return fail(words[0] + " takes seconds from 0 to 3600");
            (words[0] == "seconds-per-page" ? plan.secondsPerPage_ : plan.retryInterval_) =
                *seconds;
            continue;
        }
        if (words.size() < 2 || words.size() > 3)
            return fail("a rule is PATTERN OUTCOME [TRIES]");
        if (!isPattern(words[0]))
            return fail("not a number pattern: " + words[0]);
        Rule rule{words[0]};
        bool known = false;
        for (const auto& [word, outcome] : kOutcomes)
            if (words[1] == word) {
                rule.outcome = outcome;
                known = true;
            }
        if (!known)
            return fail("unknown outcome: " + words[1]);
        rule.tries = rule.outcome == Outcome::Sent ? 1 : 3;
        if (words.size() == 3) {
            const auto tries = triesOf(words[2]);
            if (!tries)
                return fail("tries are 1 to 10: " + words[2]);
            rule.tries = *tries;
        }
        plan.rules_.push_back(std::move(rule));
    }
    return plan;
}

std::optional<DialPlan> DialPlan::load(const std::string& path, std::string* error) {
    std::ifstream file(path);
    if (!file) {
        if (error)
            *error = "cannot read the dial plan " + path;
        return std::nullopt;
    }
    std::ostringstream text;
    text << file.rdbuf();
    std::string reason;
    auto plan = parse(text.str(), &reason);
    if (!plan && error)
        *error = path + ": " + reason;
    return plan;
}

bool DialPlan::matches(const std::string& pattern, const std::string& number) {
    const bool rest = !pattern.empty() && pattern.back() == '+';
    const std::size_t fixed = rest ? pattern.size() - 1 : pattern.size();
    if (number.size() < fixed || (!rest && number.size() != fixed))
        return false;
    for (std::size_t i = 0; i < fixed; ++i)
        if (pattern[i] != '?' && pattern[i] != number[i])
            return false;
    return true;
}

DialPlan::Fate DialPlan::fateOf(const std::string& faxNumber) const {
    for (const Rule& rule : rules_)
        if (matches(rule.pattern, faxNumber))
            return {rule.outcome, rule.tries};
    return {};
}

const char* DialPlan::wordFor(Outcome outcome) {
    for (const auto& [word, candidate] : kOutcomes)
        if (candidate == outcome)
            return word;
    return "failed";
}

} // namespace vextel_sim
