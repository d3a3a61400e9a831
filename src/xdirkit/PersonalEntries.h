#pragma once

#include "xdirkit/XdirKit.h"

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace xdirkit {

// The personal fax entries of a handle, in order: first those read from a book, kept as their
// texts (a record is 960 bytes, nearly all of them zero, and a book may hold 65,535 entries),
// then the records callers added, kept whole. A record is made when it is asked for.
class PersonalEntries {
public:
    // A text of the read entries; the entries of one contact share their name, company and note.
    struct Text {
        uint32_t begin = 0;
        uint32_t length = 0;
    };

    std::size_t size() const { return read_.size() + added_.size(); }
    bool empty() const { return size() == 0; }
    // Index below size().
    XDIRMyFaxRecord operator[](std::size_t index) const;
    XDIRMyFaxRecord back() const { return (*this)[size() - 1]; }
    // The record at index into memory of sizeof(XDIRMyFaxRecord) bytes, aligned or not.
    void copyTo(std::size_t index, void* record) const;
    void clear();

    // ---- Entries read from a book; none may follow an added record.
    // The text as UTF-16, cut to maxUnits units at a code-point boundary; empty when the bytes
    // are not UTF-8.
    Text addText(std::string_view utf8, std::size_t maxUnits);
    // The text whole; false (nothing kept) when it is longer than maxUnits units.
    bool addWholeText(std::string_view utf8, std::size_t maxUnits, Text& text);
    void addRead(uint16_t identifier, Text name, Text faxNumber, Text company, Text note);
    // Room for the texts of a book of this many bytes, which the texts seldom pass.
    void reserveForBookOf(std::size_t bytes);

    // ---- Records added by callers.
    void append(const XDIRMyFaxRecord* records, std::size_t count);

    // Records by value, for range-for.
    class Iterator {
    public:
        using iterator_category = std::input_iterator_tag;
        using value_type = XDIRMyFaxRecord;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = XDIRMyFaxRecord;

        Iterator(const PersonalEntries* entries, std::size_t index)
            : entries_(entries), index_(index) {}
        XDIRMyFaxRecord operator*() const { return (*entries_)[index_]; }
        Iterator& operator++() {
            ++index_;
            return *this;
        }
        bool operator==(const Iterator& other) const { return index_ == other.index_; }
        bool operator!=(const Iterator& other) const { return index_ != other.index_; }

    private:
        const PersonalEntries* entries_;
        std::size_t index_;
    };
    Iterator begin() const { return Iterator(this, 0); }
    Iterator end() const { return Iterator(this, size()); }

private:
    struct ReadEntry {
        uint16_t identifier = 0;
        Text name;
        Text faxNumber;
        Text company;
        Text note;
    };

    void writeText(unsigned char* record, std::size_t offset, Text text) const;

    std::u16string texts_;
    std::vector<ReadEntry> read_;
    std::vector<XDIRMyFaxRecord> added_;
};

} // namespace xdirkit
