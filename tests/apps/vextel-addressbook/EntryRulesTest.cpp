#include "EntryRules.h"

#include "common/InputStringChecker.h"

#include <gtest/gtest.h>

namespace {

using vextel_addressbook::BookContents;
using vextel_addressbook::Contact;
using vextel_addressbook::EntryRules;
using vextel_addressbook::Group;

Contact contact(QString name, QString fax, QString company = {}, QString note = {}) {
    return Contact{"u", std::move(name), std::move(fax), std::move(company), std::move(note), -1};
}

TEST(EntryRulesTest, ContactsKeepTheFaxDialogsRulesAndTheRecordSizes) {
    const struct {
        const char* title;
        Contact contact;
        const char* problem; // empty: accepted
    } rows[] = {
        {"Plain", contact("Ann Lee", "03-1234-5678"), ""},
        {"DialString", contact("Ann", "*9#0:1=2"), ""},
        {"Longest",
         contact(QString(32, 'a'), QString(50, '1'), QString(64, 'c'), QString(254, 'n')), ""},
        {"CompanyAndNoteTakeAnyLetters", contact("Ann", "1", "Müller & Söhne", "東京"), ""},
        {"NameTooLong", contact(QString(33, 'a'), "1"), "Name is longer than 32"},
        {"FaxTooLong", contact("Ann", QString(51, '1')), "Fax number is longer than 50"},
        {"CompanyTooLong", contact("Ann", "1", QString(65, 'c')), "Company is longer than 64"},
        {"NoteTooLong", contact("Ann", "1", {}, QString(255, 'n')), "Note is longer than 254"},
        {"NoName", contact("  ", "1"), "Name is empty"},
        {"NoFax", contact("Ann", ""), "Fax number is empty"},
        {"FaxWithPlus", contact("Ann", "+81 3"), "Fax number holds a character"},
        {"FaxOfDialCharactersOnly", contact("Ann", "*#-"), "Fax number holds no digit"},
        {"NameKeepsEveryLetter", contact("Jürgen Müller 東京", "1"), ""},
        {"NameWithLineBreak", contact("Ann\nLee", "1"),
         "Name holds a character it cannot take: “U+000a”"},
        {"FaxNamesTheCharacter", contact("Ann", "+44 20"),
         "Fax number holds a character it cannot take: “+”"},
        {"NoteWithTab", contact("Ann", "1", {}, "a\tb"), "Note holds a character"},
    };
    for (const auto& row : rows) {
        const auto problem = EntryRules::contactProblem(row.contact);
        const QString expected = QString::fromUtf8(row.problem);
        EXPECT_EQ(problem.value_or(QString()).left(expected.size()), expected)
            << row.title << ": " << problem.value_or("accepted").toStdString();
    }
}

TEST(EntryRulesTest, AnEditIsHeldToTheRulesOfTheFieldsItChanges) {
    const Contact phone = contact(QString(40, 'N'), "0312", {}, "first\nsecond");
    const struct {
        const char* title;
        Contact after;
        const char* problem;
    } rows[] = {
        {"NothingChanged", phone, ""},
        {"NewCompanyOnly", contact(QString(40, 'N'), "0312", "Northwind", "first\nsecond"), ""},
        {"ChangedNameStillTooLong", contact(QString(39, 'N'), "0312", {}, "first\nsecond"),
         "Name is longer than 32"},
        {"ChangedFaxBreaksItsRule", contact(QString(40, 'N'), "+44", {}, "first\nsecond"),
         "Fax number holds a character"},
    };
    for (const auto& row : rows) {
        const auto problem = EntryRules::changedContactProblem(phone, row.after);
        const QString expected = QString::fromUtf8(row.problem);
        EXPECT_EQ(problem.value_or(QString()).left(expected.size()), expected)
            << row.title << ": " << problem.value_or("accepted").toStdString();
    }
}

Contact withOthers(QString uid, QString name, QString fax, QStringList others) {
    Contact result{std::move(uid), std::move(name), std::move(fax), {}, {}, -1};
    result.otherFaxes = std::move(others);
    return result;
}

TEST(EntryRulesTest, EveryOtherFaxNumberKeepsTheFaxNumbersRule) {
    const struct {
        const char* title;
        QStringList others;
        const char* problem;
    } rows[] = {
        {"None", {}, ""},
        {"Two", {"0456", "*9#0:1=2"}, ""},
        {"PlusInTheSecond", {"0456", "+44 20"}, "Fax number holds a character it cannot take: “+”"},
        {"TooLong", {QString(51, '1')}, "Fax number is longer than 50"},
        {"DialCharactersOnly", {"0456", "##"}, "Fax number holds no digit"},
    };
    for (const auto& row : rows) {
        const auto problem = EntryRules::contactProblem(withOthers("u", "Ann", "0123", row.others));
        const QString expected = QString::fromUtf8(row.problem);
        EXPECT_EQ(problem.value_or(QString()).left(expected.size()), expected)
            << row.title << ": " << problem.value_or("accepted").toStdString();
        // The dialog's field takes the same numbers as one text.
        EXPECT_EQ(EntryRules::problem(EntryRules::Field::OtherFaxes,
                                      EntryRules::joinFaxNumbers(row.others))
                      .value_or(QString())
                      .left(expected.size()),
                  expected)
            << row.title;
    }
    EXPECT_EQ(EntryRules::splitFaxNumbers(" 0123 ,, 0456,"), QStringList({"0123", "0456"}));
}

TEST(EntryRulesTest, ANameAndFaxNumberTheBookHoldsIsADuplicateOnceTheEditBringsIt) {
    BookContents book;
    book.contacts = {
        withOthers("ada", "Ada Lovelace", "0111", {"0222"}), withOthers("bob", "Bob", "0333", {}),
        // Two cards of one name and number, as another program wrote them.
        withOthers("twin1", "Twin", "0999", {}), withOthers("twin2", "Twin", "0999", {})};
    const Contact none;
    const struct {
        const char* title;
        Contact before;
        Contact after;
        const char* problem;
    } rows[] = {
        {"NewWithTheSameNameAndNumber", none, withOthers({}, "Ada Lovelace", "0111", {}),
         "“Ada Lovelace” with the fax number 0111 is already in the book."},
        {"NewWithAnotherEntrysOtherNumber", none, withOthers({}, "Ada Lovelace", "0444", {"0222"}),
         "“Ada Lovelace” with the fax number 0222 is already in the book."},
        {"NewWithTheSameNumberUnderAnotherName", none, withOthers({}, "Ada King", "0111", {}), ""},
        {"NewWithTheSameNameAndAnotherNumber", none, withOthers({}, "Ada Lovelace", "0555", {}),
         ""},
        {"OneNumberTwiceInTheEntry", none, withOthers({}, "Cy", "0777", {"0888", "0777"}),
         "The fax number 0777 is in this entry twice."},
        {"EditKeepingItsOwnNumbers", book.contacts[0],
         withOthers("ada", "Ada Lovelace", "0222", {"0111"}), ""},
        {"EditOfADuplicateAsFoundLeavesItBe", book.contacts[2],
         withOthers("twin1", "Twin", "0999", {"0998"}), ""},
        {"EditRenamingOntoAnotherEntry", book.contacts[1],
         withOthers("bob", "Ada Lovelace", "0333", {"0222"}),
         "“Ada Lovelace” with the fax number 0222 is already in the book."},
        {"EditAddingANumberItHolds", book.contacts[1], withOthers("bob", "Bob", "0333", {"0333"}),
         "The fax number 0333 is in this entry twice."},
    };
    for (const auto& row : rows) {
        const auto problem = EntryRules::duplicateProblem(row.before, row.after, book);
        EXPECT_EQ(problem.value_or(QString()), QString::fromUtf8(row.problem)) << row.title;
    }
}

TEST(EntryRulesTest, GroupsHoldAtMost31ExistingMembersOnce) {
    BookContents book;
    QStringList uids;
    for (int i = 0; i < 32; ++i) {
        uids.append(QStringLiteral("c%1").arg(i));
        book.contacts.append(Contact{uids.last(), "N", "1", {}, {}, -1});
    }
    const struct {
        const char* title;
        Group group;
        const char* problem;
    } rows[] = {
        {"Empty", Group{"g", "Team", {}, -1}, ""},
        {"ThirtyOne", Group{"g", "Team", uids.mid(0, 31), -1}, ""},
        {"ThirtyTwo", Group{"g", "Team", uids, -1},
         "A group holds at most 31 members; this one has 32"},
        {"Stranger", Group{"g", "Team", {"c1", "nobody"}, -1}, "A member of the group is not"},
        {"Twice", Group{"g", "Team", {"c1", "c1"}, -1}, "An entry is a member of the group twice"},
        {"NoName", Group{"g", "", {"c1"}, -1}, "Group name is empty"},
    };
    for (const auto& row : rows) {
        const auto problem = EntryRules::groupProblem(row.group, book);
        EXPECT_EQ(problem.value_or(QString()).left(int(strlen(row.problem))),
                  QLatin1String(row.problem))
            << row.title << ": " << problem.value_or("accepted").toStdString();
    }
}

TEST(EntryRulesTest, FieldCheckersRefuseWhileTyping) {
    EXPECT_TRUE(EntryRules::checker(EntryRules::Field::Fax)
                    ->isPartialStringValid("0-1*#", nullptr, nullptr));
    EXPECT_FALSE(
        EntryRules::checker(EntryRules::Field::Fax)->isPartialStringValid("0 1", nullptr, nullptr));
    EXPECT_FALSE(EntryRules::checker(EntryRules::Field::Name)
                     ->isPartialStringValid(QString(33, 'x'), nullptr, nullptr));
    EXPECT_TRUE(EntryRules::checker(EntryRules::Field::Note)
                    ->isPartialStringValid("über", nullptr, nullptr));
}

TEST(EntryRulesTest, AnImportMakesAFormattedNumberDialableOrRefusesItWithItsReason) {
    const struct {
        const char* title;
        const char* written;
        const char* prefix;
        const char* dialable;
        const char* problem; // empty: accepted
    } rows[] = {
        {"Spaces", "020 7946 0002", "00", "02079460002", ""},
        {"NoBreakSpaceAndTab", "030\u00a01234\t567", "00", "0301234567", ""},
        {"Dots", "06.555.1234", "00", "065551234", ""},
        {"Brackets", "(03) [1234] 5678", "00", "0312345678", ""},
        {"Slashes", "030/1234-567", "00", "0301234-567", ""},
        {"PlusWithTheDefault", "+44 20 7946 0001", "00", "00442079460001", ""},
        {"PlusWithAnotherPrefix", "+44 (20) 7946.0001", "011", "011442079460001", ""},
        {"PlusWithoutAPrefixStays", "+44 20", "", "+4420",
         "Fax number holds a character it cannot take: “+”."},
        {"PlusInsideStays", "0044 +20", "00", "0044+20",
         "Fax number holds a character it cannot take: “+”."},
        {"StillBreaksARule", "03 1234 ext. 5", "00", "031234ext5",
         "Fax number holds a character it cannot take: “e”."},
        {"DialStringUntouched", "*9#0-1", "00", "*9#0-1", ""},
    };
    for (const auto& row : rows) {
        Contact entry = contact("Ann", QString::fromUtf8(row.written));
        entry.otherFaxes = {QString::fromUtf8(row.written)};
        const QStringList changes = EntryRules::makeDialable(entry, QString::fromUtf8(row.prefix));
        const QString dialable = QString::fromUtf8(row.dialable);
        EXPECT_EQ(entry.fax, dialable) << row.title;
        EXPECT_EQ(entry.otherFaxes, QStringList{dialable}) << row.title;
        const QString change = QString::fromUtf8(row.written) + " → " + dialable;
        EXPECT_EQ(changes, dialable == QString::fromUtf8(row.written)
                               ? QStringList()
                               : QStringList({change, change}))
            << row.title;
        EXPECT_EQ(EntryRules::importProblem(entry).value_or(QString()).toStdString(), row.problem)
            << row.title;
    }
    // The card's company and note come as they are; name and number are held to their rules.
    EXPECT_EQ(EntryRules::importProblem(contact("Jürgen Müller", "1", QString(70, 'c'), "a\nb")),
              std::nullopt);
    EXPECT_TRUE(EntryRules::importProblem(contact(QString(33, 'a'), "1")));
}

} // namespace
