#include "MainWindow.h"

#include "BookDocument.h"
#include "BookHash.h"
#include "BookStore.h"
#include "ContactDialog.h"
#include "CsvImportDialog.h"
#include "CsvMapping.h"
#include "CsvTable.h"
#include "EditorSettings.h"
#include "EntryCopy.h"
#include "EntryTableModel.h"
#include "GroupDialog.h"
#include "ImportPreview.h"
#include "PasswordDialog.h"
#include "PrinterDialog.h"
#include "VCardImportDialog.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QHeaderView>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QProgressBar>
#include <QSaveFile>
#include <QSplitter>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>
#include <QToolBar>
#include <QUndoGroup>
#include <QVBoxLayout>
#include <QtConcurrent>
#include <algorithm>

namespace vextel_addressbook {

namespace {

constexpr int kKeyRole = Qt::UserRole + 1;
const QString kPrinterKey = QStringLiteral("printer:");
const QString kBookSuffix = QStringLiteral(".vcf");

// Moves a file to the user's trash. Qt trashes into the current folder when the data folder the
// trash belongs in does not exist yet, so that folder is made first.
bool moveToTrash(const QString& path) {
    const QString dataFolder =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (dataFolder.isEmpty() || !QDir().mkpath(dataFolder)) {
        return false;
    }
    QFile file(path);
    return file.moveToTrash();
}

// A book's file name: the name the user typed, with the suffix; no folders, nothing hidden.
std::optional<QString> bookFileName(const QString& name) {
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('.')) ||
        trimmed.contains(QLatin1Char('/')) || trimmed.contains(QChar(0)) || trimmed.size() > 200) {
        return std::nullopt;
    }
    return trimmed.endsWith(kBookSuffix, Qt::CaseInsensitive) ? trimmed : trimmed + kBookSuffix;
}

QTableView* makeTable(EntryTableModel* model, QWidget* parent, const QString& name) {
    auto* view = new QTableView(parent);
    view->setObjectName(name);
    view->setModel(model);
    view->setSortingEnabled(true);
    view->sortByColumn(0, Qt::AscendingOrder);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setAlternatingRowColors(true);
    // Tab goes on to the next control; the arrow keys move between rows.
    view->setTabKeyNavigation(false);
    view->verticalHeader()->hide();
    view->horizontalHeader()->setStretchLastSection(true);
    view->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    return view;
}

} // namespace

MainWindow::MainWindow(BookStore& store, PrinterService& printerService, QWidget* parent)
    : QMainWindow(parent), store_(store), printerService_(printerService),
      watcher_(new QFileSystemWatcher(this)), undoGroup_(new QUndoGroup(this)) {
    setObjectName(QStringLiteral("addressBookWindow"));
    auto* splitter = new QSplitter(this);
    bookList_ = new QListWidget(splitter);
    bookList_->setObjectName(QStringLiteral("books"));
    bookList_->setAccessibleName(tr("Address books"));
    bookList_->setMinimumWidth(180);
    auto* right = new QWidget(splitter);
    auto* layout = new QVBoxLayout(right);
    layout->setContentsMargins(0, 0, 0, 0);
    search_ = new QLineEdit(right);
    search_->setObjectName(QStringLiteral("search"));
    search_->setPlaceholderText(tr("Search names, fax numbers, companies and notes"));
    search_->setAccessibleName(tr("Search"));
    search_->setClearButtonEnabled(true);
    layout->addWidget(search_);
    // What a first start shows instead of empty tables: how to begin.
    guide_ = new QLabel(tr("There is no address book yet. Make one with File > New Book "
                           "(Ctrl+N), then bring in contacts with File > Import (Ctrl+I) from a "
                           "phone's vCard file or a CSV file. The printer's own book is read with "
                           "Printer > Connect to Printer."),
                        right);
    guide_->setObjectName(QStringLiteral("guide"));
    guide_->setWordWrap(true);
    guide_->setMargin(12);
    guide_->hide();
    layout->addWidget(guide_);
    tabs_ = new QTabWidget(right);
    tabs_->setObjectName(QStringLiteral("tabs"));
    contactModel_ = new EntryTableModel(EntryTableModel::Kind::Contacts, this);
    groupModel_ = new EntryTableModel(EntryTableModel::Kind::Groups, this);
    contactView_ = makeTable(contactModel_, tabs_, QStringLiteral("entries"));
    groupView_ = makeTable(groupModel_, tabs_, QStringLiteral("groups"));
    // A fax number is read whole: its column fits it, and the note takes the room left.
    contactView_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    // Fitted to the rows in view, not to the first thousand: a large book's table is laid out
    // anew at every edit and search.
    contactView_->horizontalHeader()->setResizeContentsPrecision(0);
    // The tabs are named "Entries" and "Groups"; the tables under them need names of their own.
    contactView_->setAccessibleName(tr("Entry list"));
    groupView_->setAccessibleName(tr("Group list"));
    tabs_->addTab(contactView_, tr("Entries"));
    tabs_->addTab(groupView_, tr("Groups"));
    layout->addWidget(tabs_);
    splitter->addWidget(bookList_);
    splitter->addWidget(right);
    splitter->setStretchFactor(1, 1);
    setCentralWidget(splitter);

    busy_ = new QProgressBar(this);
    busy_->setRange(0, 0);
    busy_->setMaximumWidth(120);
    busy_->setAccessibleName(tr("Working with the printer"));
    busy_->hide();
    state_ = new QLabel(this);
    state_->setObjectName(QStringLiteral("state"));
    statusBar()->addWidget(state_, 1);
    statusBar()->addPermanentWidget(busy_);

    buildActions();
    connect(search_, &QLineEdit::textChanged, this, &MainWindow::setSearchText);
    connect(bookList_, &QListWidget::currentItemChanged, this, [this] { showCurrentBook(); });
    connect(bookList_, &QListWidget::itemDoubleClicked, this, [this] {
        if (currentIsPrinter() && !printerBookRead_) {
            readPrinterBook();
        }
    });
    connect(contactView_, &QTableView::doubleClicked, this, &MainWindow::editSelection);
    connect(groupView_, &QTableView::doubleClicked, this, &MainWindow::editSelection);
    for (QTableView* view : {contactView_, groupView_}) {
        connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
                &MainWindow::updateActions);
    }
    connect(tabs_, &QTabWidget::currentChanged, this, &MainWindow::updateActions);
    for (QTableView* view : {contactView_, groupView_}) {
        view->installEventFilter(this);
    }
    // Books first, then the search, the tabs and the table shown: the order the window reads.
    setTabOrder(bookList_, search_);
    setTabOrder(search_, tabs_->tabBar());
    setTabOrder(tabs_->tabBar(), contactView_);
    setTabOrder(contactView_, groupView_);
    connect(watcher_, &QFileSystemWatcher::fileChanged, this, &MainWindow::bookFileChanged);
    connect(watcher_, &QFileSystemWatcher::directoryChanged, this, [this] { refreshBookList(); });
    connect(&printerJob_, &QFutureWatcher<PrinterService::Result>::finished, this,
            &MainWindow::printerJobFinished);
    connect(undoGroup_, &QUndoGroup::cleanChanged, this, [this] { refreshBookList(); });
    connect(undoGroup_, &QUndoGroup::indexChanged, this, [this] {
        updateTitle();
        updateActions();
    });
    const QString folder = store_.folder();
    if (!folder.isEmpty()) {
        watcher_->addPath(folder);
    }
    refreshBookList();
    if (bookList_->count() > 0) {
        bookList_->setCurrentRow(0);
    }
    resize(900, 560);
    updateActions();
}

MainWindow::~MainWindow() {
    printerJob_.waitForFinished();
}

// ---- Actions and menus

void MainWindow::buildActions() {
    struct ActionRow {
        const char* menu;
        const char* name;
        const char* title;
        QKeySequence shortcut;
        std::function<void()> run;
    };
    const ActionRow rows[] = {
        {QT_TR_NOOP("&File"), "newBook", QT_TR_NOOP("&New Book…"), QKeySequence::New,
         [this] {
             bool ok = false;
             const QString name = QInputDialog::getText(this, tr("New Book"), tr("Book name:"),
                                                        QLineEdit::Normal, QString(), &ok);
             if (ok) {
                 newBook(name);
             }
         }},
        {QT_TR_NOOP("&File"), "renameBook", QT_TR_NOOP("&Rename Book…"), QKeySequence(),
         [this] {
             bool ok = false;
             const QString name =
                 QInputDialog::getText(this, tr("Rename Book"), tr("Book name:"), QLineEdit::Normal,
                                       QFileInfo(currentKey()).completeBaseName(), &ok);
             if (ok) {
                 renameCurrentBook(name);
             }
         }},
        {QT_TR_NOOP("&File"), "deleteBook", QT_TR_NOOP("&Delete Book…"), QKeySequence(),
         [this] {
             deleteCurrentBook();
         }},
        {QT_TR_NOOP("&File"), "save", QT_TR_NOOP("&Save"), QKeySequence::Save,
         [this] {
             saveCurrentBook();
         }},
        {QT_TR_NOOP("&File"), "import", QT_TR_NOOP("&Import…"), QKeySequence(tr("Ctrl+I")),
         [this] {
             importChosenFile();
         }},
        {QT_TR_NOOP("&File"), "export", QT_TR_NOOP("&Export…"), QKeySequence(tr("Ctrl+E")),
         [this] {
             exportChosenFile();
         }},
        {QT_TR_NOOP("&File"), "quit", QT_TR_NOOP("&Quit"), QKeySequence::Quit,
         [this] {
             close();
         }},
        {QT_TR_NOOP("&Edit"), "newEntry", QT_TR_NOOP("New &Entry…"),
         QKeySequence(tr("Ctrl+Shift+N")),
         [this] {
             addEntry();
         }},
        {QT_TR_NOOP("&Edit"), "newGroup", QT_TR_NOOP("New &Group…"), QKeySequence(tr("Ctrl+G")),
         [this] {
             addGroup();
         }},
        {QT_TR_NOOP("&Edit"), "edit", QT_TR_NOOP("Ed&it…"), QKeySequence(Qt::Key_F2),
         [this] {
             editSelection();
         }},
        {QT_TR_NOOP("&Edit"), "delete", QT_TR_NOOP("&Delete"), QKeySequence::Delete,
         [this] {
             deleteSelection();
         }},
        {QT_TR_NOOP("&Edit"), "copyTo", QT_TR_NOOP("&Copy to Book…"),
         QKeySequence(tr("Ctrl+Shift+C")),
         [this] {
             copyChosen();
         }},
        {QT_TR_NOOP("&Edit"), "find", QT_TR_NOOP("&Find"), QKeySequence::Find,
         [this] {
             search_->setFocus();
             search_->selectAll();
         }},
        {QT_TR_NOOP("&Printer"), "choosePrinter", QT_TR_NOOP("&Connect to Printer…"),
         QKeySequence(),
         [this] {
             choosePrinter();
         }},
        {QT_TR_NOOP("&Printer"), "readPrinter", QT_TR_NOOP("&Read Printer's Book"),
         QKeySequence(tr("Ctrl+R")),
         [this] {
             readPrinterBook();
         }},
    };
    QHash<QString, QMenu*> menus;
    auto* toolbar = addToolBar(tr("Main"));
    toolbar->setObjectName(QStringLiteral("toolbar"));
    toolbar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    toolbar->setMovable(false);
    for (const ActionRow& row : rows) {
        const QString menuTitle = tr(row.menu);
        if (!menus.contains(menuTitle)) {
            menus.insert(menuTitle, menuBar()->addMenu(menuTitle));
        }
        auto* action = new QAction(tr(row.title), this);
        action->setObjectName(QLatin1String(row.name));
        action->setShortcut(row.shortcut);
        connect(action, &QAction::triggered, this, row.run);
        menus.value(menuTitle)->addAction(action);
        actions_.insert(QLatin1String(row.name), action);
        if (QLatin1String(row.menu) == QLatin1String("&Edit") &&
            QLatin1String(row.name) == QLatin1String("newEntry")) {
            // Every binding of the platform (Redo is Ctrl+Y and Ctrl+Shift+Z on Linux).
            QAction* undo = undoGroup_->createUndoAction(this, tr("&Undo"));
            undo->setShortcuts(QKeySequence::Undo);
            QAction* redo = undoGroup_->createRedoAction(this, tr("&Redo"));
            redo->setShortcuts(QKeySequence::Redo);
            undo->setObjectName(QStringLiteral("undo"));
            redo->setObjectName(QStringLiteral("redo"));
            menus.value(menuTitle)->insertAction(action, undo);
            menus.value(menuTitle)->insertAction(action, redo);
            menus.value(menuTitle)->insertSeparator(action);
            actions_.insert(QStringLiteral("undo"), undo);
            actions_.insert(QStringLiteral("redo"), redo);
        }
    }
    for (const char* name :
         {"newBook", "save", "newEntry", "newGroup", "delete", "copyTo", "readPrinter"}) {
        toolbar->addAction(actions_.value(QLatin1String(name)));
    }
    toolbar->insertAction(actions_.value(QStringLiteral("newEntry")),
                          actions_.value(QStringLiteral("undo")));
    toolbar->insertAction(actions_.value(QStringLiteral("newEntry")),
                          actions_.value(QStringLiteral("redo")));
}

void MainWindow::updateActions() {
    const bool printer = currentIsPrinter();
    const bool book = !printer && !currentKey().isEmpty();
    const bool groups = tabs_->currentIndex() == 1;
    const QTableView* view = groups ? groupView_ : contactView_;
    const bool selection = view->selectionModel()->hasSelection();
    const bool busy = isPrinterBusy();
    auto enable = [this](const char* name, bool on) {
        actions_.value(QLatin1String(name))->setEnabled(on);
    };
    enable("renameBook", book);
    enable("deleteBook", book);
    const BookDocument* doc = documents_.value(currentKey());
    enable("save", doc != nullptr && doc->isModified());
    enable("import", book);
    enable("export", book || (printer && printerBookRead_));
    enable("newEntry", book);
    enable("newGroup", book);
    enable("edit", book && selection);
    enable("delete", book && selection);
    enable("copyTo", selection && !busy && (book || printerBookRead_));
    enable("readPrinter", printer_.has_value() && !busy);
    enable("choosePrinter", !busy);
}

void MainWindow::updateTitle() {
    QString title = tr("Vextel Address Book");
    const QString key = currentKey();
    if (currentIsPrinter()) {
        title = tr("Printer %1 — %2").arg(printer_ ? printer_->displayName() : QString(), title);
    } else if (!key.isEmpty()) {
        BookDocument* doc = documents_.value(key);
        title = QStringLiteral("%1%2 — %3")
                    .arg(QFileInfo(key).completeBaseName(),
                         doc && doc->isModified() ? QStringLiteral(" *") : QString(), title);
    }
    setWindowTitle(title);
}

// ---- Books

QString MainWindow::printerKey() {
    return kPrinterKey;
}

QString MainWindow::currentKey() const {
    const QListWidgetItem* item = bookList_->currentItem();
    return item ? item->data(kKeyRole).toString() : QString();
}

QStringList MainWindow::bookKeys() const {
    QStringList keys;
    for (int i = 0; i < bookList_->count(); ++i) {
        keys.append(bookList_->item(i)->data(kKeyRole).toString());
    }
    return keys;
}

bool MainWindow::currentIsPrinter() const {
    return currentKey() == kPrinterKey;
}

void MainWindow::refreshBookList() {
    const QString current = currentKey();
    const QSignalBlocker blocker(bookList_);
    bookList_->clear();
    QStringList paths = store_.bookPaths();
    // A new book exists only in the editor until its first save.
    for (auto it = documents_.cbegin(); it != documents_.cend(); ++it) {
        if (!paths.contains(it.key())) {
            paths.append(it.key());
        }
    }
    std::sort(paths.begin(), paths.end());
    for (const QString& path : paths) {
        const BookDocument* doc = documents_.value(path);
        auto* item =
            new QListWidgetItem(QFileInfo(path).completeBaseName() +
                                    (doc && doc->isModified() ? QStringLiteral(" *") : QString()),
                                bookList_);
        item->setData(kKeyRole, path);
        item->setToolTip(path);
    }
    if (printer_) {
        auto* item = new QListWidgetItem(
            tr("Printer (%1)%2")
                .arg(printer_->displayName(),
                     printerBookRead_ ? QString() : tr(" — double-click to read")),
            bookList_);
        item->setData(kKeyRole, kPrinterKey);
        QFont font = item->font();
        font.setItalic(true);
        item->setFont(font);
    }
    for (int i = 0; i < bookList_->count(); ++i) {
        if (bookList_->item(i)->data(kKeyRole).toString() == current) {
            bookList_->setCurrentRow(i);
        }
    }
    guide_->setVisible(bookList_->count() == 0);
}

bool MainWindow::selectBook(const QString& key) {
    for (int i = 0; i < bookList_->count(); ++i) {
        if (bookList_->item(i)->data(kKeyRole).toString() == key) {
            bookList_->setCurrentRow(i);
            return true;
        }
    }
    return false;
}

BookDocument* MainWindow::document(const QString& path) {
    if (path.isEmpty() || path == kPrinterKey) {
        return nullptr;
    }
    if (BookDocument* doc = documents_.value(path)) {
        return doc;
    }
    QString error;
    auto contents = store_.read(path, &error);
    if (!contents) {
        report(tr("The book “%1” cannot be read: %2").arg(QFileInfo(path).fileName(), error));
        return nullptr;
    }
    auto* doc = new BookDocument(path, *contents, this);
    documents_.insert(path, doc);
    undoGroup_->addStack(doc->undoStack());
    connect(doc, &BookDocument::contentsChanged, this, [this, doc] {
        if (doc->path() == currentKey()) {
            showCurrentBook();
        }
    });
    fileStates_.insert(path, contents->fileHash);
    watch(path);
    return doc;
}

void MainWindow::showCurrentBook() {
    const QString key = currentKey();
    BookContents contents;
    if (currentIsPrinter()) {
        undoGroup_->setActiveStack(nullptr);
        contents = printerBook_;
        state_->setText(printerBookRead_
                            ? tr("The printer's book (read-only): %1.").arg(countsText(contents))
                            : tr("The printer's book is not read yet."));
    } else if (BookDocument* doc = document(key)) {
        undoGroup_->setActiveStack(doc->undoStack());
        contents = doc->contents();
        state_->setText(tr("%1.").arg(countsText(contents)));
    } else {
        undoGroup_->setActiveStack(nullptr);
    }
    contactModel_->setContents(contents);
    groupModel_->setContents(contents);
    updateTitle();
    updateActions();
}

QString MainWindow::countsText(const BookContents& contents) const {
    return tr("%1, %2", "entries, groups")
        .arg(tr("%n entries", nullptr, static_cast<int>(contents.contacts.size())),
             tr("%n groups", nullptr, static_cast<int>(contents.groups.size())));
}

BookContents MainWindow::currentContents() const {
    if (currentIsPrinter()) {
        return printerBook_;
    }
    const BookDocument* doc = documents_.value(currentKey());
    return doc ? doc->contents() : BookContents();
}

bool MainWindow::newBook(const QString& name) {
    const auto fileName = bookFileName(name);
    const QString folder = store_.folder();
    if (!fileName || folder.isEmpty()) {
        report(tr("“%1” cannot be a book's name.").arg(name));
        return false;
    }
    const QString path = QDir(folder).filePath(*fileName);
    if (QFileInfo::exists(path) || documents_.contains(path)) {
        report(tr("A book named “%1” exists already.").arg(name.trimmed()));
        return false;
    }
    QString error;
    if (!store_.write(path, BookContents(), &error)) {
        report(tr("The book “%1” cannot be made: %2").arg(name.trimmed(), error));
        return false;
    }
    refreshBookList();
    document(path);
    return selectBook(path);
}

bool MainWindow::renameCurrentBook(const QString& name) {
    const QString path = currentKey();
    BookDocument* doc = document(path);
    const auto fileName = bookFileName(name);
    if (doc == nullptr || !fileName) {
        report(tr("“%1” cannot be a book's name.").arg(name));
        return false;
    }
    const QString target = QFileInfo(path).dir().filePath(*fileName);
    if (target == path) {
        return true;
    }
    if (QFileInfo::exists(target)) {
        report(tr("A book named “%1” exists already.").arg(name.trimmed()));
        return false;
    }
    watcher_->removePath(path);
    if (!QFile::rename(path, target)) {
        watch(path);
        report(tr("The book cannot be renamed."));
        return false;
    }
    documents_.remove(path);
    fileStates_.insert(target, fileStates_.take(path));
    doc->setPath(target);
    documents_.insert(target, doc);
    watch(target);
    refreshBookList();
    return selectBook(target);
}

bool MainWindow::deleteCurrentBook(bool askFirst) {
    const QString path = currentKey();
    if (path.isEmpty() || currentIsPrinter()) {
        return false;
    }
    if (askFirst &&
        ask(tr("Move the book “%1” to the trash?").arg(QFileInfo(path).completeBaseName()),
            QMessageBox::Yes | QMessageBox::Cancel) != QMessageBox::Yes) {
        return false;
    }
    watcher_->removePath(path);
    // Without a trash, the file is removed.
    if (!moveToTrash(path) && !QFile::remove(path)) {
        watch(path);
        report(tr("The book cannot be deleted."));
        return false;
    }
    if (BookDocument* doc = documents_.take(path)) {
        undoGroup_->removeStack(doc->undoStack());
        doc->deleteLater();
    }
    fileStates_.remove(path);
    refreshBookList();
    if (bookList_->currentRow() < 0 && bookList_->count() > 0) {
        bookList_->setCurrentRow(0);
    }
    showCurrentBook();
    return true;
}

bool MainWindow::saveCurrentBook() {
    BookDocument* doc = documents_.value(currentKey());
    if (doc == nullptr) {
        return false;
    }
    QString error;
    std::optional<MergeNotes> merged;
    if (!doc->save(store_, &error, &merged)) {
        report(tr("The book “%1” cannot be saved: %2").arg(doc->title(), error));
        return false;
    }
    // The bytes written, so that the window's own write is not taken for another program's.
    fileStates_.insert(doc->path(), doc->base().fileHash);
    if (merged) {
        showMerge(*doc, *merged, true);
    }
    refreshBookList();
    updateTitle();
    updateActions();
    return true;
}

bool MainWindow::saveAll() {
    const QString current = currentKey();
    bool saved = true;
    for (BookDocument* doc : documents_) {
        if (doc->isModified()) {
            selectBook(doc->path());
            saved = saveCurrentBook() && saved;
        }
    }
    selectBook(current);
    return saved;
}

// ---- Changes made by other programs

void MainWindow::watch(const QString& path) {
    if (QFileInfo::exists(path) && !watcher_->files().contains(path)) {
        watcher_->addPath(path);
    }
}

void MainWindow::showMerge(const BookDocument& doc, const MergeNotes& notes, bool saved) {
    QStringList sentences{
        saved ? tr("“%1” was changed by another program meanwhile: its changes and yours are "
                   "saved together.")
                    .arg(doc.title())
              : tr("“%1” was changed by another program: its changes and yours are merged; save "
                   "to keep them.")
                    .arg(doc.title())};
    const QString separator = QStringLiteral(", ");
    if (!notes.oursKept.isEmpty()) {
        sentences.append(tr("Both changed the same field of %1: yours is kept, the other "
                            "program's value is replaced.")
                             .arg(notes.oursKept.join(separator)));
    }
    if (!notes.removalUndone.isEmpty()) {
        sentences.append(tr("Deleted on one side and changed on the other, so kept: %1.")
                             .arg(notes.removalUndone.join(separator)));
    }
    if (!notes.membersDropped.isEmpty()) {
        sentences.append(tr("Members whose entries were deleted are no longer in %1.")
                             .arg(notes.membersDropped.join(separator)));
    }
    if (!notes.heldTwice.isEmpty()) {
        sentences.append(tr("Added here and by the other program, so in the book twice: %1. "
                            "Delete one of each.")
                             .arg(notes.heldTwice.join(separator)));
    }
    state_->setText(sentences.join(QLatin1Char(' ')));
}

void MainWindow::bookFileChanged(const QString& path) {
    // An atomic replace gives the path a new file: watch that one.
    watch(path);
    BookDocument* doc = documents_.value(path);
    const QByteArray state = BookHash::ofFile(path);
    if (doc == nullptr || state == fileStates_.value(path)) {
        return;
    }
    if (state.isEmpty()) {
        report(tr("The book “%1” was removed by another program; save it to keep it.")
                   .arg(doc->title()));
        fileStates_.insert(path, state);
        return;
    }
    QString error;
    auto theirs = store_.read(path, &error);
    if (!theirs) {
        report(tr("The book “%1” was changed by another program and cannot be read: %2")
                   .arg(doc->title(), error));
        return;
    }
    fileStates_.insert(path, theirs->fileHash);
    MergeNotes notes;
    if (doc->takeExternalChange(*theirs, &notes)) {
        showMerge(*doc, notes, false);
    } else {
        state_->setText(
            tr("“%1” was changed by another program and is read again.").arg(doc->title()));
    }
    refreshBookList();
    updateTitle();
}

// ---- Entries

QList<qsizetype> MainWindow::selectedSourceRows(bool groups) const {
    const QTableView* view = groups ? groupView_ : contactView_;
    const EntryTableModel* model = groups ? groupModel_ : contactModel_;
    QList<qsizetype> rows;
    for (const QModelIndex& index : view->selectionModel()->selectedRows()) {
        rows.append(model->contentsRow(index.row()));
    }
    return rows;
}

void MainWindow::selectRows(bool groups, const QList<int>& viewRows) {
    tabs_->setCurrentIndex(groups ? 1 : 0);
    QTableView* view = groups ? groupView_ : contactView_;
    view->clearSelection();
    for (int row : viewRows) {
        view->selectionModel()->select(view->model()->index(row, 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    updateActions();
}

void MainWindow::setSearchText(const QString& text) {
    if (search_->text() != text) {
        search_->setText(text);
    }
    contactModel_->setSearchText(text);
    groupModel_->setSearchText(text);
}

void MainWindow::sortBy(bool groups, int column, Qt::SortOrder order) {
    (groups ? groupView_ : contactView_)->sortByColumn(column, order);
}

void MainWindow::addEntry() {
    BookDocument* doc = documents_.value(currentKey());
    if (doc == nullptr) {
        return;
    }
    ContactDialog dialog(Contact{}, this);
    dialog.setBookCheck([doc](const Contact& edited) {
        return EntryRules::duplicateProblem(Contact{}, edited, doc->contents());
    });
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    QString error;
    if (!doc->addContact(dialog.contact(), &error)) {
        report(error);
    }
}

void MainWindow::addGroup() {
    BookDocument* doc = documents_.value(currentKey());
    if (doc == nullptr) {
        return;
    }
    Group group;
    for (qsizetype row : selectedSourceRows(false)) {
        group.memberUids.append(doc->contents().contacts.at(row).uid);
    }
    GroupDialog dialog(group, doc->contents(), this);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    QString error;
    if (!doc->addGroup(dialog.group(), &error)) {
        report(error);
    }
}

void MainWindow::editSelection() {
    BookDocument* doc = documents_.value(currentKey());
    const bool groups = tabs_->currentIndex() == 1;
    const QList<qsizetype> rows = selectedSourceRows(groups);
    if (doc == nullptr || rows.size() != 1) {
        return;
    }
    QString error;
    if (groups) {
        GroupDialog dialog(doc->contents().groups.at(rows.first()), doc->contents(), this);
        if (dialog.exec() == QDialog::Accepted &&
            !doc->editGroup(rows.first(), dialog.group(), &error)) {
            report(error);
        }
        return;
    }
    const Contact& chosen = doc->contents().contacts.at(rows.first());
    ContactDialog dialog(chosen, this);
    dialog.setBookCheck([doc, chosen](const Contact& edited) {
        return EntryRules::duplicateProblem(chosen, edited, doc->contents());
    });
    if (dialog.exec() == QDialog::Accepted &&
        !doc->editContact(rows.first(), dialog.contact(), &error)) {
        report(error);
    }
}

void MainWindow::deleteSelection() {
    BookDocument* doc = documents_.value(currentKey());
    if (doc == nullptr) {
        return;
    }
    if (tabs_->currentIndex() == 1) {
        doc->removeGroups(selectedSourceRows(true));
    } else {
        doc->removeContacts(selectedSourceRows(false));
    }
}

// ---- Import and export

bool MainWindow::importFile(const QString& path, std::optional<CsvMapping> mapping) {
    BookDocument* doc = documents_.value(currentKey());
    if (doc == nullptr) {
        report(tr("Choose the PC book to import into first."));
        return false;
    }
    BookContents imported;
    bool previewed = false;
    if (path.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive) ||
        path.endsWith(QLatin1String(".txt"), Qt::CaseInsensitive)) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            report(tr("“%1” cannot be read: %2").arg(path, file.errorString()));
            return false;
        }
        const QList<QStringList> rows = CsvTable::parse(CsvTable::decode(file.readAll()));
        if (mapping) {
            imported = ImportPreview::dialable(mapping->entries(rows),
                                               EditorSettings::internationalPrefix());
        } else {
            CsvImportDialog dialog(rows, this);
            dialog.setTargetBook(doc->contents());
            if (dialog.exec() != QDialog::Accepted) {
                return false;
            }
            imported = dialog.entries();
            previewed = true;
        }
    } else {
        QString error;
        auto read = store_.read(path, &error);
        if (!read) {
            report(tr("“%1” cannot be imported: %2").arg(QFileInfo(path).fileName(), error));
            return false;
        }
        // Each entry's card comes with it, so that the book keeps what the editor does not show.
        for (Contact& contact : read->contacts) {
            contact.importedFrom = CardSource{read->origin, contact.originIndex};
        }
        QList<QStringList> changes;
        imported = ImportPreview::dialable(*read, EditorSettings::internationalPrefix(), &changes);
        // A number is not changed unseen: the user sees each change first.
        if (std::any_of(changes.begin(), changes.end(),
                        [](const QStringList& made) { return !made.isEmpty(); })) {
            VCardImportDialog dialog(*read, doc->contents(), this);
            if (dialog.exec() != QDialog::Accepted) {
                return false;
            }
            imported = dialog.entries();
            previewed = true;
        }
    }
    QStringList skipped;
    const qsizetype added =
        doc->addEntries(imported.contacts, imported.groups, &skipped, tr("Import"));
    if (!skipped.isEmpty() && !previewed) {
        report(tr("%n entries imported; left out:\n%1", nullptr, static_cast<int>(added))
                   .arg(skipped.join('\n')));
    } else if (!skipped.isEmpty()) {
        // The preview named each one with its reason already.
        state_->setText(
            tr("%n entries imported.", nullptr, static_cast<int>(added)) + QLatin1Char(' ') +
            tr("%n left out, as the preview showed.", nullptr, static_cast<int>(skipped.size())));
    } else {
        state_->setText(tr("%n entries imported.", nullptr, static_cast<int>(added)));
    }
    return true;
}

bool MainWindow::exportCurrentBook(const QString& path) {
    const BookContents contents = currentContents();
    QString error;
    if (path.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive)) {
        QSaveFile file(path);
        if (file.open(QIODevice::WriteOnly) &&
            file.write(CsvTable::write(CsvMapping::exportRows(contents))) >= 0 && file.commit()) {
            return true;
        }
        error = file.errorString();
    } else if (store_.exportVCard(path, contents, &error)) {
        return true;
    }
    report(tr("The book cannot be exported to “%1”: %2").arg(path, error));
    return false;
}

void MainWindow::importChosenFile() {
    const QString path = QFileDialog::getOpenFileName(
        this, tr("Import"), QDir::homePath(), tr("Address books (*.vcf *.vcard *.csv *.txt)"));
    if (!path.isEmpty()) {
        importFile(path);
    }
}

void MainWindow::exportChosenFile() {
    QString filter;
    const QString path = QFileDialog::getSaveFileName(
        this, tr("Export"), QDir::homePath(), tr("vCard 4.0 (*.vcf);;CSV (*.csv)"), &filter);
    if (path.isEmpty()) {
        return;
    }
    const bool csv = filter.contains(QLatin1String("csv"));
    const QString suffix = csv ? QStringLiteral(".csv") : QStringLiteral(".vcf");
    exportCurrentBook(path.endsWith(suffix, Qt::CaseInsensitive) ? path : path + suffix);
}

// ---- Copying between books

bool MainWindow::copySelectionTo(const QString& targetKey) {
    const BookContents source = currentContents();
    QSet<QString> contactUids;
    QSet<QString> groupUids;
    for (qsizetype row : selectedSourceRows(false)) {
        contactUids.insert(source.contacts.at(row).uid);
    }
    for (qsizetype row : selectedSourceRows(true)) {
        groupUids.insert(source.groups.at(row).uid);
    }
    if (contactUids.isEmpty() && groupUids.isEmpty()) {
        return false;
    }
    if (targetKey == kPrinterKey) {
        if (!printer_ || !printerBookRead_ || isPrinterBusy()) {
            report(tr("Read the printer's book first."));
            return false;
        }
        const BookContents copied = entriesToCopy(source, contactUids, groupUids, printerBook_);
        const BookContents next = appendCopies(printerBook_, copied);
        const auto password = askPassword();
        if (!password) {
            return false;
        }
        const PrinterConnection printer = *printer_;
        PrinterService* service = &printerService_;
        startPrinterJob(tr("Writing the printer's book…"),
                        [service, printer, next, password = *password]() mutable {
                            PrinterService::Result result = service->write(printer, password, next);
                            // After a write, and after a refusal for a book changed meanwhile, the
                            // window shows what the printer holds now.
                            if (result.ok || result.stale) {
                                PrinterService::Result reread = service->read(printer, password);
                                if (result.ok || !reread.ok) {
                                    result = reread;
                                } else {
                                    result.book = reread.book;
                                    result.bookRead = true;
                                }
                            }
                            password.fill(QChar(0));
                            return result;
                        });
        return true;
    }
    BookDocument* target = document(targetKey);
    if (target == nullptr || targetKey == currentKey()) {
        return false;
    }
    const BookContents copied = entriesToCopy(source, contactUids, groupUids, target->contents());
    QStringList skipped;
    target->addEntries(copied.contacts, copied.groups, &skipped,
                       tr("Copy from %1")
                           .arg(currentIsPrinter() ? tr("the printer")
                                                   : QFileInfo(currentKey()).completeBaseName()));
    if (!skipped.isEmpty()) {
        report(tr("Left out of the copy:\n%1").arg(skipped.join('\n')));
    }
    refreshBookList();
    return true;
}

void MainWindow::copyChosen() {
    QStringList titles;
    QStringList keys;
    for (int i = 0; i < bookList_->count(); ++i) {
        const QString key = bookList_->item(i)->data(kKeyRole).toString();
        if (key != currentKey() && (key != kPrinterKey || printerBookRead_)) {
            titles.append(bookList_->item(i)->text());
            keys.append(key);
        }
    }
    if (keys.isEmpty()) {
        report(tr("There is no other book to copy to."));
        return;
    }
    bool ok = false;
    const QString title = QInputDialog::getItem(
        this, tr("Copy to Book"), tr("Copy the selection to:"), titles, 0, false, &ok);
    if (ok) {
        copySelectionTo(keys.at(titles.indexOf(title)));
    }
}

// ---- The printer

void MainWindow::setPrinter(const PrinterConnection& printer) {
    if (printer_ != printer) {
        printer_ = printer;
        printerBook_ = BookContents();
        printerBookRead_ = false;
    }
    refreshBookList();
    updateActions();
}

void MainWindow::choosePrinter() {
    PrinterDialog dialog(printer_, this);
    if (dialog.exec() == QDialog::Accepted) {
        setPrinter(dialog.printer());
        selectBook(kPrinterKey);
        readPrinterBook();
    }
}

bool MainWindow::isPrinterBusy() const {
    return printerBusy_;
}

void MainWindow::readPrinterBook() {
    if (!printer_ || isPrinterBusy()) {
        return;
    }
    const auto password = askPassword();
    if (!password) {
        return;
    }
    const PrinterConnection printer = *printer_;
    PrinterService* service = &printerService_;
    startPrinterJob(tr("Reading the printer's book…"),
                    [service, printer, password = *password]() mutable {
                        PrinterService::Result result = service->read(printer, password);
                        password.fill(QChar(0));
                        return result;
                    });
}

void MainWindow::startPrinterJob(const QString& what, std::function<PrinterService::Result()> job) {
    printerJobName_ = what;
    printerJobFor_ = printer_;
    state_->setText(what);
    busy_->show();
    printerBusy_ = true;
    printerJob_.setFuture(QtConcurrent::run(std::move(job)));
    updateActions();
}

void MainWindow::printerJobFinished() {
    busy_->hide();
    printerBusy_ = false;
    const PrinterService::Result result = printerJob_.result();
    if (printerJobFor_ != printer_) {
        // Another printer was handed over while this one answered: its book is not the one the
        // window names now. A write went to the printer it was made for; only a failure of it
        // is worth a word.
        const QString former = printerJobFor_ ? printerJobFor_->displayName() : QString();
        printerJobFor_.reset();
        refreshBookList();
        showCurrentBook();
        updateActions();
        state_->setText(
            tr("What printer %1 answered was set aside: the window shows printer %2 now.")
                .arg(former, printer_ ? printer_->displayName() : QString()));
        if (!result.ok) {
            report(result.message);
        }
        return;
    }
    printerJobFor_.reset();
    if (result.bookRead) {
        printerBook_ = result.book;
        printerBookRead_ = true;
    }
    if (!result.ok) {
        state_->clear();
        refreshBookList();
        showCurrentBook();
        report(result.message);
        return;
    }
    refreshBookList();
    if (!selectBook(kPrinterKey) || currentIsPrinter()) {
        showCurrentBook();
    }
    updateActions();
}

void MainWindow::takeHandOff(const QString& message) {
    const QStringList lines = message.split(QLatin1Char('\n'));
    if (auto printer = PrinterConnection::fromText(lines.first())) {
        setPrinter(*printer);
        selectBook(kPrinterKey);
    }
    openFiles(lines.mid(1));
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    show();
    raise();
    activateWindow();
}

void MainWindow::openFiles(const QStringList& paths) {
    for (const QString& path : paths) {
        const QFileInfo file(path);
        if (path.isEmpty() || !file.isFile()) {
            continue;
        }
        // A book of the folder is opened; any other vCard file goes into the book of its name,
        // made for it when there is none, as an import the user can undo or save.
        if (selectBook(file.absoluteFilePath())) {
            continue;
        }
        const QString book = QDir(store_.folder()).filePath(file.completeBaseName() + kBookSuffix);
        if (!selectBook(book) && !newBook(file.completeBaseName())) {
            continue;
        }
        importFile(file.absoluteFilePath());
    }
}

// ---- Asking and telling the user

std::optional<QString> MainWindow::askPassword() {
    if (passwordPrompt_) {
        return passwordPrompt_();
    }
    PasswordDialog dialog(printer_ ? printer_->displayName() : QString(), this);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.takePassword();
}

QMessageBox::StandardButton MainWindow::ask(const QString& text,
                                            QMessageBox::StandardButtons buttons) {
    if (question_) {
        return question_(text, buttons);
    }
    return QMessageBox::question(this, windowTitle(), text, buttons);
}

void MainWindow::report(const QString& text) {
    if (notice_) {
        notice_(text);
        return;
    }
    QMessageBox::warning(this, tr("Vextel Address Book"), text);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    // Return or Enter on a row edits it, as a double click does.
    if (event->type() == QEvent::KeyPress && (watched == contactView_ || watched == groupView_)) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (enter && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier &&
            actions_.value(QStringLiteral("edit"))->isEnabled()) {
            editSelection();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    QStringList modified;
    for (const BookDocument* doc : documents_) {
        if (doc->isModified()) {
            modified.append(QStringLiteral("“%1”").arg(doc->title()));
        }
    }
    if (!modified.isEmpty()) {
        modified.sort();
        const auto answer = ask(
            tr("Save the changes to %1 before closing?").arg(modified.join(QStringLiteral(", "))),
            QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
        if (answer == QMessageBox::Cancel || (answer == QMessageBox::Save && !saveAll())) {
            event->ignore();
            return;
        }
    }
    printerJob_.waitForFinished();
    event->accept();
}

} // namespace vextel_addressbook
