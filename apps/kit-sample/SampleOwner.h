#pragma once

#include "kit/Panel.h"

#include <QObject>

namespace kit_sample {

class SampleController;

// The owner the sample layout is loaded with: it receives the window and the controller, and
// counts the option changes the window reports.
class SampleOwner : public QObject {
    Q_OBJECT
    Q_PROPERTY(kit::Panel* window MEMBER window_)
    Q_PROPERTY(QObject* controller MEMBER controller_)

public:
    kit::Panel* window() const { return window_; }
    SampleController* controller() const;
    int optionChanges() const { return optionChanges_; }

public slots:
    void uiValueDidChange(QObject* sender);

private:
    kit::Panel* window_ = nullptr;
    QObject* controller_ = nullptr;
    int optionChanges_ = 0;
};

} // namespace kit_sample
