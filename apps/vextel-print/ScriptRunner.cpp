#include "ScriptRunner.h"

#include "PrintDialog.h"
#include "kit/Application.h"
#include "kit/ScriptWords.h"
#include "kit/Window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPixmap>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTimeEdit>
#include <QTimer>
#include <algorithm>

namespace vextel_print {

namespace {

QString quoted(const QString& text) {
    return QLatin1Char('"') + text + QLatin1Char('"');
}

// Alert texts may hold line breaks; each alert must stay one line of the output.
QString oneLine(QString text) {
    return text.replace(QLatin1Char('\r'), QLatin1String("\\r"))
        .replace(QLatin1Char('\n'), QLatin1String("\\n"));
}

// A word as a script writes it: bare when it can be, else in double quotes with a backslash
// before a quote or backslash inside, so kit::splitScriptWords reads it back as the same word.
QString scriptWord(const QString& word) {
    const bool bare = !word.isEmpty() && !word.startsWith(QLatin1Char('#')) &&
                      std::none_of(word.begin(), word.end(), [](QChar c) {
                          return c.isSpace() || c == QLatin1Char('"') || c == QLatin1Char('\\');
                      });
    if (bare) {
        return word;
    }
    QString escaped = word;
    escaped.replace(QLatin1Char('\\'), QLatin1String("\\\\"))
        .replace(QLatin1Char('"'), QLatin1String("\\\""));
    return quoted(oneLine(escaped));
}

// Longest wait a script may ask for: a longer one is a slip rather than a wish.
constexpr double kMaximumWaitSeconds = 60.0;

QString plainTitle(QString text) {
    return text.remove(QLatin1Char('&'));
}

void sendKey(QWidget* widget, int key, const QString& text = QString()) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(widget, &release);
}

// The line edit a person types into for this widget, if any.
QLineEdit* editorOf(QWidget* widget) {
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        return edit;
    }
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        return combo->lineEdit();
    }
    return nullptr;
}

} // namespace

ScriptRunner::ScriptRunner(QStringList lines, QTextStream& output)
    : lines_(std::move(lines)), output_(output) {
    modalDriver_.setTimeLimit(0);
    modalDriver_.setEveryRun([this](kit::Window* window) { runLinesInside(window); });
    alertDriver_.setResponder([this](const kit::AlertRecord& alert) { return answerAlert(alert); });
    openPanelDriver_.setResponder(
        [this](const kit::OpenPanelRequest& request) { return answerOpenPanel(request); });
    launchWatcher_.startsLaunches = true;
    launchWatcher_.onLaunch = [this](const kit::Workspace::Launch& launch) {
        reportLaunch(launch);
    };
}

void ScriptRunner::reportLaunch(const kit::Workspace::Launch& launch) {
    QStringList words{scriptWord(launch.program)};
    for (const QString& argument : launch.arguments) {
        words.append(scriptWord(argument));
    }
    output_ << "launched: " << words.join(QLatin1Char(' ')) << Qt::endl;
}

void ScriptRunner::confine(Confinement confinement) {
    confinement.folder = QDir::cleanPath(QDir(confinement.folder).absolutePath());
    confinement_ = std::move(confinement);
}

QString ScriptRunner::fileNamed(const Line& line, const QString& name) {
    if (!confinement_) {
        return name;
    }
    const QString& folder = confinement_->folder;
    const QString path = QDir::cleanPath(folder + QLatin1Char('/') + name);
    if (name.isEmpty() || QDir::isAbsolutePath(name) ||
        !path.startsWith(folder + QLatin1Char('/'))) {
        fail(line, QStringLiteral("the file %1 lies outside the folder %2 this script may use")
                       .arg(quoted(name), quoted(folder)));
        return {};
    }
    return path;
}

bool ScriptRunner::load(const QString& path, QStringList* lines, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        *error = QStringLiteral("cannot read the script %1: %2").arg(path, file.errorString());
        return false;
    }
    *lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    return true;
}

bool ScriptRunner::run(PrintDialog& dialog) {
    dialog_ = &dialog;
    kit::ModalDriverScope modalScope(modalDriver_);
    kit::AlertDriverScope alertScope(alertDriver_);
    kit::OpenPanelDriverScope openPanelScope(openPanelDriver_);
    Line line;
    while (error_.isEmpty() && !finished() && nextLine(&line)) {
        runLine(line);
    }
    if (error_.isEmpty() && !finished()) {
        error_ =
            QStringLiteral("line %1: the script ended before print or cancel").arg(lines_.size());
    }
    if (error_.isEmpty() && nextLine(&line)) {
        // A script that expected more (a dialog that never opened) must not pass unnoticed.
        fail(line, QStringLiteral("the print dialog has closed; nothing is left to act on"));
    }
    if (!error_.isEmpty() && !finished()) {
        dialog.cancel();
    }
    return error_.isEmpty();
}

bool ScriptRunner::finished() const {
    return dialog_->outcome() != PrintDialog::Outcome::Open;
}

bool ScriptRunner::nextLine(Line* line) {
    while (next_ < lines_.size()) {
        const QString text = lines_.at(next_).trimmed();
        line->number = ++next_;
        if (text.isEmpty() || text.startsWith(QLatin1Char('#'))) {
            continue;
        }
        const std::optional<QStringList> words = kit::splitScriptWords(text);
        line->words = words.value_or(QStringList());
        if (!words) {
            fail(*line, QStringLiteral("a double quote is not closed"));
        }
        return true;
    }
    return false;
}

void ScriptRunner::runLinesInside(kit::Window* window) {
    Line line;
    while (error_.isEmpty() && window->isVisible()) {
        if (!nextLine(&line)) {
            error_ = QStringLiteral("line %1: the script ended while the window %2 is open")
                         .arg(lines_.size())
                         .arg(quoted(window->title()));
            break;
        }
        runLine(line);
    }
    if (!error_.isEmpty() && window->isVisible()) {
        kit::Application::abortModal();
    }
}

QString ScriptRunner::answerAlert(const kit::AlertRecord& alert) {
    Line line;
    QString answer;
    if (!error_.isEmpty()) {
        return answer;
    }
    if (!nextLine(&line)) {
        error_ = QStringLiteral("line %1: the script ended while the alert %2 is open")
                     .arg(lines_.size())
                     .arg(quoted(alert.messageText));
    } else if (line.words.value(0) != QLatin1String("answer") || line.words.size() != 2) {
        fail(line,
             QStringLiteral("the alert %1 is open: expected %2")
                 .arg(quoted(alert.messageText), QLatin1String(commandNamed("answer")->usage)));
    } else if (!alert.buttons.contains(line.words.at(1))) {
        fail(line, QStringLiteral("the alert %1 has no button %2")
                       .arg(quoted(alert.messageText), quoted(line.words.at(1))));
    } else {
        answer = line.words.at(1);
    }
    output_ << "alert: " << quoted(oneLine(alert.messageText)) << ' '
            << quoted(oneLine(alert.informativeText)) << " ["
            << alert.buttons.join(QLatin1String(", ")) << "] -> "
            << (answer.isEmpty() ? QStringLiteral("(none)") : answer) << Qt::endl;
    return answer;
}

// The next line answers the open panel: the files to choose (relative to the working folder), or
// cancel.
std::optional<QStringList> ScriptRunner::answerOpenPanel(const kit::OpenPanelRequest& request) {
    Line line;
    std::optional<QStringList> chosen;
    if (!error_.isEmpty()) {
        return chosen;
    }
    if (!nextLine(&line)) {
        error_ = QStringLiteral("line %1: the script ended while an open panel is open")
                     .arg(lines_.size());
    } else if (line.words.value(0) != QLatin1String("openpanel") || line.words.size() < 2) {
        fail(line, QStringLiteral("an open panel is open: expected %1")
                       .arg(QLatin1String(commandNamed("openpanel")->usage)));
    } else if (line.words.size() > 2 && !request.allowsMultipleSelection) {
        fail(line, QStringLiteral("the open panel takes one file"));
    } else if (line.words.at(1) != QLatin1String("cancel") || line.words.size() > 2) {
        chosen = QStringList();
        for (const QString& word : line.words.mid(1)) {
            chosen->append(fileNamed(line, word));
        }
        if (!error_.isEmpty()) {
            chosen.reset();
        }
    }
    output_ << "open panel: " << quoted(request.directory) << " -> "
            << (chosen ? chosen->join(QLatin1Char(' ')) : QStringLiteral("cancel")) << Qt::endl;
    return chosen;
}

bool ScriptRunner::fail(const Line& line, const QString& message) {
    if (error_.isEmpty()) {
        error_ = QStringLiteral("line %1: %2").arg(line.number).arg(message);
    }
    return false;
}

// ---- The command table

const ScriptRunner::Command ScriptRunner::kCommands[] = {
    {"panel", 1, 1, "panel TITLE", &ScriptRunner::panel, true},
    {"destination", 1, 2, "destination printer | pdf FILE | preview", &ScriptRunner::destination,
     true},
    {"copies", 1, 1, "copies N", &ScriptRunner::copies, false},
    {"choose", 2, 2, "choose POPUP ITEM", &ScriptRunner::choose, false},
    {"type", 2, 2, "type FIELD TEXT", &ScriptRunner::type, false},
    {"set", 2, 2, "set FIELD VALUE", &ScriptRunner::set, false},
    {"press", 1, 1, "press BUTTON", &ScriptRunner::press, false},
    {"select", 2, kAnyCount, "select TABLE ROW... or select TABLE none", &ScriptRunner::select,
     false},
    {"answer", 1, 1, "answer BUTTON", &ScriptRunner::answer, false},
    {"print", 0, 0, "print", &ScriptRunner::print, true},
    {"cancel", 0, 0, "cancel", &ScriptRunner::cancel, true},
    {"close", 0, 0, "close", &ScriptRunner::close, true},
    {"screenshot", 1, 1, "screenshot FILE", &ScriptRunner::screenshot, false},
    {"tab", 2, 2, "tab TABVIEW ITEM", &ScriptRunner::tab, false},
    {"doubleclick", 2, 2, "doubleclick TABLE ROW|header|below", &ScriptRunner::doubleClick, false},
    {"show", 1, 1, "show TABLE", &ScriptRunner::show, false},
    {"openpanel", 1, kAnyCount, "openpanel FILE... or openpanel cancel", &ScriptRunner::openPanel,
     false},
    {"wait", 1, 1, "wait SECONDS", &ScriptRunner::wait, false},
};

QStringList ScriptRunner::commandNames() {
    QStringList names;
    for (const Command& command : kCommands) {
        names.append(QLatin1String(command.name));
    }
    return names;
}

const ScriptRunner::Command* ScriptRunner::commandNamed(const QString& name) const {
    for (const Command& command : kCommands) {
        if (name == QLatin1String(command.name)) {
            return &command;
        }
    }
    return nullptr;
}

bool ScriptRunner::runLine(const Line& line) {
    const Command* command = commandNamed(line.words.value(0));
    if (command == nullptr) {
        return fail(line, QStringLiteral("unknown command %1").arg(quoted(line.words.join(' '))));
    }
    if (command->printDialogOnly && kit::Application::modalWindow() != nullptr) {
        return fail(line,
                    QStringLiteral("%1 belongs to the print dialog, but the window %2 is open")
                        .arg(QLatin1String(command->name),
                             quoted(kit::Application::modalWindow()->title())));
    }
    const auto arguments = static_cast<int>(line.words.size()) - 1;
    if (arguments < command->minArguments ||
        (command->maxArguments != kAnyCount && arguments > command->maxArguments)) {
        return fail(line, QStringLiteral("expected %1").arg(QLatin1String(command->usage)));
    }
    return (this->*command->run)(line);
}

// ---- Print dialog commands

bool ScriptRunner::print(const Line& /*line*/) {
    dialog_->print();
    return true;
}

bool ScriptRunner::cancel(const Line& /*line*/) {
    dialog_->cancel();
    return true;
}

bool ScriptRunner::close(const Line& /*line*/) {
    // As the window manager's close button does: a close event, which the dialog may answer.
    dialog_->close();
    return true;
}

bool ScriptRunner::panel(const Line& line) {
    const QString title = line.words.at(1);
    return dialog_->showPanelWithTitle(title) ||
           fail(line, QStringLiteral("no panel %1 (panels: %2)")
                          .arg(quoted(title), dialog_->panelTitles().join(", ")));
}

bool ScriptRunner::destination(const Line& line) {
    struct Choice {
        const char* word;
        int arguments;
        const char* title;
    };
    static const Choice kChoices[] = {
        {"printer", 1, "Printer"}, {"pdf", 2, "PDF File"}, {"preview", 1, "Preview"}};
    const auto arguments = static_cast<int>(line.words.size()) - 1;
    for (const Choice& choice : kChoices) {
        if (line.words.at(1) == QLatin1String(choice.word) && arguments == choice.arguments) {
            const QString file =
                choice.arguments > 1 ? fileNamed(line, line.words.at(2)) : QString();
            return error_.isEmpty() &&
                   dialog_->chooseDestination(QLatin1String(choice.title), file);
        }
    }
    return fail(
        line, QStringLiteral("expected %1").arg(QLatin1String(commandNamed("destination")->usage)));
}

bool ScriptRunner::copies(const Line& line) {
    bool ok = false;
    const int copies = line.words.at(1).toInt(&ok);
    if (!ok || copies < 1) {
        return fail(line, QStringLiteral("copies takes a number from 1"));
    }
    dialog_->setCopies(copies);
    // The dialog clamps what it cannot take; a silently smaller job is no pass.
    return dialog_->copies() == copies ||
           fail(line, QStringLiteral("the dialog takes at most %1 copies").arg(dialog_->copies()));
}

bool ScriptRunner::answer(const Line& line) {
    return fail(line, QStringLiteral("no alert is open"));
}

bool ScriptRunner::openPanel(const Line& line) {
    return fail(line, QStringLiteral("no open panel is open"));
}

// ---- Commands for the window the script acts in

QWidget* ScriptRunner::scope() const {
    if (kit::Window* window = kit::Application::modalWindow()) {
        return window->widget();
    }
    return dialog_;
}

QWidget* ScriptRunner::findWidget(const QString& name) const {
    QWidget* root = scope();
    if (auto* named = root->findChild<QWidget*>(name)) {
        return named->isVisibleTo(root) ? named : nullptr;
    }
    for (auto* button : root->findChildren<QAbstractButton*>()) {
        if (plainTitle(button->text()) == name && button->isVisibleTo(root)) {
            return button;
        }
    }
    return nullptr;
}

bool ScriptRunner::press(const Line& line) {
    auto* button = qobject_cast<QAbstractButton*>(findWidget(line.words.at(1)));
    if (button == nullptr) {
        return fail(line, QStringLiteral("no button %1 in the window %2")
                              .arg(quoted(line.words.at(1)), quoted(scope()->windowTitle())));
    }
    if (!button->isEnabled()) {
        return fail(line,
                    QStringLiteral("the button %1 is disabled").arg(quoted(line.words.at(1))));
    }
    button->click();
    return true;
}

bool ScriptRunner::choose(const Line& line) {
    auto* popup = qobject_cast<QComboBox*>(findWidget(line.words.at(1)));
    if (popup == nullptr || !popup->isEnabled()) {
        return fail(line, QStringLiteral("no enabled popup %1").arg(quoted(line.words.at(1))));
    }
    const int index = popup->findText(line.words.at(2));
    if (index < 0) {
        return fail(line, QStringLiteral("the popup %1 has no item %2")
                              .arg(quoted(line.words.at(1)), quoted(line.words.at(2))));
    }
    // What a person's pick does: the selection changes, then the popup reports the activation.
    popup->setCurrentIndex(index);
    emit popup->activated(index);
    return true;
}

bool ScriptRunner::type(const Line& line) {
    QLineEdit* editor = editorOf(findWidget(line.words.at(1)));
    if (editor == nullptr || !editor->isEnabled() || editor->isReadOnly()) {
        return fail(line, QStringLiteral("no editable field %1").arg(quoted(line.words.at(1))));
    }
    // Replace the whole text key by key, so the field's formatter sees every edit.
    editor->setFocus();
    editor->selectAll();
    sendKey(editor, Qt::Key_Backspace);
    for (const QChar character : line.words.at(2)) {
        sendKey(editor, 0, QString(character));
    }
    return true;
}

bool ScriptRunner::set(const Line& line) {
    QWidget* widget = findWidget(line.words.at(1));
    const QString value = line.words.at(2);
    if (auto* time = qobject_cast<QTimeEdit*>(widget)) {
        const QTime parsed = QTime::fromString(value, QStringLiteral("HH:mm"));
        if (!parsed.isValid()) {
            return fail(line, QStringLiteral("expected a time as HH:mm"));
        }
        time->setTime(parsed);
        return true;
    }
    if (auto* spin = qobject_cast<QSpinBox*>(widget)) {
        bool isNumber = false;
        const int number = value.toInt(&isNumber);
        if (!isNumber || number < spin->minimum() || number > spin->maximum()) {
            return fail(line, QStringLiteral("%1 takes a number from %2 to %3")
                                  .arg(quoted(line.words.at(1)))
                                  .arg(spin->minimum())
                                  .arg(spin->maximum()));
        }
        spin->setValue(number);
        return true;
    }
    if (QLineEdit* editor = editorOf(widget)) {
        editor->setText(value);
        return true;
    }
    return fail(line, QStringLiteral("no field %1").arg(quoted(line.words.at(1))));
}

bool ScriptRunner::select(const Line& line) {
    auto* table = qobject_cast<QTableView*>(findWidget(line.words.at(1)));
    if (table == nullptr || table->selectionModel() == nullptr) {
        return fail(line, QStringLiteral("no table %1").arg(quoted(line.words.at(1))));
    }
    // Only what a person could select: nothing in a disabled table, one row where one is allowed.
    if (!table->isEnabled()) {
        return fail(line, QStringLiteral("the table %1 is disabled").arg(quoted(line.words.at(1))));
    }
    const bool several = line.words.size() > 3;
    const auto mode = table->selectionMode();
    if ((several && (mode == QAbstractItemView::SingleSelection)) ||
        (line.words.at(2) != QLatin1String("none") && mode == QAbstractItemView::NoSelection)) {
        return fail(line, QStringLiteral("the table %1 does not take that selection")
                              .arg(quoted(line.words.at(1))));
    }
    QItemSelection selection;
    const int rows = table->model()->rowCount();
    if (line.words.at(2) != QLatin1String("none")) {
        for (const QString& word : line.words.mid(2)) {
            bool ok = false;
            const int row = word.toInt(&ok) - 1;
            if (!ok || row < 0 || row >= rows) {
                return fail(line, QStringLiteral("the table has no row %1").arg(word));
            }
            const QModelIndex index = table->model()->index(row, 0);
            selection.select(index, index);
        }
    }
    table->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect |
                                                   QItemSelectionModel::Rows);
    return true;
}

bool ScriptRunner::screenshot(const Line& line) {
    const QString file = fileNamed(line, line.words.at(1));
    if (file.isNull()) {
        return false;
    }
    QWidget* window = scope();
    if (!window->grab().save(file, "PNG")) {
        return fail(line, QStringLiteral("cannot write %1").arg(quoted(line.words.at(1))));
    }
    return true;
}

bool ScriptRunner::tab(const Line& line) {
    if (line.words.size() != 3) {
        return fail(line, QStringLiteral("expected tab TABVIEW ITEM"));
    }
    auto* tabs = qobject_cast<QTabWidget*>(findWidget(line.words.at(1)));
    if (tabs == nullptr || !tabs->isEnabled()) {
        return fail(line, QStringLiteral("no enabled tab view %1").arg(quoted(line.words.at(1))));
    }
    bool isNumber = false;
    int index = line.words.at(2).toInt(&isNumber) - 1;
    for (int i = 0; !isNumber && i < tabs->count(); ++i) {
        if (plainTitle(tabs->tabText(i)) == line.words.at(2)) {
            index = i;
        }
    }
    if (index < 0 || index >= tabs->count() || !tabs->isTabEnabled(index)) {
        return fail(line, QStringLiteral("the tab view %1 has no tab %2")
                              .arg(quoted(line.words.at(1)), quoted(line.words.at(2))));
    }
    // What a person's click does: the tab bar changes the current tab.
    tabs->tabBar()->setCurrentIndex(index);
    return true;
}

bool ScriptRunner::doubleClick(const Line& line) {
    if (line.words.size() != 3) {
        return fail(line, QStringLiteral("expected doubleclick TABLE ROW|header|below"));
    }
    auto* table = qobject_cast<QTableView*>(findWidget(line.words.at(1)));
    if (table == nullptr || table->model() == nullptr || !table->isEnabled()) {
        return fail(line, QStringLiteral("no enabled table %1").arg(quoted(line.words.at(1))));
    }
    const QString where = line.words.at(2);
    const int rows = table->model()->rowCount();
    QWidget* target = table->viewport();
    QPoint point;
    if (where == QLatin1String("header")) {
        target = table->horizontalHeader()->viewport();
        point = QPoint(4, table->horizontalHeader()->height() / 2);
    } else if (where == QLatin1String("below")) {
        const int bottom =
            rows == 0 ? 0 : table->visualRect(table->model()->index(rows - 1, 0)).bottom() + 1;
        if (bottom + 2 >= table->viewport()->height()) {
            return fail(line, QStringLiteral("the table %1 shows no space below its last row")
                                  .arg(quoted(line.words.at(1))));
        }
        point = QPoint(4, bottom + 2);
    } else {
        bool ok = false;
        const int row = where.toInt(&ok) - 1;
        if (!ok || row < 0 || row >= rows) {
            return fail(line, QStringLiteral("the table has no row %1").arg(where));
        }
        table->scrollTo(table->model()->index(row, 0));
        point = table->visualRect(table->model()->index(row, 0)).center();
    }
    // A person's double click: press, release, then the second press that reports the double
    // click, and its release.
    const QPointF local(point);
    const QPointF global(target->mapToGlobal(point));
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                                    QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
        const Qt::MouseButtons buttons =
            type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, local, global, Qt::LeftButton, buttons, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &event);
    }
    return true;
}

bool ScriptRunner::show(const Line& line) {
    if (line.words.size() != 2) {
        return fail(line, QStringLiteral("expected show TABLE"));
    }
    auto* table = qobject_cast<QTableView*>(findWidget(line.words.at(1)));
    if (table == nullptr || table->model() == nullptr) {
        return fail(line, QStringLiteral("no table %1").arg(quoted(line.words.at(1))));
    }
    const QAbstractItemModel* model = table->model();
    QStringList headers;
    for (int column = 0; column < model->columnCount(); ++column) {
        headers << model->headerData(column, Qt::Horizontal).toString();
    }
    output_ << "table " << line.words.at(1) << " (" << headers.join(QLatin1String(" | "))
            << "): " << model->rowCount() << " rows" << Qt::endl;
    for (int row = 0; row < model->rowCount(); ++row) {
        QStringList cells;
        for (int column = 0; column < model->columnCount(); ++column) {
            cells << model->index(row, column).data().toString();
        }
        output_ << "  " << row + 1 << ": " << cells.join(QLatin1String(" | ")) << Qt::endl;
    }
    return true;
}

bool ScriptRunner::wait(const Line& line) {
    bool isNumber = false;
    const double seconds = line.words.at(1).toDouble(&isNumber);
    if (!isNumber || !(seconds >= 0 && seconds <= kMaximumWaitSeconds)) {
        return fail(line,
                    QStringLiteral("wait takes seconds from 0 to %1").arg(kMaximumWaitSeconds));
    }
    const double waited =
        confinement_ ? std::min(seconds, confinement_->longestWaitSeconds) : seconds;
    QEventLoop loop;
    QTimer::singleShot(int(waited * 1000.0 + 0.5), Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
    return true;
}

} // namespace vextel_print
