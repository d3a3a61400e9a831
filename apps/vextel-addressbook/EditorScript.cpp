#include "EditorScript.h"

#include "BookStore.h"
#include "MainWindow.h"
#include "kit/ScriptWords.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QTableView>

namespace vextel_addressbook {

namespace {

constexpr int kPrinterWaitMs = 60000;

struct Command {
    const char* name;
    int minimumWords; // after the name
    int maximumWords; // -1: any number
    const char* usage;
};

const Command kCommands[] = {
    {"printer", 1, 2, "printer NET ADDRESS | printer USB"},
    {"password", 1, 1, "password CODE"},
    {"read-printer", 0, 0, "read-printer"},
    {"new-book", 1, 1, "new-book NAME"},
    {"select", 1, 1, "select BOOK"},
    {"select-entries", 1, -1, "select-entries NAME..."},
    {"select-groups", 1, -1, "select-groups NAME..."},
    {"copy-to", 1, 1, "copy-to BOOK"},
    {"save", 0, 0, "save"},
    {"answer", 1, 1, "answer BUTTON"},
    {"screenshot", 1, 1, "screenshot FILE"},
    {"quit", 0, 0, "quit"},
};

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

bool EditorScript::run(const QString& script, QString* error) {
    const QStringList lines = script.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const auto words = split(lines.at(i));
        QString reason;
        if (!words) {
            reason = QStringLiteral("a quote is not closed");
        } else if (words->isEmpty()) {
            continue;
        } else if (quit_) {
            reason = QStringLiteral("the window is closed");
        } else if (runLine(*words, &reason)) {
            continue;
        }
        *error = QStringLiteral("line %1: %2").arg(i + 1).arg(reason);
        return false;
    }
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
    const QStringList arguments = words.mid(1);
    const int noticesBefore = notices_;
    if (name == QLatin1String("printer")) {
        const auto printer = PrinterConnection::fromText(arguments.join(QLatin1Char(' ')));
        if (!printer) {
            *error = QStringLiteral("usage: %1").arg(QLatin1String(command->usage));
            return false;
        }
        window_.setPrinter(*printer);
    } else if (name == QLatin1String("password")) {
        password_ = arguments.first();
    } else if (name == QLatin1String("read-printer")) {
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
    } else if (name == QLatin1String("new-book")) {
        if (!window_.newBook(arguments.first())) {
            *error = QStringLiteral("the book cannot be made");
            return false;
        }
    } else if (name == QLatin1String("select")) {
        if (!window_.selectBook(bookKey(arguments.first()))) {
            *error = QStringLiteral("no book named %1").arg(arguments.first());
            return false;
        }
    } else if (name == QLatin1String("select-entries") || name == QLatin1String("select-groups")) {
        const bool groups = name == QLatin1String("select-groups");
        const QTableView* view = groups ? window_.groupTable() : window_.contactTable();
        QList<int> rows;
        for (const QString& wanted : arguments) {
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
    } else if (name == QLatin1String("copy-to")) {
        const QString key = bookKey(arguments.first());
        if (key.isEmpty() || !window_.copySelectionTo(key) || !waitForPrinter(error)) {
            if (error->isEmpty()) {
                *error = QStringLiteral("nothing was copied to %1").arg(arguments.first());
            }
            return false;
        }
    } else if (name == QLatin1String("save")) {
        if (!window_.saveCurrentBook()) {
            *error = QStringLiteral("the book was not saved");
            return false;
        }
    } else if (name == QLatin1String("answer")) {
        for (const auto& button : kButtons) {
            if (arguments.first() == QLatin1String(button.title)) {
                answer_ = button.button;
            }
        }
        if (!answer_) {
            *error = QStringLiteral("unknown button %1").arg(arguments.first());
            return false;
        }
    } else if (name == QLatin1String("screenshot")) {
        QCoreApplication::processEvents();
        if (!window_.grab().save(arguments.first())) {
            *error = QStringLiteral("cannot write %1").arg(arguments.first());
            return false;
        }
    } else if (name == QLatin1String("quit")) {
        quit_ = window_.close();
        if (!quit_) {
            *error = QStringLiteral("the window stayed open");
            return false;
        }
    }
    // A failure the window reported to the user ends the script as it would stop a person.
    if (notices_ != noticesBefore && name != QLatin1String("quit")) {
        *error = QStringLiteral("%1 failed").arg(name);
        return false;
    }
    return true;
}

} // namespace vextel_addressbook
