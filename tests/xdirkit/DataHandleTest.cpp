#include "DataHandle.h"

#include "RecordText.h"
#include "xdirkit/XdirKit.h"

#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace {

using HandlePtr = std::unique_ptr<XDIRData, void (*)(XDIRDataRef)>;

HandlePtr makeHandle() {
    return HandlePtr(XDIRData_Create(), XDIRData_Delete);
}

XDIRMyFaxRecord personal(std::u16string name, std::u16string fax) {
    XDIRMyFaxRecord record{};
    xdirkit::writeField(record.name, XDIR_NAME_UNITS, name);
    xdirkit::writeField(record.faxNumber, XDIR_FAX_NUMBER_UNITS, fax);
    return record;
}

std::u16string nameOf(const XDIRMyFaxRecord& record) {
    return xdirkit::readField(record.name, XDIR_NAME_UNITS).value_or(u"<none>");
}

// A handle holding one record of each kind.
HandlePtr filledHandle() {
    HandlePtr data = makeHandle();
    const XDIRMyFaxRecord entry = personal(u"Anna", u"0301");
    EXPECT_EQ(XDIRData_Add_MyFax(data.get(), 1, &entry), XDIR_OK);
    data->handle.setPersonal(data->handle.myFax(), std::vector<XDIRMyFaxGroupRecord>(1));
    data->handle.setDevice(std::vector<XDIRFaxRecord>(1), std::vector<XDIRFaxGroupRecord>(1),
                           "\"v1\"");
    return data;
}

// ---- Bad calls answer a status and write nothing

TEST(DataHandle, BadCallsAnswerAStatusAndLeaveTheRecordUntouched) {
    HandlePtr data = filledHandle();
    XDIRDataRef h = data.get();
    struct Case {
        const char* label;
        std::function<int32_t(void*)> call;
        int32_t expected;
    };
    const std::vector<Case> kCases = {
        {"MyFax null handle", [](void* r) { return XDIRData_GetAt_MyFax(nullptr, 0, r); },
         XDIR_ERR_BAD_ARGUMENT},
        {"MyFax null record", [h](void*) { return XDIRData_GetAt_MyFax(h, 0, nullptr); },
         XDIR_ERR_BAD_ARGUMENT},
        {"MyFax negative", [h](void* r) { return XDIRData_GetAt_MyFax(h, -1, r); },
         XDIR_ERR_INDEX_OUT_OF_RANGE},
        {"MyFax past end", [h](void* r) { return XDIRData_GetAt_MyFax(h, 1, r); },
         XDIR_ERR_INDEX_OUT_OF_RANGE},
        {"MyFaxGroup null handle", [](void* r) { return XDIRData_GetAt_MyFaxGroup(nullptr, 0, r); },
         XDIR_ERR_BAD_ARGUMENT},
        {"MyFaxGroup past end", [h](void* r) { return XDIRData_GetAt_MyFaxGroup(h, 1, r); },
         XDIR_ERR_INDEX_OUT_OF_RANGE},
        {"Fax null record", [h](void*) { return XDIRData_GetAt_Fax(h, 0, nullptr); },
         XDIR_ERR_BAD_ARGUMENT},
        {"Fax minimum index", [h](void* r) { return XDIRData_GetAt_Fax(h, INT32_MIN, r); },
         XDIR_ERR_INDEX_OUT_OF_RANGE},
        {"FaxGroup null handle", [](void* r) { return XDIRData_GetAt_FaxGroup(nullptr, 0, r); },
         XDIR_ERR_BAD_ARGUMENT},
        {"FaxGroup past end", [h](void* r) { return XDIRData_GetAt_FaxGroup(h, 1, r); },
         XDIR_ERR_INDEX_OUT_OF_RANGE},
        {"Add null handle", [](void* r) { return XDIRData_Add_MyFax(nullptr, 1, r); },
         XDIR_ERR_BAD_ARGUMENT},
        {"Add negative count", [h](void* r) { return XDIRData_Add_MyFax(h, -1, r); },
         XDIR_ERR_BAD_ARGUMENT},
        {"Add null records", [h](void*) { return XDIRData_Add_MyFax(h, 1, nullptr); },
         XDIR_ERR_BAD_ARGUMENT},
        {"Add more than fit", [h](void* r) { return XDIRData_Add_MyFax(h, 65536, r); },
         XDIR_ERR_TOO_MANY_INDIVIDUALS},
        {"Initialize reserved", [](void*) { return Xdir_Initialize(1); }, XDIR_ERR_BAD_ARGUMENT},
    };
    for (const Case& c : kCases) {
        std::vector<uint8_t> record(960, 0xEE);
        EXPECT_EQ(c.call(record.data()), c.expected) << c.label;
        EXPECT_EQ(record, std::vector<uint8_t>(960, 0xEE)) << c.label;
    }
    EXPECT_EQ(XDIRData_GetCount_MyFax(h), 1);
}

TEST(DataHandle, CountsOfANullHandleAreNegativeSoNoLoopRuns) {
    EXPECT_EQ(XDIRData_GetCount_MyFax(nullptr), XDIR_COUNT_INVALID_HANDLE);
    EXPECT_EQ(XDIRData_GetCount_MyFaxGroup(nullptr), XDIR_COUNT_INVALID_HANDLE);
    EXPECT_EQ(XDIRData_GetCount_Fax(nullptr), XDIR_COUNT_INVALID_HANDLE);
    EXPECT_EQ(XDIRData_GetCount_FaxGroup(nullptr), XDIR_COUNT_INVALID_HANDLE);
    XDIRData_Delete(nullptr);
    EXPECT_EQ(Xdir_Initialize(0), XDIR_OK);
}

// ---- Adding personal entries

TEST(DataHandle, AddingIsAllOrNothingAndRefusesRecordsItCouldNotWrite) {
    struct Case {
        const char* label;
        XDIRMyFaxRecord second;
    };
    XDIRMyFaxRecord loneHigh = personal(u"x", u"1");
    loneHigh.name[0] = 0xD800;
    XDIRMyFaxRecord loneLowNote = personal(u"x", u"1");
    loneLowNote.note[3] = 0xDC00;
    loneLowNote.note[0] = loneLowNote.note[1] = loneLowNote.note[2] = 'a';
    const Case kCases[] = {
        {"empty name", personal(u"", u"0301")},
        {"empty fax number", personal(u"Bob", u"")},
        {"unpaired high surrogate in the name", loneHigh},
        {"unpaired low surrogate in the note", loneLowNote},
    };
    for (const Case& c : kCases) {
        HandlePtr data = makeHandle();
        const XDIRMyFaxRecord records[] = {personal(u"Anna", u"0301"), c.second};
        EXPECT_EQ(XDIRData_Add_MyFax(data.get(), 2, records), XDIR_ERR_BAD_RECORD) << c.label;
        EXPECT_EQ(XDIRData_GetCount_MyFax(data.get()), 0) << c.label;
    }
}

TEST(DataHandle, AddsAppendInCallOrderAndZeroAddsNothing) {
    HandlePtr data = makeHandle();
    const XDIRMyFaxRecord first[] = {personal(u"Anna", u"1"), personal(u"😀 Bob", u"2")};
    const XDIRMyFaxRecord second = personal(u"Carl", u"3");
    ASSERT_EQ(XDIRData_Add_MyFax(data.get(), 2, first), XDIR_OK);
    ASSERT_EQ(XDIRData_Add_MyFax(data.get(), 1, &second), XDIR_OK);
    ASSERT_EQ(XDIRData_Add_MyFax(data.get(), 0, nullptr), XDIR_OK);
    std::vector<std::u16string> names;
    for (int32_t i = 0; i < XDIRData_GetCount_MyFax(data.get()); ++i) {
        XDIRMyFaxRecord record;
        ASSERT_EQ(XDIRData_GetAt_MyFax(data.get(), i, &record), XDIR_OK);
        names.push_back(nameOf(record));
    }
    EXPECT_EQ(names, (std::vector<std::u16string>{u"Anna", u"😀 Bob", u"Carl"}));
}

TEST(DataHandle, HoldsAtMost65535PersonalEntries) {
    HandlePtr data = makeHandle();
    std::vector<XDIRMyFaxRecord> many(65534, personal(u"A", u"1"));
    ASSERT_EQ(XDIRData_Add_MyFax(data.get(), 65534, many.data()), XDIR_OK);
    const XDIRMyFaxRecord two[] = {personal(u"B", u"2"), personal(u"C", u"3")};
    EXPECT_EQ(XDIRData_Add_MyFax(data.get(), 2, two), XDIR_ERR_TOO_MANY_INDIVIDUALS);
    EXPECT_EQ(XDIRData_GetCount_MyFax(data.get()), 65534);
    EXPECT_EQ(XDIRData_Add_MyFax(data.get(), 1, two), XDIR_OK);
    EXPECT_EQ(XDIRData_GetCount_MyFax(data.get()), 65535);
}

// ---- Device records and their version

TEST(DataHandle, DeviceRecordsAndVersionAreReplacedTogether) {
    HandlePtr data = filledHandle();
    XDIRFaxRecord entry{};
    entry.identifier = 7;
    xdirkit::writeField(entry.name, XDIR_NAME_UNITS, u"Desk");
    XDIRFaxGroupRecord group{};
    group.memberCount = 1;
    group.memberIdentifiers[0] = 7;
    data->handle.setDevice({entry, entry}, {group}, "\"v2\"");
    EXPECT_EQ(XDIRData_GetCount_Fax(data.get()), 2);
    EXPECT_EQ(XDIRData_GetCount_FaxGroup(data.get()), 1);
    EXPECT_EQ(data->handle.deviceETag(), "\"v2\"");
    XDIRFaxGroupRecord copy;
    ASSERT_EQ(XDIRData_GetAt_FaxGroup(data.get(), 0, &copy), XDIR_OK);
    EXPECT_EQ(std::memcmp(&copy, &group, sizeof group), 0);
    EXPECT_EQ(XDIRData_GetCount_MyFax(data.get()), 1) << "personal entries stay";
}

} // namespace
