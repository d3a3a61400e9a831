#include "DataHandle.h"
#include "DeviceBook.h"
#include "support/PrinterSimProcess.h"
#include "xdirkit/XdirKit.h"

#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>

using vextel_test::PrinterSimProcess;
using xdirkit::DeviceBook;

namespace {

constexpr const char* kCode = "0815";

const DeviceBook kBook{{{1, "Ana", "0312"}, {40000, "Łukasz \xF0\x9F\x93\xA0", "5-5"}},
                       {{"Both", {40000, 1}}, {"None", {}}}};

struct HandleDeleter {
    void operator()(XDIRData* data) const { XDIRData_Delete(data); }
};
using Handle = std::unique_ptr<XDIRData, HandleDeleter>;

Handle newHandle() {
    return Handle(XDIRData_Create());
}

std::u16string text(const uint16_t* field) {
    std::u16string units;
    while (*field)
        units += static_cast<char16_t>(*field++);
    return units;
}

// Points the network destination at the simulator.
void aimAt(const PrinterSimProcess& sim) {
    setenv("VEXTEL_DEVICE_PORT", std::to_string(sim.port()).c_str(), 1);
    ASSERT_EQ(XdirDevice_SetDestinationDevice(0, XDIR_DEVICE_KIND_NETWORK, sim.host().c_str()),
              XDIR_OK);
}

class XdirDeviceTest : public testing::Test {
protected:
    void TearDown() override {
        unsetenv("VEXTEL_DEVICE_PORT");
        unsetenv("VEXTEL_USB_ENDPOINT");
    }
};

// ---- Choosing the printer

TEST_F(XdirDeviceTest, AnUnusableDestinationForgetsThePreviousOne) {
    PrinterSimProcess sim(kBook.toJson(), {"--password", kCode});
    aimAt(sim);
    EXPECT_EQ(XdirDevice_GetStatus(0, XDIR_DEVICE_QUERY_STATUS), XDIR_DEVICE_READY);
    struct Row {
        int32_t reserved;
        int32_t kind;
        const char* address;
    };
    const Row refused[] = {{0, XDIR_DEVICE_KIND_NETWORK, "printer.example"},
                           {0, XDIR_DEVICE_KIND_NETWORK, nullptr},
                           {0, 7, "127.0.0.1"},
                           {1, XDIR_DEVICE_KIND_NETWORK, "127.0.0.1"}};
    for (const Row& row : refused) {
        aimAt(sim);
        EXPECT_EQ(XdirDevice_SetDestinationDevice(row.reserved, row.kind, row.address),
                  XDIR_ERR_BAD_ARGUMENT);
        EXPECT_EQ(XdirDevice_GetStatus(0, XDIR_DEVICE_QUERY_STATUS), XDIR_ERR_DEVICE_NOT_SET);
        Handle data = newHandle();
        EXPECT_EQ(XdirDevice_ReadData(0, data.get(), XDIR_DEVICE_ADDRESS_BOOK, kCode),
                  XDIR_ERR_DEVICE_NOT_SET);
    }
}

TEST_F(XdirDeviceTest, AUsbPrinterIsReachedThroughItsLoopbackEndpoint) {
    PrinterSimProcess sim(kBook.toJson(), {"--password", kCode}, "[::1]:0");
    setenv("VEXTEL_USB_ENDPOINT", sim.address().c_str(), 1);
    EXPECT_EQ(XdirDevice_SetDestinationDevice(0, XDIR_DEVICE_KIND_USB, nullptr), XDIR_OK);
    EXPECT_EQ(XdirDevice_GetStatus(0, XDIR_DEVICE_QUERY_STATUS), XDIR_DEVICE_READY);
    Handle data = newHandle();
    EXPECT_EQ(XdirDevice_ReadData(0, data.get(), XDIR_DEVICE_ADDRESS_BOOK, kCode), XDIR_OK);
    EXPECT_EQ(XDIRData_GetCount_Fax(data.get()), 2);
}

// ---- Statuses

TEST_F(XdirDeviceTest, EachPrinterConditionHasItsOwnStatus) {
    struct Row {
        const char* fault; // nullptr: none
        const char* password;
        int32_t status;
        int32_t read;
    };
    const Row rows[] = {
        {nullptr, kCode, XDIR_DEVICE_READY, XDIR_OK},
        {nullptr, "0816", XDIR_DEVICE_READY, XDIR_ERR_WRONG_PASSWORD},
        {"busy", kCode, XDIR_DEVICE_BUSY, XDIR_OK},
        {"down", kCode, XDIR_ERR_DEVICE_UNREACHABLE, XDIR_ERR_DEVICE_UNREACHABLE},
        {"garbage", kCode, XDIR_ERR_DEVICE_PROTOCOL, XDIR_ERR_DEVICE_PROTOCOL},
        {"wrong-type", kCode, XDIR_ERR_DEVICE_PROTOCOL, XDIR_ERR_DEVICE_INVALID_BOOK},
        {"oversized", kCode, XDIR_ERR_DEVICE_TOO_LARGE, XDIR_ERR_DEVICE_TOO_LARGE},
        {"disconnect", kCode, XDIR_ERR_DEVICE_CONNECTION_LOST, XDIR_ERR_DEVICE_CONNECTION_LOST},
    };
    for (const Row& row : rows) {
        std::vector<std::string> arguments = {"--password", kCode};
        if (row.fault)
            arguments.insert(arguments.end(), {"--fault", row.fault});
        PrinterSimProcess sim(kBook.toJson(), arguments);
        aimAt(sim);
        const char* what = row.fault ? row.fault : row.password;
        EXPECT_EQ(XdirDevice_GetStatus(0, XDIR_DEVICE_QUERY_STATUS), row.status) << what;
        Handle data = newHandle();
        EXPECT_EQ(XdirDevice_ReadData(0, data.get(), XDIR_DEVICE_ADDRESS_BOOK, row.password),
                  row.read)
            << what;
        EXPECT_EQ(XDIRData_GetCount_Fax(data.get()), row.read == XDIR_OK ? 2 : 0) << what;
    }
}

TEST_F(XdirDeviceTest, BadCallsAnswerAStatusAndAskNobody) {
    Handle data = newHandle();
    EXPECT_EQ(XdirDevice_GetStatus(0, 2049), XDIR_ERR_BAD_ARGUMENT);
    EXPECT_EQ(XdirDevice_GetStatus(1, XDIR_DEVICE_QUERY_STATUS), XDIR_ERR_BAD_ARGUMENT);
    EXPECT_EQ(XdirDevice_ReadData(0, nullptr, XDIR_DEVICE_ADDRESS_BOOK, kCode),
              XDIR_ERR_BAD_ARGUMENT);
    EXPECT_EQ(XdirDevice_ReadData(0, data.get(), 24, kCode), XDIR_ERR_BAD_ARGUMENT);
    EXPECT_EQ(XdirDevice_ReadData(0, data.get(), XDIR_DEVICE_ADDRESS_BOOK, nullptr),
              XDIR_ERR_BAD_ARGUMENT);
    EXPECT_EQ(XdirDevice_WriteData(0, nullptr, XDIR_DEVICE_ADDRESS_BOOK, kCode),
              XDIR_ERR_BAD_ARGUMENT);
    EXPECT_EQ(XdirDevice_WriteData(2, data.get(), XDIR_DEVICE_ADDRESS_BOOK, kCode),
              XDIR_ERR_BAD_ARGUMENT);
}

// ---- Reading and writing the records

TEST_F(XdirDeviceTest, ReadingFillsTheDeviceRecordsInThePrintersOrder) {
    PrinterSimProcess sim(kBook.toJson(), {"--password", kCode});
    aimAt(sim);
    Handle data = newHandle();
    ASSERT_EQ(XdirDevice_ReadData(0, data.get(), XDIR_DEVICE_ADDRESS_BOOK, kCode), XDIR_OK);
    ASSERT_EQ(XDIRData_GetCount_Fax(data.get()), 2);
    ASSERT_EQ(XDIRData_GetCount_FaxGroup(data.get()), 2);
    EXPECT_EQ(XDIRData_GetCount_MyFax(data.get()), 0);

    XDIRFaxRecord entry;
    std::memset(&entry, 0xA5, sizeof entry);
    ASSERT_EQ(XDIRData_GetAt_Fax(data.get(), 1, &entry), XDIR_OK);
    EXPECT_EQ(entry.identifier, 40000);
    EXPECT_EQ(text(entry.name), u"Łukasz \U0001F4E0");
    EXPECT_EQ(text(entry.faxNumber), u"5-5");
    EXPECT_EQ(entry.name[9], 0) << "the field is zero after its text";
    EXPECT_EQ(entry.name[XDIR_NAME_UNITS - 1], 0);

    XDIRFaxGroupRecord group;
    ASSERT_EQ(XDIRData_GetAt_FaxGroup(data.get(), 0, &group), XDIR_OK);
    EXPECT_EQ(text(group.name), u"Both");
    ASSERT_EQ(group.memberCount, 2);
    EXPECT_EQ(group.memberIdentifiers[0], 40000);
    EXPECT_EQ(group.memberIdentifiers[1], 1);
    EXPECT_EQ(group.memberIdentifiers[2], 0);
    EXPECT_FALSE(data->handle.deviceETag().empty());

    EXPECT_EQ(XdirDevice_ReadData(0, data.get(), XDIR_DEVICE_ADDRESS_BOOK, "1111"),
              XDIR_ERR_WRONG_PASSWORD);
    EXPECT_EQ(XDIRData_GetCount_Fax(data.get()), 2) << "a failed read leaves the handle";
}

TEST_F(XdirDeviceTest, WritingNeedsTheVersionThatWasRead) {
    PrinterSimProcess sim(kBook.toJson(), {"--password", kCode});
    aimAt(sim);
    Handle editor = newHandle();
    Handle other = newHandle();
    ASSERT_EQ(XdirDevice_ReadData(0, editor.get(), XDIR_DEVICE_ADDRESS_BOOK, kCode), XDIR_OK);
    ASSERT_EQ(XdirDevice_ReadData(0, other.get(), XDIR_DEVICE_ADDRESS_BOOK, kCode), XDIR_OK);

    auto entries = editor->handle.fax();
    entries[0].name[0] = u'E';
    editor->handle.setDevice(entries, editor->handle.faxGroups(), editor->handle.deviceETag());
    const std::string readTag = editor->handle.deviceETag();
    ASSERT_EQ(XdirDevice_WriteData(0, editor.get(), XDIR_DEVICE_ADDRESS_BOOK, kCode), XDIR_OK);
    EXPECT_NE(editor->handle.deviceETag(), readTag) << "the handle now holds the new version";

    EXPECT_EQ(XdirDevice_WriteData(0, other.get(), XDIR_DEVICE_ADDRESS_BOOK, kCode),
              XDIR_ERR_DEVICE_CHANGED)
        << "another editor's write came first";
    Handle neverRead = newHandle();
    neverRead->handle.setDevice(entries, {}, "");
    EXPECT_EQ(XdirDevice_WriteData(0, neverRead.get(), XDIR_DEVICE_ADDRESS_BOOK, kCode),
              XDIR_ERR_DEVICE_CHANGED);
    EXPECT_EQ(XdirDevice_WriteData(0, editor.get(), XDIR_DEVICE_ADDRESS_BOOK, "0000"),
              XDIR_ERR_WRONG_PASSWORD);

    struct Row {
        const char* what;
        void (*spoil)(XDIRFaxRecord&, XDIRFaxGroupRecord&);
    };
    const Row spoiled[] = {
        {"unterminated name",
         [](XDIRFaxRecord& e, XDIRFaxGroupRecord&) {
             std::fill(std::begin(e.name), std::end(e.name), u'x');
         }},
        {"empty fax number",
         [](XDIRFaxRecord& e, XDIRFaxGroupRecord&) {
             e.faxNumber[0] = 0;
         }},
        {"fax number with a letter",
         [](XDIRFaxRecord& e, XDIRFaxGroupRecord&) {
             e.faxNumber[0] = u'O';
         }},
        {"identifier zero",
         [](XDIRFaxRecord& e, XDIRFaxGroupRecord&) {
             e.identifier = 0;
         }},
        {"member that names nobody",
         [](XDIRFaxRecord&, XDIRFaxGroupRecord& g) {
             g.memberIdentifiers[0] = 2;
         }},
        {"202 members",
         [](XDIRFaxRecord&, XDIRFaxGroupRecord& g) {
             g.memberCount = 202;
         }},
    };
    for (const Row& row : spoiled) {
        auto badEntries = editor->handle.fax();
        auto badGroups = editor->handle.faxGroups();
        row.spoil(badEntries[0], badGroups[0]);
        Handle bad = newHandle();
        bad->handle.setDevice(badEntries, badGroups, editor->handle.deviceETag());
        EXPECT_EQ(XdirDevice_WriteData(0, bad.get(), XDIR_DEVICE_ADDRESS_BOOK, kCode),
                  XDIR_ERR_BAD_RECORD)
            << row.what;
    }

    Handle reread = newHandle();
    ASSERT_EQ(XdirDevice_ReadData(0, reread.get(), XDIR_DEVICE_ADDRESS_BOOK, kCode), XDIR_OK);
    XDIRFaxRecord first;
    ASSERT_EQ(XDIRData_GetAt_Fax(reread.get(), 0, &first), XDIR_OK);
    EXPECT_EQ(text(first.name), u"Ena");
    EXPECT_EQ(reread->handle.deviceETag(), editor->handle.deviceETag());
}

} // namespace
