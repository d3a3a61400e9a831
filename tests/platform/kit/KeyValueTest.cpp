#include "kit/KeyValue.h"

#include "kit/Dictionary.h"

#include <QObject>
#include <QString>
#include <gtest/gtest.h>

namespace {

class Address : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString city READ city WRITE setCity NOTIFY cityChanged)
public:
    QString city() const { return cityValue; }
    void setCity(const QString& city) {
        if (city != cityValue) {
            cityValue = city;
            emit cityChanged(city);
        }
    }
signals:
    void cityChanged(const QString& city);

private:
    QString cityValue;
};

class Owner : public QObject {
    Q_OBJECT
    Q_PROPERTY(Address* address READ address WRITE setAddress NOTIFY addressChanged)
    Q_PROPERTY(kit::ObjectRef shared READ shared WRITE setShared NOTIFY sharedChanged)
public:
    Address* address() const { return addressValue; }
    void setAddress(Address* address) {
        if (address != addressValue) {
            addressValue = address;
            emit addressChanged();
        }
    }
    kit::ObjectRef shared() const { return sharedValue; }
    void setShared(const kit::ObjectRef& shared) {
        sharedValue = shared;
        emit sharedChanged();
    }
signals:
    void addressChanged();
    void sharedChanged();

private:
    Address* addressValue = nullptr;
    kit::ObjectRef sharedValue;
};

// Shaped like a dialog controller: typed values plus read-only flags derived from them.
class Controller : public QObject {
    Q_OBJECT
    Q_CLASSINFO("kit.affects.canAddAddress", "addressPhoneNumber")
    Q_CLASSINFO("kit.affects.summary", "canAddAddress, delayedPrint")
    Q_PROPERTY(
        QString addressPhoneNumber MEMBER addressPhoneNumber NOTIFY addressPhoneNumberChanged)
    Q_PROPERTY(int delayedPrint MEMBER delayedPrint NOTIFY delayedPrintChanged)
    Q_PROPERTY(bool canAddAddress READ canAddAddress NOTIFY canAddAddressChanged)
    Q_PROPERTY(bool canEditAddress READ canEditAddress NOTIFY canEditAddressChanged)
    Q_PROPERTY(QString summary READ summary NOTIFY summaryChanged)
    Q_PROPERTY(bool silentFlag READ silentFlag)
public:
    bool canAddAddress() const { return !addressPhoneNumber.isEmpty(); }
    bool canEditAddress() const { return selectedCount == 1; }
    QString summary() const { return addressPhoneNumber + QString::number(delayedPrint); }
    bool silentFlag() const { return true; }

    QString addressPhoneNumber;
    int delayedPrint = 0;
    int selectedCount = 0;

signals:
    void addressPhoneNumberChanged();
    void delayedPrintChanged();
    void canAddAddressChanged();
    void canEditAddressChanged(bool canEdit);
    void summaryChanged();
};

class DerivedController : public Controller {
    Q_OBJECT
    Q_CLASSINFO("kit.affects.canAddAddress", "delayedPrint")
};

TEST(KeyValueCoding, ReadsAndWritesPropertiesByKey) {
    Address address;
    EXPECT_TRUE(kit::setValueForKey(&address, "city", QString("Oslo")));
    EXPECT_EQ(address.city(), "Oslo");
    EXPECT_EQ(kit::valueForKey(&address, "city").toString(), "Oslo");

    Controller controller;
    EXPECT_TRUE(kit::setValueForKey(&controller, "delayedPrint", QString("1")));
    EXPECT_EQ(controller.delayedPrint, 1);
    EXPECT_FALSE(kit::setValueForKey(&controller, "delayedPrint", QString("soon")));
    EXPECT_EQ(controller.delayedPrint, 1);
}

TEST(KeyValueCoding, UnknownKeysAndNullObjectsFailQuietly) {
    Address address;
    EXPECT_FALSE(kit::valueForKey(&address, "street").isValid());
    EXPECT_FALSE(kit::setValueForKey(&address, "street", "Main"));
    EXPECT_FALSE(kit::valueForKey(nullptr, "city").isValid());
    EXPECT_FALSE(kit::setValueForKey(nullptr, "city", "Oslo"));
    EXPECT_FALSE(kit::valueForKeyPath(&address, "city.name").isValid());
}

TEST(KeyValueCoding, KeyPathsPassThroughPointersSharedObjectsAndDictionaries) {
    Address address;
    address.setCity("Bergen");
    Owner owner;
    owner.setAddress(&address);
    EXPECT_EQ(kit::valueForKeyPath(&owner, "address.city").toString(), "Bergen");
    EXPECT_TRUE(kit::setValueForKeyPath(&owner, "address.city", QString("Molde")));
    EXPECT_EQ(address.city(), "Molde");

    owner.setShared(kit::Dictionary::create({{"name", "Alice"}}));
    EXPECT_EQ(kit::valueForKeyPath(&owner, "shared.name").toString(), "Alice");
    EXPECT_TRUE(kit::setValueForKeyPath(&owner, "shared.name", QString("Bob")));
    EXPECT_EQ(kit::valueForKeyPath(&owner, "shared.name").toString(), "Bob");

    owner.setAddress(nullptr);
    EXPECT_FALSE(kit::valueForKeyPath(&owner, "address.city").isValid());
    EXPECT_FALSE(kit::setValueForKeyPath(&owner, "address.city", QString("Hamar")));
}

TEST(KeyValueCoding, ListStepsCollectValuesAndCount) {
    auto first = std::make_shared<Address>();
    first->setCity("Oslo");
    auto second = std::make_shared<Address>();
    second->setCity("Bodø");
    Controller holder;
    holder.setProperty("places", QVariant::fromValue(QList<kit::ObjectRef>{first, second}));
    EXPECT_EQ(kit::valueForKeyPath(&holder, "places.@count").toInt(), 2);
    EXPECT_EQ(kit::valueForKeyPath(&holder, "places.city").toStringList(),
              (QStringList{"Oslo", "Bodø"}));
}

TEST(KeyValueCoding, WritingAReadOnlyFlagAnnouncesItWithoutChangingIt) {
    Controller controller;
    controller.selectedCount = 1;
    int announcements = 0;
    QVariant announced;
    auto observation = kit::observe(&controller, "canEditAddress", [&](const QVariant& value) {
        ++announcements;
        announced = value;
    });
    int signalArgumentTrue = 0;
    QObject::connect(&controller, &Controller::canEditAddressChanged,
                     [&](bool canEdit) { signalArgumentTrue += canEdit ? 1 : 0; });

    EXPECT_TRUE(kit::setValueForKey(&controller, "canEditAddress", false));
    EXPECT_EQ(announcements, 1);
    EXPECT_TRUE(announced.toBool()) << "the getter's value, not the written one";
    EXPECT_EQ(signalArgumentTrue, 1) << "the signal carries the current value";

    EXPECT_FALSE(kit::setValueForKey(&controller, "silentFlag", false))
        << "nothing can announce a flag without a change signal";
}

TEST(KeyValueCoding, AffectingKeysAreCollectedTransitivelyAndFromBaseClasses) {
    EXPECT_EQ(kit::keyPathsAffecting(&Controller::staticMetaObject, "canAddAddress"),
              QStringList{"addressPhoneNumber"});
    EXPECT_EQ(kit::keyPathsAffecting(&Controller::staticMetaObject, "summary"),
              (QStringList{"canAddAddress", "delayedPrint", "addressPhoneNumber"}));
    const QStringList derived =
        kit::keyPathsAffecting(&DerivedController::staticMetaObject, "canAddAddress");
    EXPECT_TRUE(derived.contains("addressPhoneNumber"));
    EXPECT_TRUE(derived.contains("delayedPrint"));
    EXPECT_TRUE(kit::keyPathsAffecting(&Controller::staticMetaObject, "delayedPrint").isEmpty());
}

TEST(KeyValueObserving, ChangeOfAnAffectingKeyReachesObserversOfTheAffectedKey) {
    Controller controller;
    QList<bool> seen;
    auto observation = kit::observe(&controller, "canAddAddress",
                                    [&](const QVariant& value) { seen.append(value.toBool()); });
    ASSERT_TRUE(observation);

    kit::setValueForKey(&controller, "addressPhoneNumber", QString("5"));
    kit::setValueForKey(&controller, "addressPhoneNumber", QString());
    EXPECT_EQ(seen, (QList<bool>{true, false}));

    int summaries = 0;
    auto summary = kit::observe(&controller, "summary", [&](const QVariant&) { ++summaries; });
    kit::setValueForKey(&controller, "addressPhoneNumber", QString("7"));
    EXPECT_EQ(summaries, 1) << "announced once per declared path, through canAddAddress too";
}

TEST(KeyValueObserving, DottedPathMovesToTheReplacementIntermediateObject) {
    Address oldAddress;
    oldAddress.setCity("Oslo");
    Address newAddress;
    newAddress.setCity("Tromsø");
    Owner owner;
    owner.setAddress(&oldAddress);

    QStringList seen;
    auto observation = kit::observe(&owner, "address.city",
                                    [&](const QVariant& value) { seen.append(value.toString()); });
    oldAddress.setCity("Bergen");
    owner.setAddress(&newAddress);
    oldAddress.setCity("Stavanger");
    newAddress.setCity("Alta");
    owner.setAddress(nullptr);
    newAddress.setCity("Narvik");

    EXPECT_EQ(seen, (QStringList{"Bergen", "Tromsø", "Alta", ""}));
}

TEST(KeyValueObserving, EndsWithTheObservationEvenFromInsideTheCallback) {
    Address address;
    int calls = 0;
    auto observation = kit::observe(&address, "city", [&](const QVariant&) { ++calls; });
    address.setCity("A");
    observation.reset();
    address.setCity("B");
    EXPECT_EQ(calls, 1);

    std::unique_ptr<kit::Observation> selfEnding;
    selfEnding = kit::observe(&address, "city", [&](const QVariant&) {
        ++calls;
        selfEnding.reset();
    });
    address.setCity("C");
    address.setCity("D");
    EXPECT_EQ(calls, 2);

    EXPECT_EQ(kit::observe(nullptr, "city", [](const QVariant&) {}), nullptr);
}

TEST(KeyValueObserving, OutlivingTheObservedObjectIsHarmless) {
    int calls = 0;
    std::unique_ptr<kit::Observation> observation;
    {
        Address address;
        observation = kit::observe(&address, "city", [&](const QVariant&) { ++calls; });
        address.setCity("X");
    }
    EXPECT_EQ(observation->object(), nullptr);
    observation.reset();
    EXPECT_EQ(calls, 1);
}

} // namespace

#include "KeyValueTest.moc"
