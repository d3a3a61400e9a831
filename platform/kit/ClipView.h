#pragma once

#include "kit/View.h"

namespace kit {

// The visible part of a scroll view (the scroll area's viewport). Its one subview is the scroll
// view's document view.
class ClipView : public View {
    Q_OBJECT

public:
    explicit ClipView(QWidget* viewport);

    // The document view, or null.
    View* documentView() const;
    QList<View*> subviews() const override;
};

} // namespace kit
