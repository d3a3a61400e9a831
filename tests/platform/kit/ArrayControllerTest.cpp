#include "kit/ArrayController.h"

#include "kit/Dictionary.h"
#include "kit/KeyValue.h"
#include "kit/SortDescriptor.h"
#include "kit/ValueRows.h"

#include <QDateTime>
#include <QObject>
#include <gtest/gtest.h>

namespace {

class Person : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString name MEMBER name NOTIFY nameChanged)
    Q_PROPERTY(QString phoneNumber MEMBER phoneNumber NOTIFY phoneNumberChanged)
public:
    Person(const QString& name, const QString& phoneNumber)
        : name(name), phoneNumber(phoneNumber) {}
    QString name;
    QString phoneNumber;
signals:
    void nameChanged();
    void phoneNumberChanged();
};

kit::ObjectRef person(const QString& name, const QString& phoneNumber = QString()) {
    return std::make_shared<Person>(name, phoneNumber);
}

QStringList names(const QList<kit::ObjectRef>& objects) {
    QStringList result;
    for (const kit::ObjectRef& object : objects) {
        result.append(kit::valueForKey(object.get(), "name").toString() +
                      kit::valueForKey(object.get(), "phoneNumber").toString());
    }
    return result;
}

// The recipient list's order: by name, then by number, both descending and case-blind.
QList<kit::SortDescriptor> recipientOrder() {
    return {{"name", false, true}, {"phoneNumber", false, true}};
}

// Counts the announcements of one key of a controller through key-value observing.
struct Announcements {
    Announcements(kit::ArrayController* controller, const QString& key)
        : observation(kit::observe(controller, key, [this](const QVariant&) { ++count; })) {}
    int take() { return std::exchange(count, 0); }
    int count = 0;
    std::unique_ptr<kit::Observation> observation;
};

TEST(SortDescriptor, ComparesStringsNumbersDatesAndMissingValues) {
    EXPECT_LT(kit::SortDescriptor::compare(QString("alpha"), QString("Beta"), true), 0);
    EXPECT_GT(kit::SortDescriptor::compare(QString("alpha"), QString("Beta"), false), 0)
        << "exact comparison puts upper case first";
    EXPECT_EQ(kit::SortDescriptor::compare(QString("SMITH"), QString("smith"), true), 0);
    EXPECT_LT(kit::SortDescriptor::compare(9, 10, false), 0) << "numbers by value, not text";
    EXPECT_LT(kit::SortDescriptor::compare(2.5, 3, false), 0);
    const QDateTime earlier(QDate(2020, 1, 2), QTime(10, 0));
    EXPECT_LT(kit::SortDescriptor::compare(earlier, earlier.addSecs(60), false), 0);
    EXPECT_LT(kit::SortDescriptor::compare(QVariant(), QString(""), false), 0);
    EXPECT_EQ(kit::SortDescriptor::compare(QVariant(), QVariant(), false), 0);

    const kit::SortDescriptor descending{"name", false, true};
    EXPECT_GT(descending.compareValues(QString("alpha"), QString("Beta")), 0);
}

TEST(ArrayControllerArrangement, DescendingCaseInsensitiveNamesThenNumbers) {
    kit::ArrayController controller;
    controller.setSortDescriptors(recipientOrder());
    controller.addObjects({person("alpha", "1"), person("Smith", "100"), person("Beta", "2"),
                           person("smith", "200")});
    EXPECT_EQ(names(controller.arrangedObjects()),
              (QStringList{"smith200", "Smith100", "Beta2", "alpha1"}));
    EXPECT_EQ(names(controller.content()), (QStringList{"alpha1", "Smith100", "Beta2", "smith200"}))
        << "content keeps insertion order";
}

TEST(ArrayControllerArrangement, FullyEqualItemsKeepInsertionOrderAndDictionariesSortToo) {
    kit::ArrayController controller;
    controller.setSortDescriptors({{"name", true, true}});
    auto first = kit::Dictionary::create({{"name", "Same"}, {"phoneNumber", "1"}});
    auto second = kit::Dictionary::create({{"name", "same"}, {"phoneNumber", "2"}});
    auto earlier = kit::Dictionary::create({{"name", "Early"}, {"phoneNumber", "3"}});
    controller.setContent({first, second, earlier});
    EXPECT_EQ(names(controller.arrangedObjects()), (QStringList{"Early3", "Same1", "same2"}));
}

TEST(ArrayControllerArrangement, RearrangesWhenAskedAfterAnItemChanged) {
    kit::ArrayController controller;
    controller.setSortDescriptors(recipientOrder());
    auto anna = person("Anna");
    controller.addObjects({anna, person("Bert")});
    kit::setValueForKey(anna.get(), "name", QString("Cleo"));
    controller.rearrangeObjects();
    EXPECT_EQ(controller.arrangedObjectAt(0), anna);
}

TEST(ArrayControllerSelection, InsertedObjectsBecomeTheSelectionByDefault) {
    kit::ArrayController controller;
    controller.setSortDescriptors(recipientOrder());
    auto beta = person("Beta");
    controller.addObject(person("alpha"));
    controller.addObject(beta);
    EXPECT_EQ(controller.selectedObjects(), QList<kit::ObjectRef>{beta});
    EXPECT_EQ(controller.selectionIndexes(), QList<int>{0});

    controller.setSelectsInsertedObjects(false);
    controller.addObject(person("Zed"));
    EXPECT_EQ(controller.selectedObjects(), QList<kit::ObjectRef>{beta})
        << "the selection stays with its object when it moves";
    EXPECT_EQ(controller.selectionIndexes(), QList<int>{1});
}

TEST(ArrayControllerSelection, RemovingSelectedObjectsLeavesAConsistentSelection) {
    kit::ArrayController controller;
    controller.setSortDescriptors(recipientOrder());
    auto d = person("d"), c = person("c"), b = person("b"), a = person("a");
    controller.setContent({a, b, c, d});
    ASSERT_TRUE(controller.setSelectionIndexes({0, 2, 3})); // d, b, a
    controller.removeObjects({d, c});
    EXPECT_EQ(names(controller.arrangedObjects()), (QStringList{"b", "a"}));
    EXPECT_EQ(controller.selectionIndexes(), (QList<int>{0, 1}));
    EXPECT_EQ(controller.selectedObjects(), (QList<kit::ObjectRef>{b, a}));

    controller.removeSelectedObjects();
    EXPECT_EQ(controller.count(), 0);
    EXPECT_TRUE(controller.selectionIndexes().isEmpty());
    EXPECT_TRUE(controller.selectedObjects().isEmpty());
    EXPECT_EQ(controller.selectionIndex(), -1);
}

TEST(ArrayControllerSelection, SelectedObjectsAnnouncedOncePerRealChange) {
    kit::ArrayController controller;
    controller.setSortDescriptors(recipientOrder());
    Announcements selected(&controller, "selectedObjects");
    Announcements indexes(&controller, "selectionIndexes");

    auto m = person("m"), k = person("k");
    controller.addObjects({m, k});
    EXPECT_EQ(selected.take(), 1);
    controller.setSelectionIndexes({0, 1});
    EXPECT_EQ(selected.take(), 0) << "the same selection again";

    controller.setSelectsInsertedObjects(false);
    controller.addObject(person("z")); // sorts first: indexes move, objects do not
    EXPECT_EQ(selected.take(), 0);
    EXPECT_EQ(indexes.take(), 2) << "once for the first selection, once for the shift";

    controller.removeObject(controller.arrangedObjectAt(0)); // unselected
    EXPECT_EQ(selected.take(), 0);
    controller.removeObject(m);
    EXPECT_EQ(selected.take(), 1);
    controller.setSelectedObjects({k});
    EXPECT_EQ(selected.take(), 0);
    controller.removeAllArrangedObjects();
    EXPECT_EQ(selected.take(), 1);
    controller.removeAllArrangedObjects();
    EXPECT_EQ(selected.take(), 0);
}

TEST(ArrayControllerSelection, SingleSelectionKeepsTheFirst) {
    kit::ArrayController controller;
    controller.setAllowsMultipleSelection(false);
    auto x = person("x"), y = person("y");
    controller.addObjects({x, y});
    EXPECT_EQ(controller.selectedObjects(), QList<kit::ObjectRef>{x});
    controller.setSelectionIndexes({1, 0});
    EXPECT_EQ(controller.selectionIndexes(), QList<int>{0});
    EXPECT_TRUE(controller.setSelectionIndexes({5}));
    EXPECT_TRUE(controller.selectionIndexes().isEmpty()) << "out-of-range indexes are dropped";
}

TEST(ArrayControllerSelection, AvoidingAnEmptySelectionFallsOnTheNearestObject) {
    kit::ArrayController controller;
    controller.setSelectsInsertedObjects(false);
    auto a = person("a"), b = person("b"), c = person("c");
    controller.setContent({a, b, c});
    EXPECT_TRUE(controller.selectionIndexes().isEmpty());
    controller.setAvoidsEmptySelection(true);
    EXPECT_EQ(controller.selectedObjects(), QList<kit::ObjectRef>{a});

    controller.setSelectionIndex(2);
    controller.removeObject(c);
    EXPECT_EQ(controller.selectedObjects(), QList<kit::ObjectRef>{b});
    controller.clearSelection();
    EXPECT_EQ(controller.selectedObjects(), QList<kit::ObjectRef>{b});
    controller.removeAllArrangedObjects();
    EXPECT_TRUE(controller.selectionIndexes().isEmpty());
}

TEST(ArrayControllerContent, ReplacingContentKeepsRemainingSelectionAndIgnoresNulls) {
    kit::ArrayController controller;
    auto a = person("a"), b = person("b");
    controller.setContent({a, b});
    controller.setSelectedObjects({b});
    auto c = person("c");
    controller.setContent({c, nullptr, b});
    EXPECT_EQ(controller.count(), 2);
    EXPECT_EQ(controller.selectedObjects(), QList<kit::ObjectRef>{b});
    EXPECT_EQ(controller.selectionIndexes(), QList<int>{1});
    EXPECT_EQ(kit::valueForKeyPath(&controller, "arrangedObjects.@count").toInt(), 2);
    EXPECT_EQ(kit::valueForKeyPath(&controller, "selectedObjects.name").toStringList(),
              QStringList{"b"});
}

// Texts whose letters fold unlike their lower case, fold across scripts, or lie outside the
// basic plane (which case-insensitive comparisons fold by code point).
const QStringList kFoldingTexts{
    "", "a", "B", "ab", "aB", QString::fromUtf8("stra\u00dfe"), "STRASSE", "ss",
    QString::fromUtf8("\u00df"), QString::fromUtf8("\u017f"), "s",
    QString::fromUtf8("\u0130stanbul"), "i", QString::fromUtf8("\u0131"), "I",
    QString::fromUtf8("\u03a3\u03af\u03c3\u03c5\u03c6\u03bf\u03c2"), QString::fromUtf8("\u03c2"),
    QString::fromUtf8("\u03c3"), QString::fromUtf8("\u01c5"), QString::fromUtf8("\u01c6"),
    QString::fromUtf8("\u01c4"), QString::fromUtf8("\ufb00"), "ff", QString::fromUtf8("\u212a"),
    "k", QString::fromUtf8("\u212b"), QString::fromUtf8("\u00e5"), QString::fromUtf8("\u2126"),
    QString::fromUtf8("\u03c9"), QString::fromUtf8("\U00010400x"), QString::fromUtf8("\U00010428x"),
    QString::fromUtf8("x\U00010400"), QString::fromUtf8("\u00c6r\u00f8"),
    QString::fromUtf8("\u00e6R\u00d8"), QString::fromUtf8("\uff21"), QString::fromUtf8("\uff41"),
    // Equal first four units, told apart further on or by length.
    "Anna Marsh 00012", "anna marsh 00002", "ANNA", "Ann", QString::fromLatin1("Ann\0a", 5),
    QString::fromUtf8("abcd\U00010400"), QString::fromUtf8("abcd\uffff"),
    QString::fromUtf8("ab\U00010400"), QString::fromUtf8("ab\uffff"),
    // '+' and 'k' are 64 units apart.
    "a+b"};

TEST(SortDescriptor, ValuesReadOnceCompareExactlyAsTheValuesThemselves) {
    QVariantList values;
    for (const QString& text : kFoldingTexts) {
        values.append(text);
    }
    values << QVariant() << 9 << 10 << QString("10") << 2.5 << QDate(2020, 1, 1)
           << QDate(2021, 1, 1) << QString("2020-06-01");
    for (const bool caseInsensitive : {true, false}) {
        for (const bool ascending : {true, false}) {
            const kit::SortDescriptor descriptor{"name", ascending, caseInsensitive};
            for (const QVariant& a : values) {
                for (const QVariant& b : values) {
                    EXPECT_EQ(descriptor.compareValues(kit::SortValue::of(a, caseInsensitive),
                                                       kit::SortValue::of(b, caseInsensitive)),
                              descriptor.compareValues(a, b))
                        << a.toString().toStdString() << " / " << b.toString().toStdString()
                        << (caseInsensitive ? " without" : " with") << " regard to case";
                }
            }
        }
    }
}

// The filter finds exactly what a case-insensitive "contains" finds, in the sorted order.
TEST(ArrayControllerFilter, ShowsWhatACaseInsensitiveContainsFinds) {
    kit::ArrayController controller;
    controller.setSortDescriptors(recipientOrder());
    controller.setFilterKey("name");
    for (const QString& text : kFoldingTexts) {
        controller.addObject(kit::Dictionary::create({{"name", text}}));
    }
    const QStringList sorted = names(controller.arrangedObjects());
    for (const QString& search : kFoldingTexts) {
        controller.setFilterText(search);
        QStringList expected;
        for (const QString& name : sorted) {
            if (name.contains(search, Qt::CaseInsensitive)) {
                expected.append(name);
            }
        }
        EXPECT_EQ(names(controller.arrangedObjects()), expected) << search.toStdString();
    }
}

// However the prefixes of the texts read once settle it, the order is the one the descriptors
// give when they compare the items themselves, and equal items keep their places.
TEST(ArrayControllerArrangement, SortsLargeListsAsTheDescriptorsCompareTheItems) {
    QList<kit::ObjectRef> items;
    for (int round = 0; round < 3; ++round) {
        for (qsizetype i = 0; i < kFoldingTexts.size(); ++i) {
            items.append(kit::Dictionary::create(
                {{"name", kFoldingTexts.at((i * 7 + round) % kFoldingTexts.size())},
                 {"phoneNumber", QString::number((i + round) % 3)}}));
        }
    }
    // Without the texts that have no prefix, the prefixes alone settle most comparisons.
    QList<kit::ObjectRef> prefixed = items;
    prefixed.removeIf([](const kit::ObjectRef& item) {
        const QString name = kit::valueForKey(item.get(), "name").toString();
        return std::any_of(name.begin(), name.end(), [](QChar unit) { return unit.isSurrogate(); });
    });
    ASSERT_LT(prefixed.size(), items.size());
    for (const bool caseInsensitive : {true, false}) {
        for (const bool ascending : {true, false}) {
            for (const QList<kit::ObjectRef>* list : {&items, &prefixed}) {
                const QList<kit::SortDescriptor> descriptors{
                    {"name", ascending, caseInsensitive},
                    {"phoneNumber", !ascending, caseInsensitive}};
                QList<kit::ObjectRef> expected = *list;
                std::stable_sort(expected.begin(), expected.end(),
                                 [&](const kit::ObjectRef& a, const kit::ObjectRef& b) {
                                     return kit::compareByDescriptors(descriptors, a.get(),
                                                                      b.get()) < 0;
                                 });
                kit::ArrayController controller;
                controller.setSortDescriptors(descriptors);
                controller.addObjects(*list);
                EXPECT_EQ(controller.arrangedObjects(), expected)
                    << (ascending ? "ascending" : "descending")
                    << (caseInsensitive ? " without" : " with") << " regard to case, "
                    << list->size() << " items";
            }
        }
    }
}

TEST(ArrayControllerFilter, FiltersTheSortedContentAndKeepsTheShownSelection) {
    kit::ArrayController controller;
    controller.setSortDescriptors(recipientOrder());
    controller.setFilterText("an");
    auto anna = person("Anna"), jonathan = person("Jonathan"), peter = person("Peter");
    controller.setContent({anna, peter, jonathan});
    EXPECT_EQ(controller.count(), 3) << "without a filter key the text filters nothing";

    controller.setFilterKey("name");
    EXPECT_EQ(names(controller.arrangedObjects()), (QStringList{"Jonathan", "Anna"}));
    controller.setSelectedObjects({anna, jonathan});
    Announcements arranged(&controller, "arrangedObjects");
    Announcements selected(&controller, "selectedObjects");
    controller.setFilterText("AN");
    EXPECT_EQ(arranged.take(), 0) << "the same shown objects";
    controller.setFilterText("jo");
    EXPECT_EQ(arranged.take(), 1);
    EXPECT_EQ(selected.take(), 1);
    EXPECT_EQ(controller.selectedObjects(), QList<kit::ObjectRef>{jonathan});
    EXPECT_EQ(controller.content().size(), 3) << "filtering leaves the content alone";

    controller.addObjects({person("Joanna"), person("Zoe")});
    EXPECT_EQ(names(controller.arrangedObjects()), (QStringList{"Jonathan", "Joanna"}))
        << "an added object shows only when it matches";
    static_cast<Person*>(peter.get())->name = "Jo";
    controller.rearrangeObjects();
    EXPECT_EQ(names(controller.arrangedObjects()), (QStringList{"Jonathan", "Joanna", "Jo"}))
        << "rearranging reads the texts again";

    controller.removeAllArrangedObjects();
    controller.setFilterText("");
    EXPECT_EQ(names(controller.arrangedObjects()), (QStringList{"Zoe", "Anna"}))
        << "only the shown objects were removed";
}

// Value rows arrange, filter and select as dictionaries of the same values do; their objects are
// made on request, once per row.
TEST(ArrayControllerValueRows, ArrangeAsTheSameDictionariesWould) {
    auto rows = std::make_shared<kit::ValueRows>(QStringList{"name", "phoneNumber", "Id"});
    QList<kit::ObjectRef> dictionaries;
    for (int round = 0; round < 3; ++round) {
        for (qsizetype i = 0; i < kFoldingTexts.size(); ++i) {
            const QString name = kFoldingTexts.at((i * 7 + round) % kFoldingTexts.size());
            // A number among the texts compares as a number before them.
            const QVariant number =
                i % 5 == 0 ? QVariant(int(i)) : QVariant(QString::number(i % 3));
            const int row = static_cast<int>(rows->count());
            rows->append({name, number, row});
            dictionaries.append(
                kit::Dictionary::create({{"name", name}, {"phoneNumber", number}, {"Id", row}}));
        }
    }
    for (const bool caseInsensitive : {true, false}) {
        const QList<kit::SortDescriptor> descriptors{{"name", false, caseInsensitive},
                                                     {"phoneNumber", true, caseInsensitive}};
        for (const QString& search :
             {QString(), QString("s"), QString("SS"), QString("\U0001F600")}) {
            kit::ArrayController fromObjects, fromRows;
            for (kit::ArrayController* controller : {&fromObjects, &fromRows}) {
                controller->setSortDescriptors(descriptors);
                controller->setFilterKey("name");
                controller->setFilterText(search);
            }
            fromObjects.setContent(dictionaries);
            fromRows.setContentRows(rows);
            QStringList expected, shown;
            for (int i = 0; i < fromObjects.count(); ++i) {
                expected << fromObjects.arrangedValue(i, "Id").toString();
            }
            for (int i = 0; i < fromRows.count(); ++i) {
                shown << fromRows.arrangedValue(i, "Id").toString();
                ASSERT_EQ(fromRows.arrangedRow(i), fromRows.arrangedValue(i, "Id").toInt());
            }
            EXPECT_EQ(shown, expected) << caseInsensitive << " " << search.toStdString();
        }
    }
}

TEST(ArrayControllerValueRows, MadeObjectsStayTheRowsThroughFiltersAndChanges) {
    auto rows = std::make_shared<kit::ValueRows>(QStringList{"name", "phoneNumber"});
    for (const char* name : {"Anna", "Peter", "Jonathan", "Joanna"}) {
        rows->append({QString(name), QString("1")});
    }
    kit::ArrayController controller;
    controller.setSortDescriptors(recipientOrder());
    controller.setFilterKey("name");
    controller.setContentRows(rows);
    EXPECT_EQ(names(controller.arrangedObjects()),
              (QStringList{"Peter1", "Jonathan1", "Joanna1", "Anna1"}));
    const kit::ObjectRef jonathan = controller.arrangedObjectAt(1);
    EXPECT_EQ(controller.arrangedObjectAt(1), jonathan) << "one object per row";
    EXPECT_EQ(controller.content().at(2), jonathan);
    controller.setSelectedObjects({jonathan, controller.arrangedObjectAt(3)});

    Announcements arranged(&controller, "arrangedObjects");
    Announcements selected(&controller, "selectedObjects");
    controller.setFilterText("jo");
    EXPECT_EQ(names(controller.arrangedObjects()), (QStringList{"Jonathan1", "Joanna1"}));
    EXPECT_EQ(controller.selectedObjects(), QList<kit::ObjectRef>{jonathan});
    controller.setFilterText("");
    EXPECT_EQ(names(controller.arrangedObjects()),
              (QStringList{"Peter1", "Jonathan1", "Joanna1", "Anna1"}))
        << "an emptied search gives back the sorted order";
    EXPECT_EQ(arranged.take(), 2);
    EXPECT_EQ(selected.take(), 1);
    controller.setContentRows(rows);
    EXPECT_EQ(arranged.take(), 0) << "the same rows again change nothing";

    // A made object holds its row's values from then on.
    std::static_pointer_cast<kit::Dictionary>(jonathan)->setValue("name", "Zed");
    controller.rearrangeObjects();
    EXPECT_EQ(controller.arrangedValue(0, "name"), QVariant("Zed"));
    EXPECT_EQ(controller.indexOfArrangedObject(jonathan.get()), 0);

    // Adding and removing objects turn the rows into their objects, the made ones kept.
    controller.removeObject(controller.arrangedObjectAt(3).get());
    controller.addObject(kit::Dictionary::create({{"name", "Bea"}, {"phoneNumber", "2"}}));
    EXPECT_EQ(controller.contentRows(), nullptr);
    EXPECT_EQ(controller.arrangedObjectAt(0), jonathan);
    EXPECT_EQ(names(controller.arrangedObjects()),
              (QStringList{"Zed1", "Peter1", "Joanna1", "Bea2"}));
    EXPECT_EQ(controller.arrangedRow(0), -1);
}

} // namespace

#include "ArrayControllerTest.moc"
