#pragma once

#include "BookContents.h"
#include "CommandLine.h"
#include "CsvMapping.h"
#include "PrinterService.h"

#include <QFutureWatcher>
#include <QHash>
#include <QMainWindow>
#include <QMessageBox>
#include <functional>
#include <optional>

class QAction;
class QFileSystemWatcher;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QTabWidget;
class QTableView;
class QUndoGroup;

namespace vextel_addressbook {

class BookDocument;
class BookStore;
class EntryTableModel;
struct MergeNotes;

// The editor's window: the PC address books and the printer's book in a list on the left, the
// chosen book's entries and groups in two sortable tables on the right with a search field above.
// A PC book is edited in place (with undo and redo) and saved through the book store; the
// printer's book is read (and written back) through the printer service off the main thread,
// with a busy indicator, and shown read-only.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(BookStore& store, PrinterService& printerService, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Seams: how the window asks the user. Defaults are real dialogs.
    using PasswordPrompt = std::function<std::optional<QString>()>;
    using Question = std::function<QMessageBox::StandardButton(
        const QString& text, QMessageBox::StandardButtons buttons)>;
    using Notice = std::function<void(const QString& text)>;
    void setPasswordPrompt(PasswordPrompt prompt) { passwordPrompt_ = std::move(prompt); }
    void setQuestion(Question question) { question_ = std::move(question); }
    void setNotice(Notice notice) { notice_ = std::move(notice); }

    // ---- Books
    void refreshBookList();
    // Selects a book in the list by path, or the printer's book with printerKey().
    bool selectBook(const QString& key);
    static QString printerKey();
    QString currentKey() const;
    // The keys of the list, in its order.
    QStringList bookKeys() const;
    // The open document of a PC book (opened on demand); null when it cannot be read.
    BookDocument* document(const QString& path);
    bool newBook(const QString& name);
    bool renameCurrentBook(const QString& name);
    // To the desktop's trash where there is one. Asks first when ask is set.
    bool deleteCurrentBook(bool ask = true);
    bool saveCurrentBook();
    bool saveAll();

    // ---- Entries of the current PC book (rows as the tables show them)
    void selectRows(bool groups, const QList<int>& viewRows);
    void deleteSelection();
    void setSearchText(const QString& text);
    void sortBy(bool groups, int column, Qt::SortOrder order);
    QTableView* contactTable() const { return contactView_; }
    QTableView* groupTable() const { return groupView_; }
    // How to begin, shown while there is no book at all.
    QLabel* guide() const { return guide_; }
    // The tabs of the two tables: 0 entries, 1 groups.
    QTabWidget* tabs() const { return tabs_; }

    // ---- Import and export (by extension: .vcf or .csv)
    bool importFile(const QString& path, std::optional<CsvMapping> mapping = std::nullopt);
    bool exportCurrentBook(const QString& path);

    // ---- The printer
    void setPrinter(const PrinterConnection& printer);
    std::optional<PrinterConnection> printer() const { return printer_; }
    // Asks for the password and reads the printer's book off the main thread.
    void readPrinterBook();
    bool isPrinterBusy() const;
    const BookContents& printerBook() const { return printerBook_; }
    // Copies the selected entries and groups of the current book into the target (a PC book
    // path or printerKey()).
    bool copySelectionTo(const QString& targetKey);

    // Handed over by a second start of the editor: its printer's connection on the first line
    // ("NET ADDRESS", "USB" or empty), then the files it was asked to open, one a line.
    void takeHandOff(const QString& message);
    // Opens vCard files as the desktop hands them over: a book of the folder is chosen, any other
    // file is imported into the book of its name (made when missing). Files that are not there
    // are passed over.
    void openFiles(const QStringList& paths);

protected:
    void closeEvent(QCloseEvent* event) override;
    // Return or Enter on a row of a table edits the row.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildActions();
    void showCurrentBook();
    void updateActions();
    void updateTitle();
    void bookFileChanged(const QString& path);
    void watch(const QString& path);
    // Says in the status bar what a merge with another program's change did, naming what it
    // set aside.
    void showMerge(const BookDocument& doc, const MergeNotes& notes, bool saved);
    void startPrinterJob(const QString& what, std::function<PrinterService::Result()> job);
    void printerJobFinished();
    void report(const QString& text);
    std::optional<QString> askPassword();
    QMessageBox::StandardButton ask(const QString& text, QMessageBox::StandardButtons buttons);
    QList<qsizetype> selectedSourceRows(bool groups) const;
    BookContents currentContents() const;
    // "3 entries, 1 group": the sizes of the book, in the plural forms of the language.
    QString countsText(const BookContents& contents) const;
    bool currentIsPrinter() const;
    void addEntry();
    void editSelection();
    void addGroup();
    void choosePrinter();
    void importChosenFile();
    void exportChosenFile();
    void copyChosen();

    BookStore& store_;
    PrinterService& printerService_;
    std::optional<PrinterConnection> printer_;
    BookContents printerBook_;
    bool printerBookRead_ = false;
    QHash<QString, BookDocument*> documents_;
    QHash<QString, QByteArray> fileStates_; // hash of each open book's file as last seen
    QFileSystemWatcher* watcher_;
    QUndoGroup* undoGroup_;
    QListWidget* bookList_;
    QLineEdit* search_;
    QTabWidget* tabs_;
    EntryTableModel* contactModel_;
    EntryTableModel* groupModel_;
    QTableView* contactView_;
    QTableView* groupView_;
    QProgressBar* busy_;
    QLabel* state_;
    QLabel* guide_ = nullptr;
    QFutureWatcher<PrinterService::Result> printerJob_;
    QString printerJobName_;
    // The printer the running job reads or writes: its result belongs to that printer alone, and
    // is set aside when the window was handed another printer meanwhile.
    std::optional<PrinterConnection> printerJobFor_;
    bool printerBusy_ = false; // from the job's start until the window took its result
    QHash<QString, QAction*> actions_;
    PasswordPrompt passwordPrompt_;
    Question question_;
    Notice notice_;
};

} // namespace vextel_addressbook
