// Writing back a book the reader accepts, as the editor saves it. Properties:
// - unedited, every whole card is written as the bytes it was read from, a card cut off gets the
//   END lines it lacks, and the book written reads back as the same cards; written again it
//   stays the same bytes;
// - after a small edit of one card (its note, its name, its fax numbers), and in an export as
//   4.0, every card keeps its name, fax numbers, UID, group kind and members, and the edit
//   reads back as made.
#include "FuzzSupport.h"
#include "VCardReader.h"
#include "VCardWriter.h"

#include <optional>
#include <string>
#include <vector>

namespace {

using xdirkit::VCardCard;
using xdirkit::VCardReader;
using xdirkit::VCardWriter;

struct Reading {
    std::optional<std::string> name;
    std::vector<std::string> faxNumbers;
    std::string uid;
    bool group = false;
    std::vector<std::string> members;
    std::string note;
    bool operator==(const Reading&) const = default;
};

Reading readingOf(const VCardCard& card) {
    Reading reading{card.displayName(), {},         card.uid(), card.isGroup(),
                    card.memberUids(),  card.note()};
    for (const auto& fax : card.faxNumbers())
        reading.faxNumbers.push_back(fax.number);
    return reading;
}

std::vector<Reading> readingsOf(const std::vector<VCardCard>& cards) {
    std::vector<Reading> readings;
    for (const VCardCard& card : cards)
        readings.push_back(readingOf(card));
    return readings;
}

std::vector<Reading> readBack(const std::string& text) {
    const auto cards = VCardReader::read(text);
    FUZZ_CHECK(cards.has_value());
    return readingsOf(*cards);
}

void checkUnedited(const std::vector<VCardCard>& cards) {
    for (const VCardCard& card : cards)
        if (!card.isCutOff())
            FUZZ_CHECK(VCardWriter::cardText(card) == card.original());
    const std::string text = VCardWriter::bookText(cards);
    FUZZ_CHECK(readBack(text) == readingsOf(cards));
    const auto again = VCardReader::read(text);
    FUZZ_CHECK(again && VCardWriter::bookText(*again) == text);
}

// A small edit chosen by the input; the readings the edited book must give.
std::vector<Reading> edit(std::vector<VCardCard>& cards, uint8_t choice) {
    std::vector<Reading> wanted = readingsOf(cards);
    if (cards.empty())
        return wanted;
    const std::size_t index = choice % cards.size();
    VCardCard& card = cards[index];
    Reading& reading = wanted[index];
    switch ((choice / 16) % 3) {
    case 0:
        card.setNote("Edited; note\nsecond line");
        reading.note = "Edited; note\nsecond line";
        break;
    case 1:
        card.setFaxNumbers(reading.faxNumbers);
        break;
    default:
        if (reading.name) {
            card.setDisplayName(*reading.name);
        }
        break;
    }
    return wanted;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::muteLibraryDiagnostics();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 1 << 16)
        return 0;
    fuzz::InputReader in(data, size);
    const uint8_t choice = in.takeByte();
    auto cards = VCardReader::read(in.restAsString());
    if (!cards)
        return 0;
    checkUnedited(*cards);

    const std::vector<Reading> wanted = edit(*cards, choice);
    FUZZ_CHECK(readBack(VCardWriter::bookText(*cards)) == wanted);
    // An export keeps what the cards read as, notes aside (a note in a character set this
    // computer does not know stays as written).
    const std::vector<Reading> exported =
        readBack(VCardWriter::bookText(*cards, VCardWriter::Versions::AllAs4));
    FUZZ_CHECK(exported.size() == wanted.size());
    for (std::size_t i = 0; i < wanted.size(); ++i) {
        Reading withoutNote = exported[i];
        withoutNote.note = wanted[i].note;
        FUZZ_CHECK(withoutNote == wanted[i]);
    }
    return 0;
}
