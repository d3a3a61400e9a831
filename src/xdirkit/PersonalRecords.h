#pragma once

#include "PersonalEntries.h"
#include "VCardCard.h"
#include "xdirkit/XdirKit.h"

#include <string>
#include <vector>

namespace xdirkit {

// Fits the cards of a book into personal fax entries and groups.
//
// Every fax number of a contact is one individual, numbered 1, 2, 3 ... in file order; its name
// is FN, else N, else the company, else the fax number itself, so the name is never empty. A
// name is cut to 32 UTF-16 units, a company to 64 and a note to 254, never inside a surrogate
// pair. A fax number longer than 50 units is never cut (a cut number dials a stranger): that
// individual is left out with a warning. A group lists, for each member contact, the individual
// of its most preferred fax number; members without one are skipped, a member named twice
// counts once, and past 31 members the rest is dropped with a warning. A group without a name is
// left out with a warning.
class PersonalRecords {
public:
    PersonalEntries entries;
    std::vector<XDIRMyFaxGroupRecord> groups;
    // One line each, for standard error.
    std::vector<std::string> warnings;

    // XDIR_OK, or XDIR_ERR_TOO_MANY_INDIVIDUALS (with nothing filled) past 65,535 individuals.
    int32_t build(const std::vector<VCardCard>& cards);
    // Reads and builds from the book at path, card by card: as build, or XDIR_ERR_FILE_NOT_FOUND,
    // XDIR_ERR_FILE_UNREADABLE, XDIR_ERR_FILE_MALFORMED (nothing filled).
    int32_t readFile(const std::string& path);
};

} // namespace xdirkit
