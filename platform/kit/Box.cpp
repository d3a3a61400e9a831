#include "kit/Box.h"

#include <QGroupBox>
#include <QVBoxLayout>

namespace kit {

Box::Box(QGroupBox* groupBox) : View(groupBox), groupBox_(groupBox) {}

Box* Box::create(View* superview, const QString& title) {
    auto* groupBox = new QGroupBox(title);
    new QVBoxLayout(groupBox);
    auto* box = new Box(groupBox);
    attach(groupBox, superview);
    return box;
}

QString Box::title() const {
    return groupBox_->title();
}

void Box::setTitle(const QString& title) {
    groupBox_->setTitle(title);
}

} // namespace kit
