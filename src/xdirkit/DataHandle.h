#pragma once

#include "PersonalEntries.h"
#include "xdirkit/XdirKit.h"

#include <cstddef>
#include <string>
#include <vector>

namespace xdirkit {

// The entries and groups behind one XDIRDataRef, kept as the records the C calls copy out:
// personal entries and groups (from an address-book file, or added by a caller) and device
// entries and groups (from the printer), plus the version tag of the printer's book they were
// read from. Each kind is replaced or appended as a whole; a failed change leaves it as it was.
class DataHandle {
public:
    const PersonalEntries& myFax() const { return myFax_; }
    const std::vector<XDIRMyFaxGroupRecord>& myFaxGroups() const { return myFaxGroups_; }
    const std::vector<XDIRFaxRecord>& fax() const { return fax_; }
    const std::vector<XDIRFaxGroupRecord>& faxGroups() const { return faxGroups_; }

    // The printer's version tag (an HTTP entity tag) of the book last read; empty when none.
    const std::string& deviceETag() const { return deviceETag_; }

    void setPersonal(PersonalEntries entries, std::vector<XDIRMyFaxGroupRecord> groups);
    void setDevice(std::vector<XDIRFaxRecord> entries, std::vector<XDIRFaxGroupRecord> groups,
                   std::string eTag);

    // Appends copies of count records; false (and nothing appended) when the handle would hold
    // more than XDIR_MAX_INDIVIDUALS personal entries.
    bool appendMyFax(const XDIRMyFaxRecord* records, std::size_t count);

private:
    PersonalEntries myFax_;
    std::vector<XDIRMyFaxGroupRecord> myFaxGroups_;
    std::vector<XDIRFaxRecord> fax_;
    std::vector<XDIRFaxGroupRecord> faxGroups_;
    std::string deviceETag_;
};

} // namespace xdirkit

// The C handle type: one DataHandle. Defined here so that every C entry point of the library
// reaches the same object.
struct XDIRData {
    xdirkit::DataHandle handle;
};
