// Rows of the address-book editor on the vCard book of the session's size (65,535 contacts
// unless `--book-size` says otherwise): opening the book in the editor's window, one search
// keystroke and Save after one edit, against the library's read of the same book, a plain loop
// over the searched fields and the library's whole-book write.
#include "BookDocument.h"
#include "BookFile.h"
#include "MainWindow.h"
#include "PrinterService.h"
#include "ProcessProbe.h"
#include "Suites.h"
#include "Took.h"
#include "VCardBookStore.h"
#include "VCardCard.h"
#include "VCardReader.h"
#include "VCardWriter.h"
#include "xdirkit/XdirKit.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>
#include <QTextStream>

namespace vextel_bench {

namespace {

namespace editor = vextel_addressbook;

// A digit that every tenth name, fax number and company holds, and more.
const QString kKeystroke = QStringLiteral("7");
const QString kEditedNote = QStringLiteral("Edited once");

// Each run changes its own copy of the book.
bool copyBook(const QString& book, const QTemporaryDir& folder, QString* copy) {
    *copy = folder.filePath(QFileInfo(book).fileName());
    return folder.isValid() && QFile::copy(book, *copy);
}

// The library's books, in a folder of the run's own.
class FolderBookStore : public editor::VCardBookStore {
public:
    explicit FolderBookStore(QString folder) : folder_(std::move(folder)) {}
    QString folder() override { return folder_; }
    QStringList bookPaths() override {
        QStringList paths;
        for (const QString& name :
             QDir(folder_).entryList({QStringLiteral("*.vcf")}, QDir::Files, QDir::Name)) {
            paths.append(QDir(folder_).filePath(name));
        }
        return paths;
    }

private:
    QString folder_;
};

// The window is never connected to a printer here.
class NoPrinter : public editor::PrinterService {
public:
    Result read(const editor::PrinterConnection&, const QString&) override { return {}; }
    Result write(const editor::PrinterConnection&, const QString&,
                 const editor::BookContents&) override {
        return {};
    }
};

bool containsKeystroke(const QString& text) {
    return text.contains(kKeystroke, Qt::CaseInsensitive);
}

} // namespace

std::vector<BenchRow> editorSuiteRows(const BenchContext& context) {
    const QString book = generatedVCardBook(context);
    const QStringList arguments{book, QString::number(context.bookSize)};
    return {
        {QStringLiteral("Editor on a %L1-contact book, open / the library's read; keystroke / a "
                        "plain loop; Save after one edit / the library's whole-book write")
             .arg(context.bookSize),
         ProcessProbe::side(probeCommand(context, QStringLiteral("editor-book"), arguments)),
         ProcessProbe::side(probeCommand(context, QStringLiteral("bare-editor-book"), arguments)),
         {{QStringLiteral("open_cpu_ms"), QStringLiteral("open CPU ms"), Goal::ratioAtMost(2)},
          {QStringLiteral("open_cpu_us_per_contact"), QStringLiteral("open CPU us per contact"),
           Goal::none()},
          {QStringLiteral("open_ms"), QStringLiteral("open wall ms"), Goal::none()},
          {QString::fromLatin1(kPeakMebibytes), QStringLiteral("peak memory MiB"), Goal::none()},
          {QStringLiteral("keystroke_cpu_ms"), QStringLiteral("keystroke CPU ms"),
           Goal::measuredAtMost(16)},
          {QStringLiteral("keystroke_ms"), QStringLiteral("keystroke wall ms"), Goal::none()},
          {QStringLiteral("save_cpu_ms"), QStringLiteral("Save after one edit CPU ms"),
           Goal::ratioAtMost(1.5)},
          {QStringLiteral("save_cpu_us_per_contact"), QStringLiteral("Save CPU us per contact"),
           Goal::none()},
          {QStringLiteral("save_ms"), QStringLiteral("Save after one edit wall ms"),
           Goal::none()}}}};
}

int editorBookProbe(const BenchContext&, const QStringList& arguments, QTextStream& out) {
    QString book;
    int contacts = 0;
    QTemporaryDir folder;
    QString copy;
    if (!bookArguments(arguments, &book, &contacts) || !folder.isValid()) {
        return 2;
    }
    FolderBookStore store(folder.path());
    NoPrinter printer;
    editor::MainWindow window(store, printer);
    window.show();
    QApplication::processEvents();
    if (!copyBook(book, folder, &copy)) {
        return 1;
    }
    // As the window finds a book another program put in its folder, and the user picks it.
    const Took open = Took::measure([&] {
        window.refreshBookList();
        window.selectBook(copy);
        QApplication::processEvents();
    });
    const QAbstractItemModel* entries = window.contactTable()->model();
    if (entries->rowCount() != contacts) {
        return 1;
    }
    auto* search = window.findChild<QLineEdit*>(QStringLiteral("search"));
    const Took keystroke = Took::measure([&] {
        search->insert(kKeystroke);
        QApplication::processEvents();
    });
    const int shown = entries->rowCount();
    if (shown == 0 || shown == contacts) {
        return 1;
    }

    editor::BookDocument* document = window.document(copy);
    editor::Contact edited = document->contents().contacts.at(contacts / 2);
    edited.note = kEditedNote;
    QString error;
    if (!document->editContact(contacts / 2, edited, &error)) {
        return 1;
    }
    bool saved = false;
    const Took save = Took::measure([&] { saved = window.saveCurrentBook(); });
    if (!saved || document->isModified() ||
        document->contents().contacts.at(contacts / 2).note != kEditedNote) {
        return 1;
    }
    open.write(out, "open", contacts);
    keystroke.write(out, "keystroke");
    save.write(out, "save", contacts);
    return 0;
}

int bareEditorBookProbe(const BenchContext&, const QStringList& arguments, QTextStream& out) {
    QString book;
    int contacts = 0;
    QTemporaryDir folder;
    QString copy;
    if (!bookArguments(arguments, &book, &contacts) || !copyBook(book, folder, &copy)) {
        return 2;
    }
    // The library's read, every record copied out, as the address-book suite's row.
    struct Row {
        QString name, fax, company, note;
    };
    std::vector<Row> rows;
    const Took open = Took::measure([&] {
        XDIRDataRef data = XDIRData_Create();
        if (XdirGADFile_Read(copy.toUtf8().constData(), data, 0) == XDIR_OK) {
            XDIRMyFaxRecord record{};
            for (int32_t i = 0; i < XDIRData_GetCount_MyFax(data); ++i) {
                XDIRData_GetAt_MyFax(data, i, &record);
                rows.push_back(
                    {QString::fromUtf16(record.name), QString::fromUtf16(record.faxNumber),
                     QString::fromUtf16(record.company), QString::fromUtf16(record.note)});
            }
        }
        XDIRData_Delete(data);
    });
    if (rows.size() != static_cast<std::size_t>(contacts)) {
        return 1;
    }
    int matching = 0;
    const Took keystroke = Took::measure([&] {
        for (const Row& row : rows) {
            matching += containsKeystroke(row.name) || containsKeystroke(row.fax) ||
                                containsKeystroke(row.company) || containsKeystroke(row.note)
                            ? 1
                            : 0;
        }
    });
    if (matching == 0 || matching == contacts) {
        return 1;
    }

    // The cards as the library keeps them for a rewrite, one of them edited.
    std::string text;
    if (xdirkit::BookFile::read(copy.toStdString(), text) != XDIR_OK) {
        return 1;
    }
    auto cards = xdirkit::VCardReader::read(std::move(text));
    if (!cards || cards->size() != static_cast<std::size_t>(contacts + kGeneratedBookGroups)) {
        return 1;
    }
    (*cards)[static_cast<std::size_t>(contacts / 2)].setNote(kEditedNote.toStdString());
    int32_t status = XDIR_ERR_WRITE_FAILED;
    const Took save = Took::measure(
        [&] { status = xdirkit::VCardWriter::writeBook(copy.toStdString(), *cards); });
    if (status != XDIR_OK) {
        return 1;
    }
    open.write(out, "open", contacts);
    keystroke.write(out, "keystroke");
    save.write(out, "save", contacts);
    return 0;
}

} // namespace vextel_bench
