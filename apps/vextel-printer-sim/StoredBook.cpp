#include "StoredBook.h"

#include "BookFile.h"
#include "PersonalRecords.h"
#include "RecordText.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unordered_set>

namespace vextel_sim {

namespace {

bool failWith(std::string* error, std::string message) {
    if (error)
        *error = std::move(message) + ": " + std::strerror(errno);
    return false;
}

std::string lowerCase(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::optional<std::string> fieldText(const uint16_t* field, std::size_t units) {
    const auto text = xdirkit::readField(field, units);
    return text ? xdirkit::utf8FromUtf16(*text) : std::nullopt;
}

// A PC fax number as the printer dials it: the separators people write between digit groups go;
// anything else the printer cannot dial (a plus sign, a letter) leaves the number out.
std::optional<std::string> dialable(const std::string& number) {
    std::string digits;
    for (char c : number) {
        if (std::string_view(" .()/").find(c) != std::string_view::npos)
            continue;
        if (std::string_view("0123456789#*-:=").find(c) == std::string_view::npos)
            return std::nullopt;
        digits += c;
    }
    if (digits.empty())
        return std::nullopt;
    return digits;
}

std::optional<xdirkit::DeviceBook> fromVCard(const std::string& path, std::string* error,
                                             std::vector<std::string>* warnings) {
    xdirkit::PersonalRecords records;
    if (const int32_t status = records.readFile(path); status != XDIR_OK) {
        if (error)
            *error = path + ": not a readable vCard book (status " + std::to_string(status) + ")";
        return std::nullopt;
    }
    std::vector<std::string> notes = records.warnings;
    xdirkit::DeviceBook book;
    std::unordered_set<std::uint16_t> kept;
    for (const XDIRMyFaxRecord& entry : records.entries) {
        const auto name = fieldText(entry.name, XDIR_NAME_UNITS);
        const auto number = fieldText(entry.faxNumber, XDIR_FAX_NUMBER_UNITS);
        const auto dialled = number ? dialable(*number) : std::nullopt;
        if (!name || !dialled) {
            notes.push_back("entry " + std::to_string(entry.identifier) +
                            " left out: the printer cannot dial its fax number");
            continue;
        }
        book.individuals.push_back({entry.identifier, *name, *dialled});
        kept.insert(entry.identifier);
    }
    for (const XDIRMyFaxGroupRecord& group : records.groups) {
        const auto name = fieldText(group.name, XDIR_NAME_UNITS);
        if (!name)
            continue;
        xdirkit::DeviceBook::Group deviceGroup{*name, {}};
        for (std::size_t i = 0; i < group.memberCount && i < XDIR_MY_FAX_GROUP_MEMBERS; ++i)
            if (kept.contains(group.memberIdentifiers[i]))
                deviceGroup.members.push_back(group.memberIdentifiers[i]);
        book.groups.push_back(std::move(deviceGroup));
    }
    if (const std::string rule = book.brokenRule(); !rule.empty()) {
        if (error)
            *error = path + ": " + rule;
        return std::nullopt;
    }
    if (warnings)
        *warnings = std::move(notes);
    return book;
}

} // namespace

bool StoredBook::isVCard(const std::string& path) {
    const std::string lower = lowerCase(path);
    for (std::string_view ending : {".vcf", ".vcard"})
        if (lower.size() >= ending.size() &&
            lower.compare(lower.size() - ending.size(), ending.size(), ending) == 0)
            return true;
    std::ifstream file(path, std::ios::binary);
    std::string start(256, '\0');
    file.read(start.data(), static_cast<std::streamsize>(start.size()));
    start.resize(static_cast<std::size_t>(file.gcount()));
    return lowerCase(start).find("begin:vcard") != std::string::npos;
}

std::optional<xdirkit::DeviceBook> StoredBook::load(const std::string& path, std::string* error,
                                                    std::vector<std::string>* warnings) {
    if (isVCard(path))
        return fromVCard(path, error, warnings);
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        failWith(error, path);
        return std::nullopt;
    }
    std::ostringstream text;
    text << file.rdbuf();
    xdirkit::DeviceBook::Error refusal;
    auto book = xdirkit::DeviceBook::fromJson(text.str(), &refusal);
    if (!book && error)
        *error = path + ": " + refusal.reason;
    return book;
}

bool StoredBook::save(const std::string& path, const xdirkit::DeviceBook& book,
                      std::string* error) {
    struct stat existing {};
    const mode_t mode = ::stat(path.c_str(), &existing) == 0 ? existing.st_mode & 07777 : 0644;
    if (xdirkit::BookFile::replace(path, book.toJson(2) + "\n", mode) != XDIR_OK)
        return failWith(error, path);
    return true;
}

} // namespace vextel_sim
