#include "vextelpde/AddressInformation.h"

#include "kit/ArrayController.h"
#include "kit/KeyValue.h"
#include "vextelpde/BindingKeys.h"

#include <gtest/gtest.h>
#include <memory>

namespace tarvik_pde_m40vextel {
namespace {

TEST(AddressInformationTest, FieldsStartAbsentAndAreReadByKey) {
    AddressInformation recipient;
    for (const QLatin1String key : {kNameKey, kPhoneNumberKey, kCompanyKey, kNoteKey}) {
        EXPECT_TRUE(kit::valueForKey(&recipient, key).toString().isNull()) << key.data();
    }
    recipient.setName("Smith");
    recipient.setPhoneNumber("0123");
    recipient.setCompany("Works");
    recipient.setNote("night only");
    EXPECT_EQ(kit::valueForKey(&recipient, kNameKey).toString(), "Smith");
    EXPECT_EQ(kit::valueForKey(&recipient, kPhoneNumberKey).toString(), "0123");
    EXPECT_EQ(kit::valueForKey(&recipient, kCompanyKey).toString(), "Works");
    EXPECT_EQ(kit::valueForKey(&recipient, kNoteKey).toString(), "night only");
}

TEST(AddressInformationTest, AnEmptyNameIsNotAnAbsentOne) {
    AddressInformation recipient;
    int announcements = 0;
    auto observation =
        kit::observe(&recipient, kNameKey, [&](const QVariant&) { ++announcements; });
    recipient.setName("");
    EXPECT_EQ(announcements, 1);
    EXPECT_FALSE(recipient.name().isNull());
    recipient.setName("");
    EXPECT_EQ(announcements, 1);
    recipient.setName(QString());
    EXPECT_EQ(announcements, 2);
    EXPECT_TRUE(recipient.name().isNull());
}

TEST(AddressInformationTest, ARenamedRecipientMovesInTheArrangedListAfterRearranging) {
    kit::ArrayController list;
    list.setSortDescriptors({{kNameKey, false, true}});
    auto first = std::make_shared<AddressInformation>();
    first->setName("b");
    auto second = std::make_shared<AddressInformation>();
    second->setName("a");
    list.addObjects({first, second});
    ASSERT_EQ(list.arrangedObjectAt(0), first);
    kit::setValueForKey(second.get(), kNameKey, "c");
    list.rearrangeObjects();
    EXPECT_EQ(list.arrangedObjectAt(0), second);
}

} // namespace
} // namespace tarvik_pde_m40vextel
