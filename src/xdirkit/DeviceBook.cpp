#include "DeviceBook.h"

#include <nlohmann/json.hpp>
#include <unordered_set>

namespace xdirkit {

namespace {

using Json = nlohmann::json;

constexpr std::string_view kFaxNumberCharacters = "0123456789#*-:=";
constexpr std::string_view kStates[] = {"ready", "busy", "error"};

// Bracket depth outside strings. The parser and the value tree are recursive, so a hostile
// "[[[[..." of a few megabytes must never reach them.
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

std::optional<Json> parse(std::string_view text, DeviceBook::Error* error) {
    if (nestsTooDeep(text)) {
        if (error)
            *error = {DeviceBook::Refusal::NotJson, "nested too deeply"};
        return std::nullopt;
    }
    Json json = Json::parse(text.begin(), text.end(), nullptr, false);
    if (json.is_discarded()) {
        if (error)
            *error = {DeviceBook::Refusal::NotJson, "not a JSON document"};
        return std::nullopt;
    }
    return json;
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

// A member that must be a string; its value is copied into the target.
bool readString(const Json& object, const char* key, std::string& target) {
    const auto found = object.find(key);
    if (found == object.end() || !found->is_string())
        return false;
    target = found->get<std::string>();
    return true;
}

// An identifier: an integer (not a float, not a boolean) from 1 to 65,535.
bool readIdentifier(const Json& value, std::uint16_t& target) {
    if (!value.is_number_integer())
        return false;
    if (value.is_number_unsigned()) {
        const auto number = value.get<std::uint64_t>();
        if (number < 1 || number > 65535)
            return false;
        target = static_cast<std::uint16_t>(number);
        return true;
    }
    const auto number = value.get<std::int64_t>();
    if (number < 1 || number > 65535)
        return false;
    target = static_cast<std::uint16_t>(number);
    return true;
}

// One list of the book: an array of at most kMaximumEntries objects, each read by readItem,
// which answers what is wrong with it after the item's place ("individuals[3]"), or nothing.
template <class Item, class ReadItem>
std::string readList(const Json& list, const std::string& label, std::vector<Item>& items,
                     ReadItem readItem) {
    if (!list.is_array())
        return label + ": not an array";
    if (list.size() > DeviceBook::kMaximumEntries)
        return label + ": more than 65535";
    items.reserve(list.size());
    for (std::size_t i = 0; i < list.size(); ++i) {
        const std::string where = label + "[" + std::to_string(i) + "]";
        const Json& entry = list[i];
        if (!entry.is_object())
            return where + ": not an object";
        Item item;
        if (std::string problem = readItem(entry, item); !problem.empty())
            return where + problem;
        items.push_back(std::move(item));
    }
    return {};
}

std::string readIndividual(const Json& entry, DeviceBook::Individual& individual) {
    const auto id = entry.find("id");
    if (id == entry.end() || !readIdentifier(*id, individual.id))
        return ".id: not an integer from 1 to 65535";
    if (!readString(entry, "name", individual.name))
        return ".name: not a string";
    if (!readString(entry, "faxNumber", individual.faxNumber))
        return ".faxNumber: not a string";
    return {};
}

std::string readGroup(const Json& entry, DeviceBook::Group& group) {
    if (!readString(entry, "name", group.name))
        return ".name: not a string";
    const auto members = entry.find("members");
    if (members == entry.end() || !members->is_array())
        return ".members: not an array";
    if (members->size() > DeviceBook::kMaximumGroupMembers)
        return ".members: more than 201";
    for (const Json& member : *members) {
        std::uint16_t id = 0;
        if (!readIdentifier(member, id))
            return ".members: not an integer from 1 to 65535";
        group.members.push_back(id);
    }
    return {};
}

} // namespace

std::optional<DeviceBook> DeviceBook::fromJson(std::string_view text, Error* error) {
    const std::optional<Json> json = parse(text, error);
    if (!json)
        return std::nullopt;
    DeviceBook book;
    std::string rule;
    if (!json->is_object())
        rule = "not an object";
    else if (!json->contains("individuals"))
        rule = "individuals: missing";
    else if (!json->contains("groups"))
        rule = "groups: missing";
    else if (rule =
                 readList(json->at("individuals"), "individuals", book.individuals, readIndividual);
             rule.empty())
        if (rule = readList(json->at("groups"), "groups", book.groups, readGroup); rule.empty())
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
    const std::optional<Json> json = parse(text, error);
    if (!json)
        return std::nullopt;
    std::string state;
    const bool detailIsText =
        json->is_object() && (!json->contains("detail") || json->at("detail").is_string());
    if (detailIsText && readString(*json, "state", state))
        for (std::string_view known : kStates)
            if (state == known)
                return state;
    if (error)
        *error = {Refusal::BrokenRule, "state: not \"ready\", \"busy\" or \"error\""};
    return std::nullopt;
}

} // namespace xdirkit
