#pragma once

#include "kit/View.h"

#include <QMap>
#include <QPointer>
#include <QString>
#include <cups/ppd.h>
#include <memory>
#include <optional>

namespace kit {
class Bundle;
class Button;
class PopUpButton;
class TabView;
class TableView;
class TextField;
} // namespace kit

namespace tarvik_pde_m40vextel {

// Base of the plug-in's views. The layouts carry English texts that serve as keys of the string
// tables; the localize operations replace them with their translations (printer-specific table
// first), treating each control by its exact class. Controls that stand for a PPD option take
// their texts from the PPD instead, and popups bound so are registered under their keyword for
// the controller's keyword operations.
//
// Owners call setBundle, then setPPD (where the view shows PPD options or should use the
// printer-specific table), then localize.
class BasicPdeView : public kit::View {
    Q_OBJECT

public:
    explicit BasicPdeView(QWidget* widget);
    ~BasicPdeView() override;

    void setBundle(std::shared_ptr<kit::Bundle> bundle);
    const std::shared_ptr<kit::Bundle>& bundle() const { return thisBundle_; }
    // Borrowed. Starts a new, empty keyword registry; names the printer-specific table from the
    // PPD's TKLocalizableFileIndex.
    void setPPD(ppd_file_t* ppd);
    ppd_file_t* ppd() const { return ppd_; }
    const QString& localizedFileName() const { return localizedFileName_; }

    void localizeTextField(kit::TextField* textField);
    // The grey hint of an empty field (a search field's "Search"), of any field class.
    void localizePlaceholder(kit::TextField* textField);
    // The name a screen reader gives a control that has no label of its own (a table).
    void localizeAccessibleName(kit::View* view);
    void localizeButton(kit::Button* button);
    void localizePopup(kit::PopUpButton* popup);
    void localizeTableView(kit::TableView* tableView);
    void localizeTabView(kit::TabView* tabView);
    void localizeGeneralControl(kit::View* view);
    // Dispatches by the view's exact class; plain views are walked into.
    void localizeControl(kit::View* view);
    void localizeWindowTitle(kit::View* view);
    // The window title, then every direct subview.
    void localizeAllControls();

    // The keyword is a NUL-terminated byte string, as the PPD library takes it.
    void localizePPDTextField(kit::TextField* textField, const char* keyword);
    void localizePPDPopup(kit::PopUpButton* popup, const char* keyword);
    void localizePPDControl(kit::View* control, const char* keyword);

    // The keyword under which the control is registered; a null QString when it is not.
    QString ppdKeywordForObject(const kit::View* control) const;
    // Selects the item titled with the value in the popup registered under the keyword.
    void setValueForPPDKeyword(const QString& value, const QString& keyword);
    // Selects the item that stands for the choice (by its keyword, so two choices with the same
    // text stay apart) in the popup registered under the option keyword; nothing when either is
    // missing.
    void selectChoiceForPPDKeyword(const QString& choice, const QString& keyword);
    void setEnabledForPPDKeyword(bool enabled, const QString& keyword);

protected:
    QString localizedString(const QString& text) const;

private:
    kit::View* controlForPPDKeyword(const QString& keyword) const;

    std::shared_ptr<kit::Bundle> thisBundle_;
    ppd_file_t* ppd_ = nullptr;
    // Absent before setPPD: no registry, so the keyword operations do nothing.
    std::optional<QMap<QString, QPointer<kit::View>>> ppdDictionary_;
    QString localizedFileName_;
};

} // namespace tarvik_pde_m40vextel
