#pragma once

#include <QList>
#include <QString>
#include <QUrl>

// The help system: books carried by bundles, registered by bundle and opened by page.
namespace help {

// Registers the help book of the bundle at bundlePath: its Info.plist names the book
// ("CFBundleHelpBookName") and the folder of its pages ("CFBundleHelpBookFolder"), which lives
// in Contents/Resources/<lang>.lproj/ for the first preferred language that has it, else the
// development language. False (and nothing registered) when the bundle, the name or the folder
// is missing. Registering a book again replaces the earlier registration.
bool registerBook(const QString& bundlePath);
bool isRegistered(const QString& bookName);
// The folder of a registered book's pages; a null QString for an unknown book.
QString bookFolder(const QString& bookName);

// file://<book folder>/<pagePath>#<anchor> (no fragment when the anchor is empty); an empty URL
// when the book is unknown or the page does not exist.
QUrl pageUrl(const QString& bookName, const QString& pagePath, const QString& anchor = {});
// Opens the page in the help viewer (the desktop's default handler). An unknown book or a
// missing page does nothing.
void gotoPage(const QString& bookName, const QString& pagePath, const QString& anchor = {});

// Forgets every registration (tests start from a clean state with it).
void unregisterAllBooks();

// While a ViewerRecorder exists, opened pages are recorded instead of shown. Recorders nest;
// the innermost one records.
class ViewerRecorder {
public:
    ViewerRecorder();
    ~ViewerRecorder();
    ViewerRecorder(const ViewerRecorder&) = delete;
    ViewerRecorder& operator=(const ViewerRecorder&) = delete;

    QList<QUrl> openedUrls() const;

private:
    friend void gotoPage(const QString&, const QString&, const QString&);
    ViewerRecorder* outer_ = nullptr;
    QList<QUrl> opened_;
};

} // namespace help
