#pragma once

#include "DeviceBook.h"
#include "JsonValueEvents.h"

#include <string>
#include <vector>

namespace xdirkit {

// Builds a DeviceBook while its document is parsed, never holding a tree of the document: the
// memory it takes is that of the entries it keeps, and it keeps no more than a book may hold
// (kMaximumEntries of each kind, kMaximumGroupMembers members a group), however many items the
// text lists. It finds the rules of the document's shape in the order a check of the whole
// document would: the top level, then "individuals", then "groups", each list in order; the rules
// between entries (identifiers, members) are DeviceBook::brokenRule's.
class DeviceBookReader : public JsonValueEvents {
public:
    // After a complete parse: the first broken rule of the document's shape, empty when none.
    std::string brokenShapeRule() const;
    // The entries read; a book only when brokenShapeRule is empty.
    DeviceBook takeBook() { return std::move(book_); }

protected:
    void onKey(std::string& name) override;
    void onValue(const Value& value) override;
    void onEnd() override;

private:
    // What each open object or array is to the book.
    enum class Frame { Skipped, Document, Individuals, Groups, Individual, Group, Members };
    // A member of an entry: not there, of the wrong type, or read.
    enum class Field { Missing, Wrong, Read };
    struct List {
        bool present = false;
        std::size_t count = 0; // items seen, kept or not
        std::string rule;      // the first broken rule, after the list's name
    };
    struct Entry {
        Field id = Field::Missing;
        Field name = Field::Missing;
        Field faxNumber = Field::Missing;
        Field members = Field::Missing;
        std::size_t memberCount = 0;
        bool memberIsWrong = false;
        DeviceBook::Individual individual;
        DeviceBook::Group group;
    };

    void onDocumentMember(const Value& value);
    void onListItem(const Value& value);
    void onIndividualMember(const Value& value);
    void onGroupMember(const Value& value);
    void onMember(const Value& value);
    static void finishList(List& list);
    void finishIndividual();
    void finishGroup();
    std::string entryProblem(Frame kind) const;
    static Field textField(const Value& value, std::string& target);

    std::vector<Frame> frames_;
    Frame opening_ = Frame::Skipped; // the frame an object or array value opens
    bool isObject_ = false;
    std::string key_;
    List individuals_;
    List groups_;
    Entry entry_;
    DeviceBook book_;
};

} // namespace xdirkit
