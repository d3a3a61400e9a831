#include "EditorScript.h"

#include "BookStore.h"
#include "MainWindow.h"
#include "kit/KeyboardInput.h"
#include "kit/ScriptWords.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QTableView>
#include <QTimer>

namespace vextel_addressbook {

namespace {

constexpr int kPrinterWaitMs = 60000;

const struct {
    const char* title;
    QMessageBox::StandardButton button;
} kButtons[] = {{"Save", QMessageBox::Save},
                {"Discard", QMessageBox::Discard},
                {"Cancel", QMessageBox::Cancel},
                {"Yes", QMessageBox::Yes}};

} // namespace

EditorScript::EditorScript(MainWindow& window, QTextStream& output)
    : window_(window), output_(output) {
    window_.setNotice([this](const QString& text) {
        ++notices_;
        output_ << "notice: " << QString(text).replace('\n', QLatin1String(" / ")) << Qt::endl;
    });
    window_.setPasswordPrompt([this]() -> std::optional<QString> { return password_; });
    window_.setQuestion([this](const QString& text, QMessageBox::StandardButtons) {
        const QMessageBox::StandardButton answer = answer_.value_or(QMessageBox::Cancel);
        answer_.reset();
        QString title = QStringLiteral("Cancel");
        for (const auto& button : kButtons) {
            if (button.button == answer) {
                title = QLatin1String(button.title);
            }
        }
        output_ << "question: " << text << " -> " << title << Qt::endl;
        return answer;
    });
}

std::optional<QStringList> EditorScript::split(const QString& line) {
    return kit::splitScriptWords(line, kit::HashSign::StartsComment);
}

bool EditorScript::run(const QString& script, QString* error, const QStringList& openFirst) {
    lines_ = script.split(QLatin1Char('\n'));
    next_ = 0;
    error_.clear();
    if (!openFirst.isEmpty()) {
        runOpening([&] { window_.openFiles(openFirst); });
    }
    while (next_ < lines_.size() && runNextLine()) {
    }
    if (!error_.isEmpty()) {
        *error = error_;
        return false;
    }
    return true;
}

bool EditorScript::runNextLine() {
    const qsizetype number = ++next_;
    const auto words = split(lines_.at(number - 1));
    QString reason;
    if (!words) {
        reason = QStringLiteral("a quote is not closed");
    } else if (words->isEmpty()) {
        return true;
    } else if (quit_) {
        reason = QStringLiteral("the window is closed");
    } else if (runLine(*words, &reason)) {
        return error_.isEmpty();
    }
    if (error_.isEmpty()) {
        error_ = QStringLiteral("line %1: %2").arg(number).arg(reason);
    }
    return false;
}

void EditorScript::runLinesInside(QWidget* window) {
    QPointer<QWidget> shown(window);
    while (error_.isEmpty() && shown != nullptr && shown->isVisible()) {
        if (next_ >= lines_.size()) {
            error_ = QStringLiteral("line %1: the script ended while the window “%2” is open")
                         .arg(lines_.size())
                         .arg(shown->windowTitle());
            break;
        }
        runNextLine();
    }
    // A script that stopped leaves no window waiting for a person.
    if (shown != nullptr && shown->isVisible()) {
        if (auto* dialog = qobject_cast<QDialog*>(shown.data())) {
            dialog->reject();
        } else {
            shown->close();
        }
    }
}

void EditorScript::runOpening(const std::function<void()>& action) {
    // An action that opens a modal window returns only when it closes: the following lines run
    // inside it, started from its own event loop.
    const QPointer<QWidget> modalBefore = QApplication::activeModalWidget();
    QTimer watch;
    watch.setInterval(10);
    QObject::connect(&watch, &QTimer::timeout, [this, &watch, modalBefore] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != nullptr && modal != modalBefore) {
            watch.stop();
            runLinesInside(modal);
        }
    });
    watch.start();
    action();
    watch.stop();
}

bool EditorScript::trigger(const char* actionName, QString* error) {
    QAction* action = window_.findChild<QAction*>(QLatin1String(actionName));
    if (action == nullptr || !action->isEnabled()) {
        *error = QStringLiteral("%1 is not available now").arg(QLatin1String(actionName));
        return false;
    }
    runOpening([action] { action->trigger(); });
    return true;
}

QString EditorScript::bookKey(const QString& name) const {
    if (name == QLatin1String("printer")) {
        return MainWindow::printerKey();
    }
    for (const QString& path : window_.bookKeys()) {
        if (QFileInfo(path).completeBaseName() == name) {
            return path;
        }
    }
    return {};
}

bool EditorScript::waitForPrinter(QString* error) {
    QDeadlineTimer deadline(kPrinterWaitMs);
    while (window_.isPrinterBusy() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    if (window_.isPrinterBusy()) {
        *error = QStringLiteral("the printer did not answer");
        return false;
    }
    return true;
}

const EditorScript::Command EditorScript::kCommands[] = {
    {"printer", 1, 2, "printer NET ADDRESS | printer USB", &EditorScript::printer},
    {"password", 1, 1, "password CODE", &EditorScript::password},
    {"read-printer", 0, 0, "read-printer", &EditorScript::readPrinter},
    {"new-book", 1, 1, "new-book NAME", &EditorScript::newBook},
    {"select", 1, 1, "select BOOK", &EditorScript::select},
    {"select-entries", 1, -1, "select-entries NAME...", &EditorScript::selectEntries},
    {"select-groups", 1, -1, "select-groups NAME...", &EditorScript::selectGroups},
    {"copy-to", 1, 1, "copy-to BOOK", &EditorScript::copyTo},
    {"add", 0, 0, "add", &EditorScript::add},
    {"edit", 0, 0, "edit", &EditorScript::edit},
    {"group", 0, 0, "group", &EditorScript::group},
    {"undo", 0, 0, "undo", &EditorScript::undo},
    {"redo", 0, 0, "redo", &EditorScript::redo},
    {"search", 1, 1, "search TEXT", &EditorScript::search},
    {"show", 1, 1, "show entries | show groups", &EditorScript::show},
    {"import", 1, 1, "import FILE", &EditorScript::importFile},
    {"export", 1, 1, "export FILE", &EditorScript::exportBook},
    {"save", 0, 0, "save", &EditorScript::save},
    {"answer", 1, 1, "answer BUTTON", &EditorScript::answer},
    {"key", 1, -1, "key KEYS", &EditorScript::key},
    {"screenshot", 1, 1, "screenshot FILE", &EditorScript::screenshot},
    {"quit", 0, 0, "quit", &EditorScript::quitWindow},
};

QStringList EditorScript::commandNames() {
    QStringList names;
    for (const Command& command : kCommands) {
        names.append(QLatin1String(command.name));
    }
    return names;
}

bool EditorScript::runLine(const QStringList& words, QString* error) {
    const QString& name = words.first();
    const Command* command = nullptr;
    for (const Command& candidate : kCommands) {
        if (name == QLatin1String(candidate.name)) {
            command = &candidate;
        }
    }
    if (command == nullptr) {
        *error = QStringLiteral("unknown command %1").arg(name);
        return false;
    }
    const int count = static_cast<int>(words.size()) - 1;
    if (count < command->minimumWords ||
        (command->maximumWords >= 0 && count > command->maximumWords)) {
        *error = QStringLiteral("usage: %1").arg(QLatin1String(command->usage));
        return false;
    }
    const int noticesBefore = notices_;
    if (!(this->*command->run)(words.mid(1), error)) {
        return false;
    }
    // A failure the window reported to the user ends the script as it would stop a person.
    if (notices_ != noticesBefore && command->run != &EditorScript::quitWindow) {
        *error = QStringLiteral("%1 failed").arg(name);
        return false;
    }
    return true;
}

// ---- Commands

bool EditorScript::printer(const QStringList& arguments, QString* error) {
    const auto printer = PrinterConnection::fromText(arguments.join(QLatin1Char(' ')));
    if (!printer) {
        *error = QStringLiteral("usage: printer NET ADDRESS | printer USB");
        return false;
    }
    window_.setPrinter(*printer);
    return true;
}

bool EditorScript::password(const QStringList& arguments, QString* /*error*/) {
    password_ = arguments.first();
    return true;
}

bool EditorScript::readPrinter(const QStringList& /*arguments*/, QString* error) {
    if (!window_.printer()) {
        *error = QStringLiteral("no printer is chosen");
        return false;
    }
    window_.readPrinterBook();
    if (!waitForPrinter(error)) {
        return false;
    }
    output_ << "printer's book: " << window_.printerBook().contacts.size() << " entries, "
            << window_.printerBook().groups.size() << " groups" << Qt::endl;
    return true;
}

bool EditorScript::newBook(const QStringList& arguments, QString* error) {
    if (!window_.newBook(arguments.first())) {
        *error = QStringLiteral("the book cannot be made");
        return false;
    }
    return true;
}

bool EditorScript::select(const QStringList& arguments, QString* error) {
    if (!window_.selectBook(bookKey(arguments.first()))) {
        *error = QStringLiteral("no book named %1").arg(arguments.first());
        return false;
    }
    return true;
}

bool EditorScript::selectEntries(const QStringList& arguments, QString* error) {
    return selectRows(false, arguments, error);
}

bool EditorScript::selectGroups(const QStringList& arguments, QString* error) {
    return selectRows(true, arguments, error);
}

bool EditorScript::selectRows(bool groups, const QStringList& names, QString* error) {
    const QTableView* view = groups ? window_.groupTable() : window_.contactTable();
    QList<int> rows;
    for (const QString& wanted : names) {
        int found = -1;
        for (int row = 0; row < view->model()->rowCount() && found < 0; ++row) {
            if (view->model()->index(row, 0).data().toString() == wanted) {
                found = row;
            }
        }
        if (found < 0) {
            *error = QStringLiteral("no row named %1").arg(wanted);
            return false;
        }
        rows.append(found);
    }
    window_.selectRows(groups, rows);
    return true;
}

bool EditorScript::copyTo(const QStringList& arguments, QString* error) {
    const QString key = bookKey(arguments.first());
    if (key.isEmpty() || !window_.copySelectionTo(key) || !waitForPrinter(error)) {
        if (error->isEmpty()) {
            *error = QStringLiteral("nothing was copied to %1").arg(arguments.first());
        }
        return false;
    }
    return true;
}

bool EditorScript::add(const QStringList& /*arguments*/, QString* error) {
    return trigger("newEntry", error);
}

bool EditorScript::edit(const QStringList& /*arguments*/, QString* error) {
    return trigger("edit", error);
}

bool EditorScript::group(const QStringList& /*arguments*/, QString* error) {
    return trigger("newGroup", error);
}

bool EditorScript::undo(const QStringList& /*arguments*/, QString* error) {
    return trigger("undo", error);
}

bool EditorScript::redo(const QStringList& /*arguments*/, QString* error) {
    return trigger("redo", error);
}

bool EditorScript::search(const QStringList& arguments, QString* /*error*/) {
    window_.setSearchText(arguments.first());
    return true;
}

bool EditorScript::show(const QStringList& arguments, QString* error) {
    const bool groups = arguments.first() == QLatin1String("groups");
    if (!groups && arguments.first() != QLatin1String("entries")) {
        *error = QStringLiteral("usage: show entries | show groups");
        return false;
    }
    const QAbstractItemModel* model =
        (groups ? window_.groupTable() : window_.contactTable())->model();
    QStringList titles;
    for (int column = 0; column < model->columnCount(); ++column) {
        titles.append(model->headerData(column, Qt::Horizontal).toString());
    }
    output_ << titles.join(QLatin1String(" | ")) << Qt::endl;
    for (int row = 0; row < model->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < model->columnCount(); ++column) {
            cells.append(
                model->index(row, column).data().toString().replace('\n', QLatin1String(" / ")));
        }
        output_ << row + 1 << " " << cells.join(QLatin1String(" | ")) << Qt::endl;
    }
    return true;
}

bool EditorScript::importFile(const QStringList& arguments, QString* error) {
    const QString path = QFileInfo(arguments.first()).absoluteFilePath();
    if (!QFileInfo::exists(path)) {
        *error = QStringLiteral("no file %1").arg(arguments.first());
        return false;
    }
    // A cancelled preview imports nothing and is no failure; a failure is a notice.
    runOpening([&] { window_.importFile(path); });
    return true;
}

bool EditorScript::exportBook(const QStringList& arguments, QString* error) {
    if (!window_.exportCurrentBook(QFileInfo(arguments.first()).absoluteFilePath())) {
        *error = QStringLiteral("the book was not exported");
        return false;
    }
    return true;
}

bool EditorScript::save(const QStringList& /*arguments*/, QString* error) {
    if (!window_.saveCurrentBook()) {
        *error = QStringLiteral("the book was not saved");
        return false;
    }
    return true;
}

bool EditorScript::answer(const QStringList& arguments, QString* error) {
    for (const auto& button : kButtons) {
        if (arguments.first() == QLatin1String(button.title)) {
            answer_ = button.button;
        }
    }
    if (!answer_) {
        *error = QStringLiteral("unknown button %1").arg(arguments.first());
        return false;
    }
    return true;
}

bool EditorScript::key(const QStringList& arguments, QString* error) {
    const auto keys = kit::KeyboardInput::parse(arguments, error);
    if (!keys) {
        return false;
    }
    for (const kit::KeyboardInput::Key& key : *keys) {
        if (!error_.isEmpty() || quit_) {
            break;
        }
        runOpening([&] { kit::KeyboardInput::press(key, &window_); });
    }
    return true;
}

bool EditorScript::screenshot(const QStringList& arguments, QString* error) {
    QCoreApplication::processEvents();
    QWidget* shown = QApplication::activeModalWidget();
    if (shown == nullptr) {
        shown = &window_;
    }
    if (!shown->grab().save(arguments.first())) {
        *error = QStringLiteral("cannot write %1").arg(arguments.first());
        return false;
    }
    return true;
}

bool EditorScript::quitWindow(const QStringList& /*arguments*/, QString* error) {
    quit_ = window_.close();
    if (!quit_) {
        *error = QStringLiteral("the window stayed open");
        return false;
    }
    return true;
}

} // namespace vextel_addressbook
