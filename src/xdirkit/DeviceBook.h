#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace xdirkit {

// The printer's address book as its JSON document carries it: individuals with identifier, name
// and fax number, and groups with a name and member identifiers, both in the printer's order.
// Texts are UTF-8. fromJson checks every rule of the device protocol and refuses the whole
// document when one is broken; toJson writes the document the printer serves.
class DeviceBook {
public:
    static constexpr std::size_t kMaximumNameUnits = 32;
    static constexpr std::size_t kMaximumFaxNumberUnits = 50;
    static constexpr std::size_t kMaximumGroupMembers = 201;
    static constexpr std::size_t kMaximumEntries = 65535;
    // Deeper documents are refused before parsing; the book needs 4 levels.
    static constexpr std::size_t kMaximumNesting = 16;

    struct Individual {
        std::uint16_t id = 0;
        std::string name;
        std::string faxNumber;
        bool operator==(const Individual&) const = default;
    };
    struct Group {
        std::string name;
        std::vector<std::uint16_t> members;
        bool operator==(const Group&) const = default;
    };

    // Why a document was refused: it is not JSON at all (or cut short), or it is JSON that breaks
    // a rule of the book.
    enum class Refusal { NotJson, BrokenRule };
    struct Error {
        Refusal refusal = Refusal::NotJson;
        std::string reason;
    };

    std::vector<Individual> individuals;
    std::vector<Group> groups;

    // The book, or the reason it is refused (one line naming the member, e.g.
    // "individuals[2].faxNumber: character ' ' not allowed").
    static std::optional<DeviceBook> fromJson(std::string_view text, Error* error = nullptr);
    // Compact, or indented by that many spaces.
    std::string toJson(int indent = -1) const;
    // The same rules fromJson applies; empty when the book keeps them all.
    std::string brokenRule() const;

    bool operator==(const DeviceBook&) const = default;

    // Length of valid UTF-8 text in UTF-16 code units.
    static std::size_t utf16Length(std::string_view utf8);
    // The printer's state from a status document: "ready", "busy" or "error"; absent for
    // anything else.
    static std::optional<std::string> stateFromJson(std::string_view text, Error* error = nullptr);
};

} // namespace xdirkit
