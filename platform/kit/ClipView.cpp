#include "kit/ClipView.h"

#include <QAbstractScrollArea>
#include <QScrollArea>

namespace kit {

ClipView::ClipView(QWidget* viewport) : View(viewport) {}

View* ClipView::documentView() const {
    auto* scrollArea = qobject_cast<QScrollArea*>(widget()->parentWidget());
    if (scrollArea == nullptr || scrollArea->viewport() != widget()) {
        return nullptr;
    }
    return View::of(scrollArea->widget());
}

QList<View*> ClipView::subviews() const {
    if (View* document = documentView()) {
        return {document};
    }
    return View::subviews();
}

} // namespace kit
