#include "common/BasicPdeView.h"

#include "common/TKDRVLocalization.h"
#include "kit/Bundle.h"
#include "kit/Button.h"
#include "kit/PopUpButton.h"
#include "kit/TabView.h"
#include "kit/TableView.h"
#include "kit/TextField.h"
#include "kit/Window.h"

#include <QWidget>
#include <typeinfo>

namespace tarvik_pde_m40vextel {

namespace {

// Exact class test: a subclass (a secure field, a combo box, a popup) does not match its base.
template <class T> bool isExactly(const kit::View* view) {
    return typeid(*view) == typeid(T);
}

const ppd_option_t* findOption(ppd_file_t* ppd, const char* keyword) {
    if (ppd == nullptr || keyword == nullptr) {
        return nullptr;
    }
    return ppdFindOption(ppd, keyword);
}

} // namespace

BasicPdeView::BasicPdeView(QWidget* widget) : kit::View(widget) {}

BasicPdeView::~BasicPdeView() = default;

void BasicPdeView::setBundle(std::shared_ptr<kit::Bundle> bundle) {
    thisBundle_ = std::move(bundle);
}

void BasicPdeView::setPPD(ppd_file_t* ppd) {
    ppd_ = ppd;
    ppdDictionary_.emplace();
    localizedFileName_ = printerSpecificTableName(ppd);
}

QString BasicPdeView::localizedString(const QString& text) const {
    if (!thisBundle_) {
        return text;
    }
    return tkdrvLocalizedStringForKey(*thisBundle_, text, QString(), localizedFileName_);
}

void BasicPdeView::localizeTextField(kit::TextField* textField) {
    textField->setStringValue(localizedString(textField->stringValue()));
}

void BasicPdeView::localizePlaceholder(kit::TextField* textField) {
    const QString placeholder = textField->placeholderString();
    if (!placeholder.isEmpty()) {
        textField->setPlaceholderString(localizedString(placeholder));
    }
}

void BasicPdeView::localizeAccessibleName(kit::View* view) {
    QWidget* widget = view->widget();
    if (widget != nullptr && !widget->accessibleName().isEmpty()) {
        widget->setAccessibleName(localizedString(widget->accessibleName()));
    }
}

void BasicPdeView::localizeButton(kit::Button* button) {
    button->setTitle(localizedString(button->title()));
}

void BasicPdeView::localizePopup(kit::PopUpButton* popup) {
    for (int index = 0; index < popup->numberOfItems(); ++index) {
        popup->setItemTitleAt(index, localizedString(popup->itemTitleAt(index)));
    }
}

void BasicPdeView::localizeTableView(kit::TableView* tableView) {
    for (int column = 0; column < tableView->columnCount(); ++column) {
        tableView->setHeaderTitle(column, localizedString(tableView->headerTitle(column)));
    }
}

void BasicPdeView::localizeTabView(kit::TabView* tabView) {
    for (int index = 0; index < tabView->numberOfItems(); ++index) {
        tabView->setItemLabel(index, localizedString(tabView->itemLabel(index)));
        if (kit::View* content = tabView->itemView(index)) {
            localizeControl(content);
        }
    }
}

void BasicPdeView::localizeGeneralControl(kit::View* view) {
    if (view->respondsToSetTitle()) {
        view->setTitle(localizedString(view->title()));
    }
}

void BasicPdeView::localizeControl(kit::View* view) {
    if (view == nullptr) {
        return;
    }
    if (auto* field = qobject_cast<kit::TextField*>(view)) {
        localizePlaceholder(field);
    }
    localizeAccessibleName(view);
    if (isExactly<kit::PopUpButton>(view)) {
        localizePopup(static_cast<kit::PopUpButton*>(view));
    } else if (isExactly<kit::TextField>(view)) {
        auto* textField = static_cast<kit::TextField*>(view);
        // What the user typed is never translated.
        if (!textField->isEditable()) {
            localizeTextField(textField);
        }
    } else if (isExactly<kit::Button>(view)) {
        localizeButton(static_cast<kit::Button*>(view));
    } else if (isExactly<kit::TableView>(view)) {
        localizeTableView(static_cast<kit::TableView*>(view));
    } else if (isExactly<kit::TabView>(view)) {
        localizeTabView(static_cast<kit::TabView*>(view));
    } else {
        localizeGeneralControl(view);
        for (kit::View* subview : view->subviews()) {
            localizeControl(subview);
        }
    }
}

void BasicPdeView::localizeWindowTitle(kit::View* view) {
    if (view == nullptr) {
        return;
    }
    if (kit::Window* window = view->window()) {
        window->setTitle(localizedString(window->title()));
    }
}

void BasicPdeView::localizeAllControls() {
    localizeWindowTitle(this);
    for (kit::View* subview : subviews()) {
        localizeControl(subview);
    }
}

void BasicPdeView::localizePPDTextField(kit::TextField* textField, const char* keyword) {
    const ppd_option_t* option = findOption(ppd_, keyword);
    if (option == nullptr) {
        return;
    }
    textField->setStringValue(QString::fromUtf8(option->text));
}

void BasicPdeView::localizePPDPopup(kit::PopUpButton* popup, const char* keyword) {
    if (ppd_ == nullptr || keyword == nullptr) {
        return;
    }
    (*ppdDictionary_)[QString::fromLatin1(keyword)] = popup;
    popup->removeAllItems();
    const ppd_option_t* option = findOption(ppd_, keyword);
    if (option == nullptr) {
        return;
    }
    for (int index = 0; index < option->num_choices; ++index) {
        const ppd_choice_t& choice = option->choices[index];
        popup->addItemWithTitle(QString::fromUtf8(choice.text));
        // The item just added, not the first with its title: a PPD that gives two choices the
        // same text still gets each choice's own keyword behind its item.
        popup->setRepresentedObjectAt(popup->numberOfItems() - 1,
                                      QString::fromLatin1(choice.choice));
    }
}

void BasicPdeView::localizePPDControl(kit::View* control, const char* keyword) {
    if (control == nullptr) {
        return;
    }
    if (isExactly<kit::PopUpButton>(control)) {
        localizePPDPopup(static_cast<kit::PopUpButton*>(control), keyword);
    } else if (isExactly<kit::TextField>(control)) {
        localizePPDTextField(static_cast<kit::TextField*>(control), keyword);
    }
}

QString BasicPdeView::ppdKeywordForObject(const kit::View* control) const {
    if (!ppdDictionary_ || control == nullptr) {
        return {};
    }
    for (auto it = ppdDictionary_->cbegin(); it != ppdDictionary_->cend(); ++it) {
        if (it.value() == control) {
            return it.key();
        }
    }
    return {};
}

kit::View* BasicPdeView::controlForPPDKeyword(const QString& keyword) const {
    if (!ppdDictionary_) {
        return nullptr;
    }
    return ppdDictionary_->value(keyword).data();
}

void BasicPdeView::setValueForPPDKeyword(const QString& value, const QString& keyword) {
    kit::View* control = controlForPPDKeyword(keyword);
    if (control == nullptr) {
        return;
    }
    if (auto* popup = qobject_cast<kit::PopUpButton*>(control)) {
        popup->selectItemWithTitle(value);
    } else {
        control->setTitle(value);
    }
}

void BasicPdeView::selectChoiceForPPDKeyword(const QString& choice, const QString& keyword) {
    auto* popup = qobject_cast<kit::PopUpButton*>(controlForPPDKeyword(keyword));
    if (popup == nullptr) {
        return;
    }
    const int index = popup->indexOfItemWithRepresentedObject(choice);
    if (index >= 0) {
        popup->selectItemAtIndex(index);
    }
}

void BasicPdeView::setEnabledForPPDKeyword(bool enabled, const QString& keyword) {
    if (kit::View* control = controlForPPDKeyword(keyword)) {
        control->setEnabled(enabled);
    }
}

} // namespace tarvik_pde_m40vextel
