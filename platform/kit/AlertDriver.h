#pragma once

#include "kit/DriverScope.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace kit {

// What an alert showed, and how the driver answered it.
struct AlertRecord {
    QString messageText;
    QString informativeText;
    QStringList buttons;
    QString answer;
};

// Answers alerts for tests and automation, by button title, and records every alert. Queued
// answers are used one per alert, in order; then the responder, if set; then the default answer;
// then the first button. An answer that is no button of the alert ends the alert with
// ModalResponseAbort (logged to standard error).
class AlertDriver {
public:
    using Responder = std::function<QString(const AlertRecord& alert)>;

    void answer(const QString& buttonTitle);
    void answer(const QStringList& buttonTitles);
    void setResponder(Responder responder) { responder_ = std::move(responder); }
    void setDefaultAnswer(const QString& buttonTitle) { defaultAnswer_ = buttonTitle; }
    int pendingAnswers() const { return static_cast<int>(answers_.size()); }

    const QList<AlertRecord>& alerts() const { return alerts_; }
    // The message texts of all alerts, in order.
    QStringList messages() const;
    void clear();

    // Called by Alert: records the alert and returns its answer code.
    int respond(const QString& messageText, const QString& informativeText,
                const QStringList& buttons);

    // The installed driver, or null.
    static AlertDriver* current() { return installed(); }

private:
    friend class DriverScope<AlertDriver>;
    static AlertDriver*& installed();
    QString chooseAnswer(const AlertRecord& record);

    QStringList answers_;
    Responder responder_;
    QString defaultAnswer_;
    QList<AlertRecord> alerts_;
};

// Installs a driver for its lifetime and restores the previous one afterwards.
using AlertDriverScope = DriverScope<AlertDriver>;

} // namespace kit
