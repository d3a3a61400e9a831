#include "PersonalEntries.h"

#include "RecordText.h"

#include <cstddef>
#include <cstring>

namespace xdirkit {

XDIRMyFaxRecord PersonalEntries::operator[](std::size_t index) const {
    XDIRMyFaxRecord record;
    copyTo(index, &record);
    return record;
}

void PersonalEntries::copyTo(std::size_t index, void* record) const {
    if (index >= read_.size()) {
        std::memcpy(record, &added_[index - read_.size()], sizeof(XDIRMyFaxRecord));
        return;
    }
    // Written as bytes: the caller's memory need not be aligned for the record.
    auto* bytes = static_cast<unsigned char*>(record);
    std::memset(bytes, 0, sizeof(XDIRMyFaxRecord));
    const ReadEntry& entry = read_[index];
    std::memcpy(bytes + offsetof(XDIRMyFaxRecord, identifier), &entry.identifier,
                sizeof entry.identifier);
    writeText(bytes, offsetof(XDIRMyFaxRecord, name), entry.name);
    writeText(bytes, offsetof(XDIRMyFaxRecord, faxNumber), entry.faxNumber);
    writeText(bytes, offsetof(XDIRMyFaxRecord, company), entry.company);
    writeText(bytes, offsetof(XDIRMyFaxRecord, note), entry.note);
}

void PersonalEntries::writeText(unsigned char* record, std::size_t offset, Text text) const {
    // The field's zero unit and the rest are the zeros already there.
    std::memcpy(record + offset, texts_.data() + text.begin, text.length * sizeof(char16_t));
}

void PersonalEntries::clear() {
    texts_.clear();
    read_.clear();
    added_.clear();
}

PersonalEntries::Text PersonalEntries::addText(std::string_view utf8, std::size_t maxUnits) {
    const std::size_t begin = texts_.size();
    if (!appendUtf16(texts_, utf8))
        return Text{static_cast<uint32_t>(begin), 0};
    const std::u16string_view units = std::u16string_view(texts_).substr(begin);
    texts_.resize(begin + cutAtCodePoint(units, maxUnits).size());
    return Text{static_cast<uint32_t>(begin), static_cast<uint32_t>(texts_.size() - begin)};
}

bool PersonalEntries::addWholeText(std::string_view utf8, std::size_t maxUnits, Text& text) {
    const std::size_t begin = texts_.size();
    // Bytes that are not UTF-8 make an empty text, as in addText.
    if (appendUtf16(texts_, utf8) && texts_.size() - begin > maxUnits) {
        texts_.resize(begin);
        return false;
    }
    text = Text{static_cast<uint32_t>(begin), static_cast<uint32_t>(texts_.size() - begin)};
    return true;
}

void PersonalEntries::addRead(uint16_t identifier, Text name, Text faxNumber, Text company,
                              Text note) {
    read_.push_back(ReadEntry{identifier, name, faxNumber, company, note});
}

void PersonalEntries::reserveForBookOf(std::size_t bytes) {
    texts_.reserve(bytes / 4);
}

void PersonalEntries::append(const XDIRMyFaxRecord* records, std::size_t count) {
    added_.insert(added_.end(), records, records + count);
}

} // namespace xdirkit
