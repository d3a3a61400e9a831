#include "EntryCopy.h"

#include "BookTestSupport.h"

#include <gtest/gtest.h>

namespace {

using namespace vextel_addressbook;

TEST(EntryCopyTest, AGroupComesWithItsMembersAndReusesEntriesTheTargetHolds) {
    const BookContents printer =
        test::book({"Ann 1", "Bob 2", "Cy 3", "Dee 4"}, {"Sales:Ann,Bob,Cy", "Other:Dee"});
    const BookContents pc = test::book({"Bob 2", "Zed 9"});
    const BookContents copied = entriesToCopy(printer, {"u-Dee"}, {"g-Sales"}, pc);
    EXPECT_EQ(test::render(copied), "Ann 1 | Cy 3 | Dee 4 || Sales[Ann,?u-Bob,Cy]");
    // The target resolves the member it already held.
    EXPECT_EQ(test::render(appendCopies(pc, copied)),
              "Bob 2 | Zed 9 | Ann 1 | Cy 3 | Dee 4 || Sales[Ann,Bob,Cy]");
}

TEST(EntryCopyTest, EachFurtherFaxNumberBecomesAPrinterEntryOfItsOwnUnlessThePrinterHoldsIt) {
    BookContents pc = test::book({"Ada 1", "Bob 2"}, {"Pair:Ada,Bob"});
    pc.contacts[0].otherFaxes = {"7", "8"};
    const BookContents printer = test::book({"Ada 8"});
    EXPECT_EQ(test::render(appendCopies(printer, entriesToCopy(pc, {}, {"g-Pair"}, printer))),
              "Ada 8 | Ada 1 | Ada 7 | Bob 2 || Pair[Ada,Bob]");
}

TEST(EntryCopyTest, NothingChosenCopiesNothingAndTheSameEntryIsNotCopiedTwice) {
    const BookContents source = test::book({"Ann 1"}, {"A:Ann", "B:Ann"});
    EXPECT_EQ(test::render(entriesToCopy(source, {}, {}, {})), " || ");
    EXPECT_EQ(test::render(entriesToCopy(source, {"u-Ann"}, {"g-A", "g-B"}, {})),
              "Ann 1 || A[Ann] | B[Ann]");
}

} // namespace
