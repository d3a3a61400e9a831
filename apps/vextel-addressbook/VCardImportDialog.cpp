#include "VCardImportDialog.h"

#include "ImportPreview.h"

#include <QDialogButtonBox>
#include <QVBoxLayout>

namespace vextel_addressbook {

VCardImportDialog::VCardImportDialog(const BookContents& read, const BookContents& target,
                                     QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(tr("Import vCard"));
    auto* layout = new QVBoxLayout(this);
    preview_ = new ImportPreview(this);
    preview_->setTargetBook(target);
    preview_->setEntries(read);
    layout->addWidget(preview_, 1);
    layout->addWidget(preview_->confirmingButtons(this));
    resize(960, 420);
}

BookContents VCardImportDialog::entries() const {
    return preview_->entries();
}

} // namespace vextel_addressbook
