#pragma once

#include <QString>
#include <QStringList>

namespace kit {

// An application-modal alert (never a sheet): message text, informative text and buttons in the
// order added; the first button is the default. Texts are shown as given (plain text).
// runModal() answers AlertFirstButtonReturn + the index of the pressed button. Without buttons
// an "OK" button is shown. With an AlertDriver installed the driver answers and nothing is shown.
class Alert {
public:
    enum class Style { Warning, Informational, Critical };

    void setMessageText(const QString& text) { messageText_ = text; }
    QString messageText() const { return messageText_; }
    void setInformativeText(const QString& text) { informativeText_ = text; }
    QString informativeText() const { return informativeText_; }
    void setAlertStyle(Style style) { style_ = style; }
    Style alertStyle() const { return style_; }

    void addButtonWithTitle(const QString& title) { buttons_.append(title); }
    QStringList buttonTitles() const { return buttons_; }

    int runModal();

private:
    int runDialog(const QStringList& buttons);

    QString messageText_;
    QString informativeText_;
    QStringList buttons_;
    Style style_ = Style::Warning;
};

} // namespace kit
