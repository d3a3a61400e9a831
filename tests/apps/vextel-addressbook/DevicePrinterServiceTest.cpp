#include "DevicePrinterService.h"

#include "BookTestSupport.h"
#include "EntryCopy.h"
#include "support/EnvironmentScope.h"
#include "support/PrinterSimProcess.h"

#include <gtest/gtest.h>

namespace {

using namespace vextel_addressbook;

const char* const kBook = R"({
  "individuals": [
    {"id": 3, "name": "Pia Berg", "faxNumber": "0311"},
    {"id": 9, "name": "Quinn", "faxNumber": "0322"}
  ],
  "groups": [{"name": "Sales", "members": [9, 3]}]
})";

class DevicePrinterServiceTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(sim.address().empty());
        port.set(QByteArray::number(sim.port()));
    }

    vextel_test::PrinterSimProcess sim{kBook, {"--password", "4711"}};
    vextel_test::EnvironmentScope port{"VEXTEL_DEVICE_PORT", {}};
    DevicePrinterService service;
    const PrinterConnection printer{PrinterConnection::Kind::Network, "127.0.0.1"};
};

TEST_F(DevicePrinterServiceTest, ReadsThePrintersBookWithTheRightPasswordOnly) {
    const auto refused = service.read(printer, "1234");
    EXPECT_FALSE(refused.ok);
    EXPECT_FALSE(refused.bookRead);
    EXPECT_EQ(refused.message, "The printer 127.0.0.1 refused the password.");

    const auto read = service.read(printer, "4711");
    ASSERT_TRUE(read.ok) << read.message.toStdString();
    EXPECT_EQ(test::render(read.book), "Pia Berg 0311 | Quinn 0322 || Sales[Quinn,Pia Berg]");
    EXPECT_EQ(read.book.contacts.at(1).uid, "printer:9");
}

TEST_F(DevicePrinterServiceTest, WritesAddedEntriesAndRefusesABookReadBeforeSomeoneElsesWrite) {
    const auto mine = service.read(printer, "4711");
    const auto theirs = service.read(printer, "4711");
    ASSERT_TRUE(mine.ok && theirs.ok);

    const BookContents pc = test::book({"Ann 0401", "Bob 0402"}, {"Team:Ann,Bob"});
    const BookContents added =
        appendCopies(mine.book, entriesToCopy(pc, {}, {"g-Team"}, mine.book));
    const auto written = service.write(printer, "4711", added);
    ASSERT_TRUE(written.ok) << written.message.toStdString();
    const auto after = service.read(printer, "4711");
    ASSERT_TRUE(after.ok);
    EXPECT_EQ(test::render(after.book),
              "Pia Berg 0311 | Quinn 0322 | Ann 0401 | Bob 0402 || Sales[Quinn,Pia Berg] | "
              "Team[Ann,Bob]");
    // New entries took identifiers the printer's entries did not have.
    EXPECT_EQ(after.book.contacts.at(0).uid, "printer:3");
    EXPECT_EQ(after.book.contacts.at(2).uid, "printer:1");

    // The other editor's book was read before that write: its write is refused, nothing lost.
    BookContents stale = theirs.book;
    stale.contacts.removeFirst();
    const auto refused = service.write(printer, "4711", stale);
    EXPECT_FALSE(refused.ok);
    EXPECT_TRUE(refused.stale);
    EXPECT_TRUE(refused.message.contains("changed by someone else"))
        << refused.message.toStdString();
    EXPECT_EQ(test::render(service.read(printer, "4711").book), test::render(after.book));
}

TEST_F(DevicePrinterServiceTest, AnEntryThePrinterCannotHoldIsRefusedBeforeAnythingIsSent) {
    auto read = service.read(printer, "4711");
    ASSERT_TRUE(read.ok);
    read.book.contacts.append(Contact{newUid(), QString(40, 'x'), "1", {}, {}, -1});
    const auto refused = service.write(printer, "4711", read.book);
    EXPECT_FALSE(refused.ok);
    EXPECT_TRUE(refused.message.contains("does not fit")) << refused.message.toStdString();
}

TEST(DevicePrinterServiceMessages, APrinterThatIsNotThereIsAClearMessage) {
    vextel_test::EnvironmentScope port{"VEXTEL_DEVICE_PORT", "1"};
    DevicePrinterService service;
    const auto result = service.read({PrinterConnection::Kind::Network, "127.0.0.1"}, "4711");
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.message,
              "The printer 127.0.0.1 cannot be reached. Check that it is on and connected.");
}

} // namespace
