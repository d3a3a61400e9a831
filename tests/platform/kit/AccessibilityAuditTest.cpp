#include "kit/AccessibilityAudit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>

namespace {

using kit::AccessibilityAudit;

// Each row builds a window's content; the audit's lines are compared whole.
TEST(AccessibilityAuditTest, NamesEveryShownControlWithoutANameOrWithAnotherControlsName) {
    const struct {
        const char* title;
        std::function<void(QWidget*, QFormLayout*)> build;
        QStringList problems;
    } rows[] = {
        {"LabelBuddyNamesAField",
         [](QWidget* w, QFormLayout* form) { form->addRow("Name:", new QLineEdit(w)); },
         {}},
        {"FieldWithoutLabel",
         [](QWidget* w, QFormLayout* form) {
             auto* field = new QLineEdit(w);
             field->setObjectName("nameField");
             form->addRow(field);
         },
         {"unnamed EditableText nameField"}},
        {"LabelWithoutBuddyNamesNothing",
         [](QWidget* w, QFormLayout* form) {
             auto* field = new QLineEdit(w);
             field->setObjectName("faxField");
             form->addRow(new QLabel("Fax:", w));
             form->addRow(field);
         },
         {"unnamed EditableText faxField"}},
        {"TableNeedsAnAccessibleName",
         [](QWidget* w, QFormLayout* form) {
             auto* table = new QTableView(w);
             table->setObjectName("entries");
             form->addRow(table);
         },
         {"unnamed Table entries"}},
        {"NamedTable",
         [](QWidget* w, QFormLayout* form) {
             auto* table = new QTableView(w);
             table->setAccessibleName("Entries");
             form->addRow(table);
         },
         {}},
        {"TwoButtonsOneName",
         [](QWidget* w, QFormLayout* form) {
             auto* first = new QPushButton("Add", w);
             first->setObjectName("addName");
             auto* second = new QPushButton("&Add", w);
             second->setObjectName("addNumber");
             form->addRow(first);
             form->addRow(second);
         },
         {"duplicate name \"Add\": addName, addNumber"}},
        {"APopupIsNamedByItsLabelNotByItsChoice",
         [](QWidget* w, QFormLayout* form) {
             auto* quality = new QComboBox(w);
             quality->setObjectName("quality");
             quality->addItem("Standard");
             auto* cover = new QComboBox(w);
             cover->setObjectName("cover");
             cover->addItem("Standard");
             form->addRow("Image Quality", quality);
             form->addRow(cover);
         },
         {"unnamed ComboBox cover"}},
        {"HiddenControlsAreNotRead",
         [](QWidget* w, QFormLayout* form) {
             auto* hidden = new QLineEdit(w);
             form->addRow(hidden);
             hidden->hide();
             form->addRow(new QCheckBox("Send Later", w));
         },
         {}},
        {"OnlyTheShownTabsPageCounts",
         [](QWidget* w, QFormLayout* form) {
             auto* tabs = new QTabWidget(w);
             tabs->addTab(new QPushButton("Add to Recipients"), "PC");
             tabs->addTab(new QPushButton("Add to Recipients"), "Device");
             form->addRow(tabs);
         },
         {}},
    };
    for (const auto& row : rows) {
        QWidget window;
        auto* form = new QFormLayout(&window);
        row.build(&window, form);
        window.show();
        EXPECT_EQ(AccessibilityAudit::problems(&window), row.problems)
            << row.title << "\n"
            << AccessibilityAudit::controls(&window).join('\n').toStdString();
    }
}

} // namespace
