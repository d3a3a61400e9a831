#include "DeviceBook.h"

#include "DeviceBookReader.h"
#include "DeviceStatusReader.h"

#include <nlohmann/json.hpp>
#include <unordered_set>

namespace xdirkit {

namespace {

using Json = nlohmann::json;

constexpr std::string_view kFaxNumberCharacters = "0123456789#*-:=";
constexpr std::string_view kStates[] = {"ready", "busy", "error"};

// Bracket depth outside strings. No book nests deeper, and a hostile "[[[[..." of a few megabytes
// would otherwise grow the readers' stacks of open containers.
bool nestsTooDeep(std::string_view text) {
    std::size_t depth = 0;
    bool inString = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inString) {
            if (c == '\\')
                ++i;
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > DeviceBook::kMaximumNesting)
                return true;
        } else if ((c == ']' || c == '}') && depth > 0) {
            --depth;
        }
    }
    return false;
}

// Reads the whole text into the reader; false with the refusal when it is not JSON.
bool parse(std::string_view text, JsonValueEvents& reader, DeviceBook::Error* error) {
    if (nestsTooDeep(text)) {
        if (error)
            *error = {DeviceBook::Refusal::NotJson, "nested too deeply"};
        return false;
    }
    if (!Json::sax_parse(text.begin(), text.end(), &reader)) {
        if (error)
            *error = {DeviceBook::Refusal::NotJson, "not a JSON document"};
        return false;
    }
    return true;
}

std::string textRule(std::string_view where, std::string_view text, std::size_t maximumUnits) {
    const std::size_t units = DeviceBook::utf16Length(text);
    if (units == 0)
        return std::string(where) + ": empty";
    if (units > maximumUnits)
        return std::string(where) + ": longer than " + std::to_string(maximumUnits) +
               " UTF-16 units";
    for (char c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            return std::string(where) + ": control character";
    return {};
}

std::string faxNumberRule(std::string_view where, std::string_view number) {
    if (std::string rule = textRule(where, number, DeviceBook::kMaximumFaxNumberUnits);
        !rule.empty())
        return rule;
    for (char c : number)
        if (kFaxNumberCharacters.find(c) == std::string_view::npos)
            return std::string(where) + ": character '" + c + "' not allowed";
    return {};
}

} // namespace

std::optional<DeviceBook> DeviceBook::fromJson(std::string_view text, Error* error) {
    DeviceBookReader reader;
    if (!parse(text, reader, error))
        return std::nullopt;
    std::string rule = reader.brokenShapeRule();
    DeviceBook book = reader.takeBook();
    if (rule.empty())
        rule = book.brokenRule();
    if (!rule.empty()) {
        if (error)
            *error = {Refusal::BrokenRule, rule};
        return std::nullopt;
    }
    return book;
}

std::string DeviceBook::brokenRule() const {
    if (individuals.size() > kMaximumEntries)
        return "individuals: more than 65535";
    if (groups.size() > kMaximumEntries)
        return "groups: more than 65535";
    std::unordered_set<std::uint16_t> ids;
    for (std::size_t i = 0; i < individuals.size(); ++i) {
        const std::string where = "individuals[" + std::to_string(i) + "]";
        const Individual& individual = individuals[i];
        if (individual.id == 0)
            return where + ".id: not an integer from 1 to 65535";
        if (!ids.insert(individual.id).second)
            return where + ".id: " + std::to_string(individual.id) + " used twice";
        if (std::string rule = textRule(where + ".name", individual.name, kMaximumNameUnits);
            !rule.empty())
            return rule;
        if (std::string rule = faxNumberRule(where + ".faxNumber", individual.faxNumber);
            !rule.empty())
            return rule;
    }
    for (std::size_t i = 0; i < groups.size(); ++i) {
        const std::string where = "groups[" + std::to_string(i) + "]";
        const Group& group = groups[i];
        if (std::string rule = textRule(where + ".name", group.name, kMaximumNameUnits);
            !rule.empty())
            return rule;
        if (group.members.size() > kMaximumGroupMembers)
            return where + ".members: more than 201";
        std::unordered_set<std::uint16_t> members;
        for (std::uint16_t member : group.members) {
            if (!ids.contains(member))
                return where + ".members: " + std::to_string(member) + " names no individual";
            if (!members.insert(member).second)
                return where + ".members: " + std::to_string(member) + " listed twice";
        }
    }
    return {};
}

std::string DeviceBook::toJson(int indent) const {
    // Ordered, so the members read in the order the protocol lists them.
    using OrderedJson = nlohmann::ordered_json;
    OrderedJson individualList = OrderedJson::array();
    for (const Individual& individual : individuals)
        individualList.push_back({{"id", individual.id},
                                  {"name", individual.name},
                                  {"faxNumber", individual.faxNumber}});
    OrderedJson groupList = OrderedJson::array();
    for (const Group& group : groups)
        groupList.push_back({{"name", group.name}, {"members", group.members}});
    OrderedJson document = {{"individuals", std::move(individualList)},
                            {"groups", std::move(groupList)}};
    // Replacement instead of an exception: the text of a book built in memory may be invalid
    // UTF-8, and the rules check then refuses it by its length and characters.
    return document.dump(indent, ' ', false, OrderedJson::error_handler_t::replace);
}

std::size_t DeviceBook::utf16Length(std::string_view utf8) {
    std::size_t units = 0;
    for (char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte & 0xC0) != 0x80)
            units += byte >= 0xF0 ? 2 : 1;
    }
    return units;
}

std::optional<std::string> DeviceBook::stateFromJson(std::string_view text, Error* error) {
    DeviceStatusReader reader;
    if (!parse(text, reader, error))
        return std::nullopt;
    if (auto state = reader.state())
        for (std::string_view known : kStates)
            if (*state == known)
                return state;
    if (error)
        *error = {Refusal::BrokenRule, "state: not \"ready\", \"busy\" or \"error\""};
    return std::nullopt;
}

} // namespace xdirkit
