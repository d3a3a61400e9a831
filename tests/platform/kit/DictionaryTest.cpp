#include "kit/Dictionary.h"

#include "kit/DictionaryChanges.h"
#include "kit/KeyValue.h"

#include <gtest/gtest.h>

namespace {

// Records the keys a dictionary announces, in order, itself and through DictionaryChanges.
struct KeyRecorder {
    explicit KeyRecorder(kit::Dictionary* dictionary) {
        QObject::connect(dictionary, &kit::Dictionary::valueChanged,
                         [this](const QString& key) { keys.append(key); });
        QObject::connect(&kit::DictionaryChanges::instance(), &kit::DictionaryChanges::valueChanged,
                         &receiver,
                         [this, dictionary](kit::Dictionary* changed, const QString& key) {
                             if (changed == dictionary) {
                                 sharedKeys.append(key);
                             }
                         });
    }
    QStringList keys;
    QStringList sharedKeys;
    QObject receiver;
};

TEST(Dictionary, KeyValueCodingGoesToTheEntries) {
    auto dictionary = kit::Dictionary::create({{"name", "Alice"}});
    EXPECT_EQ(kit::valueForKey(dictionary.get(), "name").toString(), "Alice");
    EXPECT_TRUE(kit::setValueForKey(dictionary.get(), "phoneNumber", "123"));
    EXPECT_EQ(dictionary->value("phoneNumber").toString(), "123");
    EXPECT_TRUE(kit::setValueForKey(dictionary.get(), "objectName", "entry"));
    EXPECT_EQ(dictionary->value("objectName").toString(), "entry")
        << "keys are entries, even where a property has the name";
    EXPECT_FALSE(kit::valueForKey(dictionary.get(), "company").isValid());

    EXPECT_TRUE(kit::setValueForKey(dictionary.get(), "name", QVariant()));
    EXPECT_FALSE(dictionary->contains("name")) << "an absent value removes the entry";
}

TEST(Dictionary, AnnouncesOnlyRealChanges) {
    kit::Dictionary dictionary;
    KeyRecorder recorder(&dictionary);
    dictionary.setValue("name", "Alice");
    dictionary.setValue("name", "Alice");
    dictionary.setValue("name", "Bob");
    dictionary.removeValue("missing");
    dictionary.removeValue("name");
    EXPECT_EQ(recorder.keys, (QStringList{"name", "name", "name"}));
    EXPECT_EQ(recorder.sharedKeys, recorder.keys);
    EXPECT_EQ(dictionary.count(), 0);
}

TEST(Dictionary, ReplacingTheMapAnnouncesAddedChangedAndRemovedKeys) {
    kit::Dictionary dictionary({{"a", 1}, {"b", 2}, {"c", 3}});
    KeyRecorder recorder(&dictionary);
    dictionary.setMap({{"a", 1}, {"b", 20}, {"d", 4}});
    QStringList keys = recorder.keys;
    keys.sort();
    EXPECT_EQ(keys, (QStringList{"b", "c", "d"}));
    EXPECT_EQ(recorder.sharedKeys, recorder.keys);
    EXPECT_EQ(dictionary.keys(), (QStringList{"a", "b", "d"}));
    EXPECT_EQ(dictionary.toMap().value("b").toInt(), 20);
}

// Made from entries in any order, a dictionary holds what the same map would hold, and edits
// keep the keys in order.
TEST(Dictionary, MadeFromEntriesEqualsTheMapAndStaysOrdered) {
    auto dictionary = kit::Dictionary::createWithEntries(
        {{"name", "Alice"}, {"Id", 7}, {"note", ""}, {"name", "Bob"}, {"company", "Acme"}});
    const QVariantMap expected{{"Id", 7}, {"company", "Acme"}, {"name", "Bob"}, {"note", ""}};
    EXPECT_EQ(dictionary->toMap(), expected) << "of a key given twice the last counts";
    EXPECT_EQ(dictionary->keys(), expected.keys());
    dictionary->setValue("b", 1);
    dictionary->setValue("zz", 2);
    dictionary->setValue("A", 3);
    dictionary->removeValue("note");
    EXPECT_EQ(dictionary->keys(), (QStringList{"A", "Id", "b", "company", "name", "zz"}));
    for (const QString& key : dictionary->keys()) {
        EXPECT_TRUE(dictionary->contains(key)) << key.toStdString();
    }
    EXPECT_FALSE(dictionary->contains("note"));
    EXPECT_EQ(kit::valueForKey(dictionary.get(), "zz").toInt(), 2);
    EXPECT_EQ(kit::Dictionary::createWithEntries({})->count(), 0);
}

TEST(Dictionary, ObserversSeeOnlyTheirOwnKey) {
    kit::Dictionary dictionary;
    QStringList names;
    auto observation = kit::observe(&dictionary, "name", [&](const QVariant& value) {
        names.append(value.isValid() ? value.toString() : "<none>");
    });
    dictionary.setValue("note", "x");
    dictionary.setValue("name", "Carol");
    kit::setValueForKey(&dictionary, "name", QVariant());
    EXPECT_EQ(names, (QStringList{"Carol", "<none>"}));
}

} // namespace
