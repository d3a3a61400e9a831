#include "kit/TextField.h"

#include "kit/ComboBox.h"
#include "kit/Formatter.h"
#include "kit/SearchField.h"
#include "kit/SecureTextField.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <sys/prctl.h>

namespace {

// Digits only, at most four of them: the shape of a password rule.
class FourDigits : public kit::Formatter {
public:
    mutable int calls = 0;
    bool isPartialStringValid(const QString& text, QString* newEditingString,
                              QString* errorDescription) const override {
        ++calls;
        Q_UNUSED(newEditingString);
        Q_UNUSED(errorDescription);
        if (text.size() > 4) {
            return false;
        }
        for (QChar c : text) {
            if (!c.isDigit()) {
                return false;
            }
        }
        return true;
    }
};

// Refuses lower case but offers the text in upper case instead.
class UpperCaser : public kit::Formatter {
public:
    bool isPartialStringValid(const QString& text, QString* newEditingString,
                              QString*) const override {
        if (text == text.toUpper()) {
            return true;
        }
        if (newEditingString != nullptr) {
            *newEditingString = text.toUpper();
        }
        return false;
    }
};

struct Field {
    std::unique_ptr<QLineEdit> edit{new QLineEdit};
    kit::TextField field{edit.get()};
};

TEST(TextFieldTest, TypingRefusedByTheFormatterKeepsTheOldText) {
    Field f;
    FourDigits digits;
    f.field.setFormatter(&digits);
    EXPECT_EQ(f.field.formatter(), &digits);

    QTest::keyClicks(f.edit.get(), "12a34");
    EXPECT_EQ(f.field.stringValue(), "1234");
    QTest::keyClicks(f.edit.get(), "5");
    EXPECT_EQ(f.field.stringValue(), "1234") << "a fifth digit is refused";
    EXPECT_GT(digits.calls, 0);
}

TEST(TextFieldTest, APasteFailingTheFormatterIsRefusedWhole) {
    Field f;
    FourDigits digits;
    f.field.setFormatter(&digits);
    QTest::keyClicks(f.edit.get(), "12");

    QApplication::clipboard()->setText("345");
    f.edit->paste();
    EXPECT_EQ(f.field.stringValue(), "12") << "no part of a too-long paste is kept";

    QApplication::clipboard()->setText("34");
    f.edit->paste();
    EXPECT_EQ(f.field.stringValue(), "1234");
}

TEST(TextFieldTest, SetStringValueFromCodeBypassesTheFormatter) {
    Field f;
    FourDigits digits;
    f.field.setFormatter(&digits);
    f.field.setStringValue("not digits at all");
    EXPECT_EQ(f.field.stringValue(), "not digits at all");

    f.field.setFormatter(nullptr);
    QTest::keyClicks(f.edit.get(), "x");
    EXPECT_EQ(f.field.stringValue(), "not digits at allx") << "without formatter anything goes";
}

TEST(TextFieldTest, AFormattersReplacementTextIsTaken) {
    Field f;
    UpperCaser upper;
    f.field.setFormatter(&upper);
    QTest::keyClicks(f.edit.get(), "ab");
    EXPECT_EQ(f.field.stringValue(), "AB");
}

TEST(TextFieldTest, SignalsTellUserEditsFromCodeChanges) {
    Field f;
    QSignalSpy changed(&f.field, &kit::TextField::stringValueChanged);
    QSignalSpy edited(&f.field, &kit::TextField::textEdited);
    f.field.setStringValue("code");
    QTest::keyClicks(f.edit.get(), "!");
    EXPECT_EQ(changed.count(), 2);
    ASSERT_EQ(edited.count(), 1);
    EXPECT_EQ(edited.first().first().toString(), "code!");
}

TEST(TextFieldTest, ActionIsSentWhenEditingEnds) {
    Field f;
    int actions = 0;
    f.field.setActionHandler([&](kit::View*) { ++actions; });
    QTest::keyClicks(f.edit.get(), "abc");
    EXPECT_EQ(actions, 0);
    QTest::keyClick(f.edit.get(), Qt::Key_Return);
    EXPECT_EQ(actions, 1);
}

TEST(TextFieldTest, SearchFieldSendsItsActionAsTheUserTypes) {
    kit::SearchField* search = kit::SearchField::create(nullptr);
    std::unique_ptr<QWidget> owner(search->widget());
    QStringList seen;
    search->setActionHandler([&](kit::View* sender) {
        seen.append(static_cast<kit::TextField*>(sender)->stringValue());
    });
    QTest::keyClicks(search->lineEdit(), "ab");
    search->setStringValue("from code");
    EXPECT_EQ(seen, (QStringList{"a", "ab"}));
}

TEST(TextFieldTest, LabelShowsTextAndIsNotEditable) {
    kit::TextField* label = kit::TextField::create(nullptr, false);
    std::unique_ptr<QWidget> owner(label->widget());
    label->setStringValue("Name:");
    EXPECT_EQ(label->stringValue(), "Name:");
    EXPECT_FALSE(label->isEditable());
    EXPECT_EQ(label->lineEdit(), nullptr);
}

TEST(TextFieldTest, ComboBoxKeepsTypedTextAndAppliesTheFormatter) {
    kit::ComboBox* combo = kit::ComboBox::create(nullptr);
    std::unique_ptr<QWidget> owner(combo->widget());
    combo->setStringValue("12");
    combo->addItemWithObjectValue("9999");
    EXPECT_EQ(combo->stringValue(), "12");
    EXPECT_EQ(combo->itemTitles(), QStringList{"9999"});

    FourDigits digits;
    combo->setFormatter(&digits);
    QTest::keyClicks(combo->lineEdit(), "3x45");
    EXPECT_EQ(combo->stringValue(), "1234");
}

// What is typed in a password field lives on in copies nobody can wipe; the process never dumps
// them.
TEST(TextFieldTest, AProcessWithAPasswordFieldNeverDumpsCore) {
    if (prctl(PR_GET_DUMPABLE) != 1)
        GTEST_SKIP() << "this process could not dump core to begin with";
    auto field = std::make_unique<kit::SecureTextField>(new QLineEdit);
    EXPECT_EQ(prctl(PR_GET_DUMPABLE), 0);
}

} // namespace
