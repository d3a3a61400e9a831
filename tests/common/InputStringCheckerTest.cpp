#include "InputStringChecker.h"

#include <gtest/gtest.h>

using namespace tarvik_pde_m40vextel;

namespace {

bool accepts(const InputStringChecker& checker, const QString& text) {
    return checker.isPartialStringValid(text, nullptr, nullptr);
}

std::unique_ptr<InputStringChecker> checkerFor(uint64_t maxLength, const CodeRange* ranges) {
    auto checker = std::make_unique<InputStringChecker>();
    checker->setMaxLength(maxLength);
    checker->setAcceptableCodeRange(ranges);
    return checker;
}

} // namespace

TEST(InputStringChecker, UnconfiguredAcceptsEverything) {
    InputStringChecker checker;
    EXPECT_EQ(checker.maxLength(), InputStringChecker::kNoLimit);
    EXPECT_TRUE(accepts(checker, QString(100000, QLatin1Char('x'))));
    EXPECT_TRUE(accepts(checker, QStringLiteral("\t\u00e9\U0001F600")));
    EXPECT_TRUE(accepts(checker, QString()));
}

TEST(InputStringChecker, SenderNameTakes30PrintableAsciiCharacters) {
    const auto checker = InputStringChecker::forRule(kSenderNameRule);
    EXPECT_TRUE(accepts(*checker, QString(30, QLatin1Char('~'))));
    EXPECT_FALSE(accepts(*checker, QString(31, QLatin1Char('a'))));
    EXPECT_TRUE(accepts(*checker, QStringLiteral(" !Tarvik Sales-Dept. 3F~")));
    EXPECT_FALSE(accepts(*checker, QStringLiteral("Ren\u00e9")));
    EXPECT_FALSE(accepts(*checker, QStringLiteral("a\tb")));
    EXPECT_FALSE(accepts(*checker, QStringLiteral("a\u007f")));
    EXPECT_TRUE(accepts(*checker, QString()));
}

TEST(InputStringChecker, RecipientNameTakes32CharactersWithSpaces) {
    const auto checker = InputStringChecker::forRule(kAddressNameRule);
    EXPECT_TRUE(accepts(*checker, QString(16, QLatin1Char(' ')) + QString(16, QLatin1Char('z'))));
    EXPECT_FALSE(accepts(*checker, QString(33, QLatin1Char(' '))));
}

TEST(InputStringChecker, FaxNumberTakesDialingCharactersOnly) {
    const auto checker = InputStringChecker::forRule(kPhoneNumberRule);
    EXPECT_TRUE(accepts(*checker, QStringLiteral("03-1234-5678")));
    EXPECT_TRUE(accepts(*checker, QStringLiteral("0*#:=123")));
    EXPECT_TRUE(accepts(*checker, QString(50, QLatin1Char('9'))));
    EXPECT_FALSE(accepts(*checker, QString(51, QLatin1Char('9'))));
    for (const char* refused : {"03 1234", "+81", "(03)", "0/1", "0.1"}) {
        EXPECT_FALSE(accepts(*checker, QString::fromLatin1(refused))) << refused;
    }
}

TEST(InputStringChecker, PasswordTakesUpToFourDigits) {
    const auto checker = InputStringChecker::forRule(kPasswordRule);
    EXPECT_TRUE(accepts(*checker, QStringLiteral("0912")));
    EXPECT_TRUE(accepts(*checker, QStringLiteral("12")));
    EXPECT_FALSE(accepts(*checker, QStringLiteral("12345")));
    EXPECT_FALSE(accepts(*checker, QStringLiteral("12a")));
    // Full-width digits are other code units.
    EXPECT_FALSE(accepts(*checker, QStringLiteral("\uff11")));
}

TEST(InputStringChecker, CountsAndTestsUtf16CodeUnits) {
    const CodeRange highSurrogates[] = {{0xD800, 0xDBFF}, {0, 0}};
    InputStringChecker limited;
    limited.setMaxLength(2);
    EXPECT_TRUE(accepts(limited, QString::fromUcs4(U"\U0001F600")));
    EXPECT_FALSE(accepts(limited, QString::fromUcs4(U"a\U0001F600")));
    const auto halfOfAPair = checkerFor(InputStringChecker::kNoLimit, highSurrogates);
    EXPECT_FALSE(accepts(*halfOfAPair, QString::fromUcs4(U"\U0001F600")))
        << "the low surrogate is tested on its own";
}

TEST(InputStringChecker, SettingRangesAgainReplacesTheSet) {
    InputStringChecker checker;
    checker.setAcceptableCodeRange(kPasswordAcceptableRange);
    EXPECT_TRUE(accepts(checker, QStringLiteral("5")));
    const CodeRange letters[] = {{'a', 'z'}, {0, 0}};
    checker.setAcceptableCodeRange(letters);
    EXPECT_FALSE(accepts(checker, QStringLiteral("5")));
    EXPECT_TRUE(accepts(checker, QStringLiteral("abc")));
}

TEST(InputStringChecker, RangeListsEndAtALowCodeOfZeroAndReachTheLastCode) {
    const CodeRange ranges[] = {{'z', 'a'}, {0xFFFE, 0xFFFF}, {0, 'z'}, {'a', 'z'}};
    InputStringChecker checker;
    checker.setAcceptableCodeRange(ranges);
    EXPECT_FALSE(accepts(checker, QStringLiteral("m"))) << "a reversed pair marks nothing and "
                                                           "the list ends before 'a'..'z'";
    EXPECT_TRUE(accepts(checker, QString(QChar(0xFFFF))));
    EXPECT_TRUE(accepts(checker, QString(QChar(0xFFFE))));
    EXPECT_FALSE(accepts(checker, QString(QChar(0xFFFD))));
    EXPECT_FALSE(accepts(checker, QString(QChar(0))));
}

TEST(InputStringChecker, TheRefusedSetRefusesItsCodes) {
    const CodeRange controls[] = {{0x01, 0x1F}, {0x7F, 0x7F}, {0, 0}};
    InputStringChecker checker;
    checker.setUnAcceptableCodeRange(controls);
    EXPECT_TRUE(accepts(checker, QStringLiteral("any text \u00e9")));
    EXPECT_FALSE(accepts(checker, QStringLiteral("tab\there")));
    checker.setAcceptableCodeRange(kPhoneNumberAcceptableRange);
    const CodeRange star[] = {{'*', '*'}, {0, 0}};
    checker.setUnAcceptableCodeRange(star);
    EXPECT_TRUE(accepts(checker, QStringLiteral("0#1")));
    EXPECT_FALSE(accepts(checker, QStringLiteral("0*1"))) << "refusal wins over acceptance";
}

TEST(InputStringChecker, ANullRangeListAcceptsNoCode) {
    InputStringChecker checker;
    checker.setAcceptableCodeRange(nullptr);
    EXPECT_FALSE(accepts(checker, QStringLiteral("a")));
    EXPECT_TRUE(accepts(checker, QString()));
}

TEST(InputStringChecker, ObjectValueIsTheTextItself) {
    InputStringChecker checker;
    EXPECT_EQ(checker.stringForObjectValue(QStringLiteral("name")), QStringLiteral("name"));
    EXPECT_TRUE(checker.stringForObjectValue(42).isNull());
    EXPECT_TRUE(checker.stringForObjectValue(QVariant()).isNull());

    QVariant value;
    QString error = QStringLiteral("untouched");
    EXPECT_TRUE(checker.getObjectValue(&value, QStringLiteral("typed"), &error));
    EXPECT_EQ(value, QVariant(QStringLiteral("typed")));
    EXPECT_EQ(error, QStringLiteral("untouched"));
    EXPECT_TRUE(checker.getObjectValue(nullptr, QStringLiteral("typed"), nullptr));
}

TEST(InputStringChecker, NeverWritesTheOutParameters) {
    const auto checker = InputStringChecker::forRule(kPasswordRule);
    QString editing = QStringLiteral("keep");
    QString error = QStringLiteral("keep");
    EXPECT_FALSE(checker->isPartialStringValid(QStringLiteral("x"), &editing, &error));
    EXPECT_TRUE(checker->isPartialStringValid(QStringLiteral("1"), &editing, &error));
    EXPECT_EQ(editing, QStringLiteral("keep"));
    EXPECT_EQ(error, QStringLiteral("keep"));
}
