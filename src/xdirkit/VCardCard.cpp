#include "VCardCard.h"

#include <algorithm>

namespace xdirkit {
namespace {

constexpr std::string_view kTelUriScheme = "tel:";

std::string_view trimmedView(std::string_view text) {
    const auto isSpace = [](char c) {
        return c == ' ' || c == '\t' || c == '\r' || c == '\n';
    };
    while (!text.empty() && isSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string trimmed(std::string_view text) {
    return std::string(trimmedView(text));
}

std::string joined(const std::vector<std::string>& parts, std::string_view separator) {
    std::string out;
    for (const std::string& part : parts) {
        if (part.empty())
            continue;
        if (!out.empty())
            out += separator;
        out += part;
    }
    return out;
}

} // namespace

std::string escapeText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\\' || c == ',' || c == ';') {
            out += '\\';
            out += c;
        } else if (c == '\r' || c == '\n') {
            out += "\\n";
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            out += c;
        }
    }
    return out;
}

VCardCard::VCardCard(std::vector<VCardLine> lines, std::shared_ptr<const std::string> source,
                     std::size_t begin, std::size_t length, bool cutOff)
    : lines_(std::move(lines)), source_(std::move(source)), begin_(begin), length_(length),
      cutOff_(cutOff) {}

std::string_view VCardCard::original() const {
    if (!source_ || changed_)
        return {};
    return std::string_view(*source_).substr(begin_, length_);
}

const VCardLine* VCardCard::first(Property property) const {
    for (const VCardLine& line : lines_)
        if (line.property() == property)
            return &line;
    return nullptr;
}

std::optional<std::string> VCardCard::firstText(Property property) const {
    const VCardLine* line = first(property);
    if (line == nullptr)
        return std::nullopt;
    return line->textValue();
}

std::string VCardCard::version() const {
    return firstText(Property::Version).value_or("");
}

std::string VCardCard::uid() const {
    std::string scratch;
    return std::string(uid(scratch));
}

std::string_view VCardCard::uid(std::string& scratch) const {
    const VCardLine* line = first(Property::Uid);
    if (line == nullptr)
        return {};
    return trimmedView(line->textValue(scratch).value_or(""));
}

bool VCardCard::isGroup() const {
    for (const VCardLine& line : lines_)
        if (line.property() == Property::Kind &&
            equalsIgnoringCase(trimmedView(line.rawValue()), "group"))
            return true;
    return false;
}

std::optional<std::string> VCardCard::displayName() const {
    std::string scratch;
    const auto name = displayName(scratch);
    if (!name)
        return std::nullopt;
    return std::string(*name);
}

std::optional<std::string_view> VCardCard::displayName(std::string& scratch) const {
    if (const VCardLine* line = first(Property::FullName)) {
        if (const auto fullName = line->textValue(scratch)) {
            const std::string_view name = trimmedView(*fullName);
            if (!name.empty())
                return name;
        }
    }
    if (const VCardLine* line = first(Property::Name)) {
        if (auto parts = line->components()) {
            parts->resize(5);
            scratch = trimmed(
                joined({(*parts)[3], (*parts)[1], (*parts)[2], (*parts)[0], (*parts)[4]}, " "));
            if (!scratch.empty())
                return std::string_view(scratch);
        }
    }
    return std::nullopt;
}

std::string VCardCard::company() const {
    std::string scratch;
    return std::string(company(scratch));
}

std::string_view VCardCard::company(std::string& scratch) const {
    const VCardLine* line = first(Property::Organization);
    if (line == nullptr)
        return {};
    if (const auto plain = line->plainValue()) {
        // Units split at each ';' with nothing to unescape; one unit needs no copy.
        scratch.clear();
        std::string_view only;
        int count = 0;
        for (std::size_t begin = 0; begin <= plain->size();) {
            std::size_t end = plain->find(';', begin);
            if (end == std::string_view::npos)
                end = plain->size();
            const std::string_view unit = trimmedView(plain->substr(begin, end - begin));
            begin = end + 1;
            if (unit.empty())
                continue;
            if (count++ == 1)
                scratch.assign(only);
            if (count > 1)
                scratch.append(", ").append(unit);
            else
                only = unit;
        }
        return count > 1 ? std::string_view(scratch) : only;
    }
    auto parts = line->components();
    if (!parts)
        return {};
    for (std::string& part : *parts)
        part = trimmed(part);
    scratch = joined(*parts, ", ");
    return scratch;
}

std::string VCardCard::note() const {
    return firstText(Property::Note).value_or("");
}

std::string_view VCardCard::note(std::string& scratch) const {
    const VCardLine* line = first(Property::Note);
    if (line == nullptr)
        return {};
    return line->textValue(scratch).value_or("");
}

bool VCardCard::isFaxLine(const VCardLine& line) const {
    return line.property() == Property::Telephone && line.hasType("fax");
}

std::vector<VCardCard::FaxNumber> VCardCard::faxNumbers() const {
    std::vector<FaxNumber> numbers;
    forEachFaxNumber([&numbers](std::string_view number, int preference) {
        numbers.push_back({std::string(number), preference});
    });
    return numbers;
}

void VCardCard::forEachFaxNumber(const std::function<void(std::string_view, int)>& visit) const {
    std::string scratch;
    for (const VCardLine& line : lines_) {
        if (!isFaxLine(line))
            continue;
        std::string_view number = trimmedView(line.textValue(scratch).value_or(""));
        if (number.size() >= kTelUriScheme.size() &&
            equalsIgnoringCase(number.substr(0, kTelUriScheme.size()), kTelUriScheme))
            number = trimmedView(number.substr(kTelUriScheme.size()));
        if (!number.empty())
            visit(number, line.preference());
    }
}

std::vector<std::string> VCardCard::memberUids() const {
    std::vector<std::string> uids;
    for (const VCardLine& line : lines_)
        if (line.property() == Property::Member) {
            std::string uid = trimmed(line.textValue().value_or(""));
            if (!uid.empty())
                uids.push_back(std::move(uid));
        }
    return uids;
}

// ---- Editing

template <typename Predicate>
void VCardCard::replaceLines(Predicate matches, const std::vector<std::string>& newLines) {
    auto firstMatch = std::find_if(lines_.begin(), lines_.end(), matches);
    std::size_t at = static_cast<std::size_t>(firstMatch - lines_.begin());
    lines_.erase(std::remove_if(lines_.begin(), lines_.end(), matches), lines_.end());
    at = std::min(at, lines_.size());
    std::vector<VCardLine> parsed;
    for (const std::string& text : newLines)
        if (auto line = VCardLine::parse(text))
            parsed.push_back(std::move(*line));
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), parsed.begin(), parsed.end());
    changed_ = true;
}

void VCardCard::replaceProperty(Property property, const std::vector<std::string>& newLines) {
    replaceLines([property](const VCardLine& line) { return line.property() == property; },
                 newLines);
}

void VCardCard::setUid(std::string_view uid) {
    replaceProperty(Property::Uid, {"UID:" + std::string(uid)});
}

void VCardCard::setGroup(bool group) {
    replaceLines([](const VCardLine& line) { return line.property() == Property::Kind; },
                 group ? std::vector<std::string>{"KIND:group"} : std::vector<std::string>{});
}

void VCardCard::setDisplayName(std::string_view name) {
    replaceProperty(Property::FullName, {"FN:" + escapeText(name)});
    replaceProperty(Property::Name, {"N:" + escapeText(name) + ";;;;"});
}

void VCardCard::setCompany(std::string_view company) {
    replaceProperty(Property::Organization,
                    company.empty() ? std::vector<std::string>{}
                                    : std::vector<std::string>{"ORG:" + escapeText(company)});
}

void VCardCard::setNote(std::string_view note) {
    replaceProperty(Property::Note, note.empty()
                                        ? std::vector<std::string>{}
                                        : std::vector<std::string>{"NOTE:" + escapeText(note)});
}

void VCardCard::setFaxNumbers(const std::vector<std::string>& numbers) {
    std::vector<std::string> newLines;
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        // Reading drops one "tel:" prefix; a number that begins with one keeps it that way.
        const std::string_view number = numbers[i];
        const bool looksLikeUri =
            number.size() >= kTelUriScheme.size() &&
            equalsIgnoringCase(number.substr(0, kTelUriScheme.size()), kTelUriScheme);
        newLines.push_back((i == 0 ? "TEL;TYPE=fax;PREF=1:" : "TEL;TYPE=fax:") +
                           std::string(looksLikeUri ? kTelUriScheme : "") + escapeText(number));
    }
    replaceLines([this](const VCardLine& line) { return isFaxLine(line); }, newLines);
}

void VCardCard::setMemberUids(const std::vector<std::string>& uids) {
    std::vector<std::string> newLines;
    for (const std::string& uid : uids)
        newLines.push_back("MEMBER:" + uid);
    replaceLines([](const VCardLine& line) { return line.property() == Property::Member; },
                 newLines);
}

} // namespace xdirkit
