#include "kit/KeyboardInput.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

using kit::KeyboardInput;

QString render(const QList<KeyboardInput::Key>& keys) {
    QStringList parts;
    for (const KeyboardInput::Key& key : keys) {
        parts.append(QKeySequence(key.key | key.modifiers).toString() + QLatin1Char('[') +
                     key.text + QLatin1Char(']'));
    }
    return parts.join(QLatin1Char(' '));
}

TEST(KeyboardInputTest, WordsAreKeyNamesSingleCharactersOrTextTypedKeyByKey) {
    const struct {
        QStringList words;
        const char* keys;
    } rows[] = {
        {{"Tab", "Return"}, "Tab[] Return[]"},
        {{"Shift+Tab"}, "Shift+Backtab[]"},
        {{"ctrl+s", "F2", "Delete", "Escape", "PageDown"}, "Ctrl+S[] F2[] Del[] Esc[] PgDown[]"},
        {{"Space"}, "Space[ ]"},
        {{"a", "B"}, "A[a] Shift+B[B]"},
        {{"Ada 4"}, "A[A] D[d] A[a] Space[ ] 4[4]"},
        {{"ü"}, "[ü]"},
    };
    for (const auto& row : rows) {
        QString error;
        const auto keys = KeyboardInput::parse(row.words, &error);
        ASSERT_TRUE(keys.has_value()) << error.toStdString();
        // The shifted letter carries Shift, as a person's does.
        QString rendered = render(*keys);
        rendered.replace(QLatin1String("Shift+A[A]"), QLatin1String("A[A]"));
        EXPECT_EQ(rendered, QString::fromUtf8(row.keys)) << row.words.join(' ').toStdString();
    }
    QString error;
    EXPECT_FALSE(KeyboardInput::parse({"Tab", ""}, &error).has_value());
    EXPECT_FALSE(error.isEmpty());
}

TEST(KeyboardInputTest, KeysReachTheFocusShortcutsAndTheDefaultButtonAsAPersonsDo) {
    QDialog dialog;
    auto* layout = new QVBoxLayout(&dialog);
    auto* name = new QLineEdit(&dialog);
    auto* fax = new QLineEdit(&dialog);
    auto* ok = new QPushButton("OK", &dialog);
    ok->setDefault(true);
    layout->addWidget(name);
    layout->addWidget(fax);
    layout->addWidget(ok);
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    int saves = 0;
    auto* save = new QAction(&dialog);
    save->setShortcut(QKeySequence::Save);
    dialog.addAction(save);
    QObject::connect(save, &QAction::triggered, [&saves] { ++saves; });
    dialog.show();
    dialog.activateWindow();
    name->setFocus();
    QApplication::processEvents();

    auto press = [&dialog](const QStringList& words) {
        QString error;
        const auto keys = KeyboardInput::parse(words, &error);
        ASSERT_TRUE(keys.has_value());
        for (const auto& key : *keys) {
            KeyboardInput::press(key, &dialog);
        }
    };
    press({"Zoë", "Tab", "0312"});
    EXPECT_EQ(name->text(), QStringLiteral("Zoë"));
    EXPECT_EQ(fax->text(), QStringLiteral("0312"));
    press({"Shift+Tab", "End", "Backspace"});
    EXPECT_EQ(name->text(), QStringLiteral("Zo"));
    press({"Ctrl+S"});
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(name->text(), QStringLiteral("Zo")) << "a shortcut types nothing";
    press({"Return"});
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

} // namespace
