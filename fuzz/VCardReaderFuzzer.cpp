// The vCard reader and the fitting of its cards into records. Properties: every record's text
// fields end inside themselves and hold valid UTF-16; individuals are numbered 1, 2, 3 ...;
// group members name individuals of the same read, at most 31 of them; a card written anew
// reads back as one card with the same name and fax numbers.
#include "FuzzSupport.h"
#include "PersonalRecords.h"
#include "RecordText.h"
#include "VCardReader.h"
#include "VCardWriter.h"

#include <string>

namespace {

bool isWellFormedField(const uint16_t* field, size_t units) {
    const auto text = xdirkit::readField(field, units);
    return text && xdirkit::utf8FromUtf16(*text).has_value();
}

void checkRecords(const std::vector<xdirkit::VCardCard>& cards) {
    xdirkit::PersonalRecords records;
    if (records.build(cards) != XDIR_OK) {
        FUZZ_CHECK(records.entries.empty() && records.groups.empty());
        return;
    }
    for (size_t i = 0; i < records.entries.size(); ++i) {
        const XDIRMyFaxRecord& entry = records.entries[i];
        FUZZ_CHECK(entry.identifier == i + 1);
        FUZZ_CHECK(isWellFormedField(entry.name, XDIR_NAME_UNITS));
        FUZZ_CHECK(entry.name[0] != 0);
        FUZZ_CHECK(isWellFormedField(entry.faxNumber, XDIR_FAX_NUMBER_UNITS));
        FUZZ_CHECK(entry.faxNumber[0] != 0);
        FUZZ_CHECK(isWellFormedField(entry.company, XDIR_COMPANY_UNITS));
        FUZZ_CHECK(isWellFormedField(entry.note, XDIR_NOTE_UNITS));
    }
    for (const XDIRMyFaxGroupRecord& group : records.groups) {
        FUZZ_CHECK(isWellFormedField(group.name, XDIR_NAME_UNITS));
        FUZZ_CHECK(group.memberCount <= XDIR_MY_FAX_GROUP_MEMBERS);
        for (uint16_t m = 0; m < group.memberCount; ++m)
            FUZZ_CHECK(group.memberIdentifiers[m] >= 1 &&
                       group.memberIdentifiers[m] <= records.entries.size());
    }
}

void checkRewrite(xdirkit::VCardCard card) {
    const auto name = card.displayName();
    std::vector<std::string> numbers;
    for (const auto& number : card.faxNumbers())
        numbers.push_back(number.number);
    card.setFaxNumbers(numbers); // a change: the card is written anew
    const auto reread = xdirkit::VCardReader::read(xdirkit::VCardWriter::cardText(card));
    FUZZ_CHECK(reread && reread->size() == 1);
    const xdirkit::VCardCard& again = reread->front();
    FUZZ_CHECK(again.faxNumbers().size() == numbers.size());
    for (size_t i = 0; i < numbers.size(); ++i)
        FUZZ_CHECK(again.faxNumbers()[i].number == numbers[i]);
    FUZZ_CHECK(again.displayName() == name);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto cards =
        xdirkit::VCardReader::read(std::string(reinterpret_cast<const char*>(data), size));
    if (!cards)
        return 0;
    checkRecords(*cards);
    for (const xdirkit::VCardCard& card : *cards)
        checkRewrite(card);
    return 0;
}
