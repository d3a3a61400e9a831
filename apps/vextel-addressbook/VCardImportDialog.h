#pragma once

#include "BookContents.h"

#include <QDialog>

namespace vextel_addressbook {

class ImportPreview;

// Shows the entries of a vCard file as they will be imported, before an import that changes
// their fax numbers: nothing a phone wrote is changed without the user seeing it.
class VCardImportDialog : public QDialog {
    Q_OBJECT
public:
    VCardImportDialog(const BookContents& read, const BookContents& target,
                      QWidget* parent = nullptr);

    // The entries as they will be imported, numbers made dialable.
    BookContents entries() const;
    ImportPreview* importPreview() const { return preview_; }

private:
    ImportPreview* preview_;
};

} // namespace vextel_addressbook
