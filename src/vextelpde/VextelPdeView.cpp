#include "vextelpde/VextelPdeView.h"

namespace tarvik_pde_m40vextel {

VextelPdeView::VextelPdeView(QWidget* widget) : BasicPdeView(widget) {}

VextelPdeView::~VextelPdeView() = default;

void VextelPdeView::initializeControls() {
    for (const VextelControlRow* row = vextelPPDDict; row->tag != 0; ++row) {
        kit::View* control = viewWithTag(row->tag);
        if (control == nullptr) {
            continue;
        }
        if (row->keyword != nullptr) {
            localizePPDControl(control, row->keyword);
        } else {
            localizeControl(control);
        }
    }
    if (coverSettingGroup_) {
        localizeControl(coverSettingGroup_);
    }
}

} // namespace tarvik_pde_m40vextel
