#pragma once

#include "kit/View.h"

class QScrollArea;

namespace kit {

class ClipView;

// A scroll view (QScrollArea). Its one subview is its ClipView, whose subview is the document
// view: a walk reaches the scrolled view through scroll view -> clip view -> document view.
class ScrollView : public View {
    Q_OBJECT

public:
    // Wraps the scroll area and its viewport.
    explicit ScrollView(QScrollArea* scrollArea);
    static ScrollView* create(View* superview);

    ClipView* contentView() const { return clipView_; }
    View* documentView() const;
    // The document view's widget moves into the scroll area.
    void setDocumentView(View* view);

    QList<View*> subviews() const override;
    QScrollArea* scrollArea() const { return scrollArea_; }

private:
    QScrollArea* scrollArea_;
    ClipView* clipView_;
};

} // namespace kit
