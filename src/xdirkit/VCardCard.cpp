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

bool startsWithTelScheme(std::string_view number) {
    return number.size() >= kTelUriScheme.size() &&
           equalsIgnoringCase(number.substr(0, kTelUriScheme.size()), kTelUriScheme);
}

// N as one name: "prefix given additional family suffix"; empty when it gives none.
std::string nameFromComponents(std::vector<std::string> parts) {
    parts.resize(5);
    return trimmed(joined({parts[3], parts[1], parts[2], parts[0], parts[4]}, " "));
}

// A line's group, name and parameters as written, up to the ':'; the transfer encoding and
// character set left out (a new value is written without them).
std::string headerOf(const VCardLine& line) {
    const std::string_view text = line.text();
    if (!line.parameter("ENCODING") && !line.parameter("CHARSET"))
        return std::string(text.substr(0, text.size() - line.rawValue().size() - 1));
    std::string out;
    if (!line.group().empty())
        out.append(line.group()).append(".");
    out.append(line.name());
    for (const auto& [parameter, value] : line.parameters()) {
        if (equalsIgnoringCase(parameter, "ENCODING") || equalsIgnoringCase(parameter, "CHARSET"))
            continue;
        const bool quoted = value.find_first_of(",;:") != std::string_view::npos;
        out.append(";").append(parameter).append("=");
        out.append(quoted ? "\"" : "").append(value).append(quoted ? "\"" : "");
    }
    return out;
}

// A 2.1 value: only '\\' and ';' are escaped there; anything but printable ASCII (line breaks
// too) goes quoted-printable, in UTF-8.
std::string version21Value(std::string_view text, bool& quotedPrintable) {
    std::string escaped;
    for (const char c : text) {
        if (c == '\\' || c == ';')
            escaped += '\\';
        escaped += c;
    }
    quotedPrintable = std::any_of(escaped.begin(), escaped.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7E;
    });
    if (!quotedPrintable)
        return escaped;
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (std::size_t i = 0; i < escaped.size(); ++i) {
        const auto byte = static_cast<unsigned char>(escaped[i]);
        if (byte == '\n' && (i == 0 || escaped[i - 1] != '\r')) {
            out += "=0D=0A";
        } else if (byte == '=' || byte < 0x20 || byte > 0x7E ||
                   (byte == ' ' && i + 1 == escaped.size())) {
            out += '=';
            out += kHex[byte >> 4];
            out += kHex[byte & 0x0F];
        } else {
            out += static_cast<char>(byte);
        }
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
                     std::size_t begin, std::size_t length, int openCards)
    : lines_(std::move(lines)), source_(std::move(source)), begin_(begin), length_(length),
      openCards_(openCards) {}

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
            scratch = nameFromComponents(std::move(*parts));
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
    return line.property() == Property::Telephone && (line.hasType("fax") || hasFaxLabel(line));
}

bool VCardCard::hasFaxLabel(const VCardLine& line) const {
    if (line.group().empty())
        return false;
    std::string scratch;
    for (const VCardLine& label : lines_) {
        if (label.property() != Property::Label || !equalsIgnoringCase(label.group(), line.group()))
            continue;
        // Custom labels ("homeFax", "Fax privat") and the built-in form "_$!<WorkFAX>!$_".
        const std::string_view text = label.textValue(scratch).value_or("");
        for (std::size_t i = 0; i + 3 <= text.size(); ++i)
            if (equalsIgnoringCase(text.substr(i, 3), "fax"))
                return true;
    }
    return false;
}

std::string_view VCardCard::faxNumberOf(std::string_view value) {
    std::string_view number = trimmedView(value);
    if (startsWithTelScheme(number))
        number = trimmedView(number.substr(kTelUriScheme.size()));
    // ASCII digits, and the full-width ones (U+FF10 to U+FF19) Japanese phones write.
    for (std::size_t i = 0; i < number.size(); ++i) {
        if (number[i] >= '0' && number[i] <= '9')
            return number;
        if (number.substr(i, 2) == "\xEF\xBC" && i + 2 < number.size() &&
            static_cast<unsigned char>(number[i + 2]) >= 0x90 &&
            static_cast<unsigned char>(number[i + 2]) <= 0x99)
            return number;
    }
    return {};
}

std::string_view VCardCard::nameOf(std::string_view text) {
    return trimmedView(text);
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
        const std::string_view number = faxNumberOf(line.textValue(scratch).value_or(""));
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
    // Every line is judged before any moves: a judgement may look at the other lines.
    std::vector<bool> removed(lines_.size());
    for (std::size_t i = 0; i < lines_.size(); ++i)
        removed[i] = matches(lines_[i]);
    std::size_t at = lines_.size();
    std::vector<VCardLine> kept;
    kept.reserve(lines_.size());
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (!removed[i])
            kept.push_back(std::move(lines_[i]));
        else if (at == lines_.size())
            at = kept.size();
    }
    lines_ = std::move(kept);
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

std::size_t VCardCard::indexOfFirst(Property property) const {
    for (std::size_t i = 0; i < lines_.size(); ++i)
        if (lines_[i].property() == property)
            return i;
    return lines_.size();
}

void VCardCard::replaceLineAt(std::size_t index, const std::string& text) {
    std::optional<VCardLine> line;
    if (!text.empty())
        line = VCardLine::parse(text);
    if (index < lines_.size()) {
        if (line)
            lines_[index] = std::move(*line);
        else
            lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(index));
    } else if (line) {
        lines_.push_back(std::move(*line));
    }
    changed_ = true;
}

std::string VCardCard::textLine(const VCardLine* like, std::string_view header,
                                std::string_view text) const {
    std::string out = like != nullptr ? headerOf(*like) : std::string(header);
    if (version() != "2.1")
        return out + ":" + escapeText(text);
    bool quotedPrintable = false;
    const std::string value = version21Value(text, quotedPrintable);
    if (quotedPrintable)
        out += ";CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE";
    return out + ":" + value;
}

void VCardCard::setDisplayName(std::string_view name) {
    std::string scratch;
    const std::string before(displayName(scratch).value_or(""));
    const std::size_t fullName = indexOfFirst(Property::FullName);
    replaceLineAt(fullName, textLine(first(Property::FullName), "FN", name));
    const std::size_t structured = indexOfFirst(Property::Name);
    // "Family;Given;...;" names the person as FN does; only a name kept in one part is renamed.
    if (structured == lines_.size()) {
        // 2.1 and 3.0 need an N; a new card gets one as the library always wrote it.
        if (version() != "4.0")
            replaceLineAt(structured, textLine(nullptr, "N", name) + ";;;;");
        return;
    }
    const VCardLine& line = lines_[structured];
    auto parts = line.components();
    if (parts && nameFromComponents(*parts) == before &&
        std::count_if(parts->begin(), parts->end(),
                      [](const std::string& part) { return !trimmedView(part).empty(); }) <= 1)
        replaceLineAt(structured, textLine(&line, "N", name) + ";;;;");
}

void VCardCard::setCompany(std::string_view company) {
    replaceLineAt(indexOfFirst(Property::Organization),
                  company.empty() ? std::string()
                                  : textLine(first(Property::Organization), "ORG", company));
}

void VCardCard::setNote(std::string_view note) {
    replaceLineAt(indexOfFirst(Property::Note),
                  note.empty() ? std::string() : textLine(first(Property::Note), "NOTE", note));
}

std::string VCardCard::faxLineHeader(bool preferred) const {
    // A fax type as each version spells it.
    const std::string ownVersion = version();
    if (ownVersion == "2.1")
        return preferred ? "TEL;FAX;PREF" : "TEL;FAX";
    if (ownVersion == "3.0")
        return preferred ? "TEL;TYPE=FAX,PREF" : "TEL;TYPE=FAX";
    return preferred ? "TEL;TYPE=fax;PREF=1" : "TEL;TYPE=fax";
}

void VCardCard::setFaxNumbers(const std::vector<std::string>& numbers) {
    std::vector<std::string> newLines;
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        // Reading drops one "tel:" prefix; a number that begins with one keeps it that way.
        const std::string_view number = numbers[i];
        newLines.push_back(textLine(nullptr, faxLineHeader(i == 0),
                                    std::string(startsWithTelScheme(number) ? kTelUriScheme : "") +
                                        std::string(number)));
    }
    // The label of a fax number's item group goes with it.
    std::vector<std::string_view> labelledGroups;
    for (const VCardLine& line : lines_)
        if (line.property() == Property::Telephone && !line.hasType("fax") && hasFaxLabel(line))
            labelledGroups.push_back(line.group());
    replaceLines(
        [&](const VCardLine& line) {
            return isFaxLine(line) || (line.property() == Property::Label &&
                                       std::any_of(labelledGroups.begin(), labelledGroups.end(),
                                                   [&](std::string_view g) {
                                                       return equalsIgnoringCase(g, line.group());
                                                   }));
        },
        newLines);
}

std::size_t VCardCard::indexOfFaxLine(std::string_view number) const {
    std::string scratch;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const VCardLine& line = lines_[i];
        if (!isFaxLine(line))
            continue;
        std::string_view value = trimmedView(line.textValue(scratch).value_or(""));
        if (startsWithTelScheme(value))
            value = trimmedView(value.substr(kTelUriScheme.size()));
        if (value == number)
            return i;
    }
    return lines_.size();
}

void VCardCard::setFaxNumber(std::string_view number, std::string_view replacement) {
    const std::size_t at = indexOfFaxLine(number);
    if (at == lines_.size()) {
        addFaxNumber(replacement);
        return;
    }
    std::string scratch;
    const VCardLine& line = lines_[at];
    const bool uri = startsWithTelScheme(trimmedView(line.textValue(scratch).value_or("")));
    replaceLineAt(
        at, textLine(&line, {}, std::string(uri ? kTelUriScheme : "") + std::string(replacement)));
}

void VCardCard::addFaxNumber(std::string_view number) {
    std::size_t after = lines_.size();
    for (std::size_t i = 0; i < lines_.size(); ++i)
        if (isFaxLine(lines_[i]))
            after = i + 1;
    const std::string text = textLine(
        nullptr, faxLineHeader(faxNumbers().empty()),
        std::string(startsWithTelScheme(number) ? kTelUriScheme : "") + std::string(number));
    if (auto line = VCardLine::parse(text)) {
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(std::min(after, lines_.size())),
                      std::move(*line));
        changed_ = true;
    }
}

bool VCardCard::removeFaxNumber(std::string_view number) {
    const std::size_t at = indexOfFaxLine(number);
    if (at == lines_.size())
        return false;
    const std::string group(lines_[at].group());
    const bool labelled = !lines_[at].hasType("fax");
    replaceLineAt(at, {});
    if (labelled && !group.empty())
        replaceLines(
            [&](const VCardLine& line) {
                return line.property() == Property::Label &&
                       equalsIgnoringCase(group, line.group());
            },
            {});
    return true;
}

void VCardCard::setMemberUids(const std::vector<std::string>& uids) {
    // MEMBER is 4.0's; a 3.0 card names its members as the address-book servers do.
    const std::string ownVersion = version();
    const std::string name =
        ownVersion == "3.0" || ownVersion == "2.1" ? "X-ADDRESSBOOKSERVER-MEMBER:" : "MEMBER:";
    std::vector<std::string> newLines;
    for (const std::string& uid : uids)
        newLines.push_back(name + uid);
    replaceLines([](const VCardLine& line) { return line.property() == Property::Member; },
                 newLines);
}

} // namespace xdirkit
