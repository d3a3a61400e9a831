#pragma once

#include "kit/View.h"

class QGroupBox;

namespace kit {

// A titled box (QGroupBox); its content views are its subviews.
class Box : public View {
    Q_OBJECT

public:
    explicit Box(QGroupBox* groupBox);
    static Box* create(View* superview, const QString& title);

    bool respondsToSetTitle() const override { return true; }
    QString title() const override;
    void setTitle(const QString& title) override;

    QGroupBox* groupBox() const { return groupBox_; }

private:
    QGroupBox* groupBox_;
};

} // namespace kit
