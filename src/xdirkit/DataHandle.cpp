#include "DataHandle.h"

#include <utility>

namespace xdirkit {

void DataHandle::setPersonal(PersonalEntries entries, std::vector<XDIRMyFaxGroupRecord> groups) {
    myFax_ = std::move(entries);
    myFaxGroups_ = std::move(groups);
}

void DataHandle::setDevice(std::vector<XDIRFaxRecord> entries,
                           std::vector<XDIRFaxGroupRecord> groups, std::string eTag) {
    fax_ = std::move(entries);
    faxGroups_ = std::move(groups);
    deviceETag_ = std::move(eTag);
}

bool DataHandle::appendMyFax(const XDIRMyFaxRecord* records, std::size_t count) {
    if (count > XDIR_MAX_INDIVIDUALS - myFax_.size())
        return false;
    myFax_.append(records, count);
    return true;
}

} // namespace xdirkit
