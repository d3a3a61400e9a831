#include "kit/Panel.h"

#include <QDialog>

namespace kit {

Panel::Panel(QDialog* dialog) : Window(dialog), dialog_(dialog) {}

Panel* Panel::create(const QString& title) {
    auto* panel = new Panel(new QDialog);
    panel->setTitle(title);
    return panel;
}

} // namespace kit
