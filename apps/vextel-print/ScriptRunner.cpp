#include "ScriptRunner.h"

#include "PrintDialog.h"
#include "kit/Application.h"
#include "kit/Window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QEventLoop>
#include <QFile>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPixmap>
#include <QSpinBox>
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
// before a quote or backslash inside, so splitWords reads it back as the same word.
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

// Words separated by blanks; double quotes keep blanks inside a word and may enclose an empty
// one (`type field ""` clears the field), and within them a backslash takes the next character
// literally. False for a quote left open.
bool splitWords(const QString& text, QStringList* words) {
    QString word;
    bool inWord = false;
    bool inQuotes = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (inQuotes && c == QLatin1Char('\\') && i + 1 < text.size()) {
            word += text.at(++i);
        } else if (c == QLatin1Char('"')) {
            inQuotes = !inQuotes;
            inWord = true;
        } else if (!inQuotes && c.isSpace()) {
            if (inWord) {
                words->append(word);
            }
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord) {
        words->append(word);
    }
    return !inQuotes;
}

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
        line->words.clear();
        if (!splitWords(text, &line->words)) {
            fail(*line, QStringLiteral("a double quote is not closed"));
            line->words.clear();
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
        fail(line, QStringLiteral("the alert %1 is open: expected answer BUTTON")
                       .arg(quoted(alert.messageText)));
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

bool ScriptRunner::fail(const Line& line, const QString& message) {
    if (error_.isEmpty()) {
        error_ = QStringLiteral("line %1: %2").arg(line.number).arg(message);
    }
    return false;
}

bool ScriptRunner::runLine(const Line& line) {
    const QString command = line.words.value(0);
    if (command == QLatin1String("press")) {
        return press(line);
    }
    if (command == QLatin1String("choose")) {
        return choose(line);
    }
    if (command == QLatin1String("type")) {
        return type(line);
    }
    if (command == QLatin1String("set")) {
        return set(line);
    }
    if (command == QLatin1String("select")) {
        return select(line);
    }
    if (command == QLatin1String("answer")) {
        return fail(line, QStringLiteral("no alert is open"));
    }
    if (command == QLatin1String("screenshot")) {
        return screenshot(line);
    }
    if (command == QLatin1String("wait")) {
        return wait(line);
    }
    return printDialogCommand(line);
}

bool ScriptRunner::printDialogCommand(const Line& line) {
    const QString command = line.words.value(0);
    const QString argument = line.words.value(1);
    if (kit::Application::modalWindow() != nullptr &&
        (command == QLatin1String("print") || command == QLatin1String("cancel") ||
         command == QLatin1String("panel") || command == QLatin1String("destination"))) {
        return fail(line,
                    QStringLiteral("%1 belongs to the print dialog, but the window %2 is open")
                        .arg(command, quoted(kit::Application::modalWindow()->title())));
    }
    if (command == QLatin1String("print") && line.words.size() == 1) {
        dialog_->print();
        return true;
    }
    if (command == QLatin1String("cancel") && line.words.size() == 1) {
        dialog_->cancel();
        return true;
    }
    if (command == QLatin1String("panel") && line.words.size() == 2) {
        return dialog_->showPanelWithTitle(argument) ||
               fail(line, QStringLiteral("no panel %1 (panels: %2)")
                              .arg(quoted(argument), dialog_->panelTitles().join(", ")));
    }
    if (command == QLatin1String("destination")) {
        const QString path = line.words.value(2);
        const bool known = (argument == QLatin1String("printer") && line.words.size() == 2) ||
                           (argument == QLatin1String("pdf") && line.words.size() == 3) ||
                           (argument == QLatin1String("preview") && line.words.size() == 2);
        if (!known) {
            return fail(line, QStringLiteral("expected destination printer | pdf FILE | preview"));
        }
        const QString title = argument == QLatin1String("printer") ? QStringLiteral("Printer")
                              : argument == QLatin1String("pdf")   ? QStringLiteral("PDF File")
                                                                   : QStringLiteral("Preview");
        return dialog_->chooseDestination(title, path);
    }
    if (command == QLatin1String("copies") && line.words.size() == 2) {
        bool ok = false;
        const int copies = argument.toInt(&ok);
        if (!ok || copies < 1) {
            return fail(line, QStringLiteral("copies takes a number from 1"));
        }
        dialog_->setCopies(copies);
        // The dialog clamps what it cannot take; a silently smaller job is no pass.
        return dialog_->copies() == copies ||
               fail(line,
                    QStringLiteral("the dialog takes at most %1 copies").arg(dialog_->copies()));
    }
    return fail(line, QStringLiteral("unknown command %1").arg(quoted(line.words.join(' '))));
}

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
    if (line.words.size() != 2) {
        return fail(line, QStringLiteral("expected press BUTTON"));
    }
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
    if (line.words.size() != 3) {
        return fail(line, QStringLiteral("expected choose POPUP ITEM"));
    }
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
    if (line.words.size() != 3) {
        return fail(line, QStringLiteral("expected type FIELD TEXT"));
    }
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
    if (line.words.size() != 3) {
        return fail(line, QStringLiteral("expected set FIELD VALUE"));
    }
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
    if (line.words.size() < 3) {
        return fail(line, QStringLiteral("expected select TABLE ROW... or select TABLE none"));
    }
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
    if (line.words.size() != 2) {
        return fail(line, QStringLiteral("expected screenshot FILE"));
    }
    QWidget* window = scope();
    if (!window->grab().save(line.words.at(1), "PNG")) {
        return fail(line, QStringLiteral("cannot write %1").arg(quoted(line.words.at(1))));
    }
    return true;
}

bool ScriptRunner::wait(const Line& line) {
    bool isNumber = false;
    const double seconds = line.words.value(1).toDouble(&isNumber);
    if (line.words.size() != 2 || !isNumber || !(seconds >= 0 && seconds <= kMaximumWaitSeconds)) {
        return fail(line,
                    QStringLiteral("expected wait SECONDS (0 to %1)").arg(kMaximumWaitSeconds));
    }
    QEventLoop loop;
    QTimer::singleShot(int(seconds * 1000.0 + 0.5), Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
    return true;
}

} // namespace vextel_print
