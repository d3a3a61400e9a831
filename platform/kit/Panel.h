#pragma once

#include "kit/Window.h"

class QDialog;

namespace kit {

// A panel: a window on a QDialog.
class Panel : public Window {
    Q_OBJECT

public:
    explicit Panel(QDialog* dialog);
    // The caller owns the dialog (delete panel->widget()).
    static Panel* create(const QString& title = {});

    QDialog* dialog() const { return dialog_; }

private:
    QDialog* dialog_;
};

} // namespace kit
