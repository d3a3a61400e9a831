#include "kit/ScrollView.h"

#include "kit/ClipView.h"

#include <QScrollArea>

namespace kit {

namespace {

ClipView* clipViewOf(QScrollArea* scrollArea) {
    if (auto* existing = qobject_cast<ClipView*>(View::of(scrollArea->viewport()))) {
        return existing;
    }
    return new ClipView(scrollArea->viewport());
}

} // namespace

ScrollView::ScrollView(QScrollArea* scrollArea)
    : View(scrollArea), scrollArea_(scrollArea), clipView_(clipViewOf(scrollArea)) {}

ScrollView* ScrollView::create(View* superview) {
    auto* scrollArea = new QScrollArea;
    scrollArea->setWidgetResizable(true);
    auto* scrollView = new ScrollView(scrollArea);
    attach(scrollArea, superview);
    return scrollView;
}

View* ScrollView::documentView() const {
    return clipView_->documentView();
}

void ScrollView::setDocumentView(View* view) {
    if (view != nullptr) {
        scrollArea_->setWidget(view->widget());
    }
}

QList<View*> ScrollView::subviews() const {
    return {clipView_};
}

} // namespace kit
