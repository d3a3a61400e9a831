#pragma once

#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <functional>
#include <optional>

class QWidget;

namespace vextel_addressbook {

class MainWindow;

// Drives the editor's window from a script of user actions, one per line, so that tests and
// demonstrations run it without a person: words separated by blanks, a word with blanks in
// double quotes, "#" starts a comment. Notices the window shows are written to the output as
// "notice: TEXT", questions as "question: TEXT -> BUTTON". The commands are the table kCommands
// (the README lists them); a line that opens a window (a key that opens the entry dialog) hands
// the following lines to that window until it closes.
class EditorScript {
public:
    EditorScript(MainWindow& window, QTextStream& output);

    // False with "line N: reason" when a line cannot be done; the lines after it are not run.
    // openFirst are files handed over on the command line, opened as the desktop hands them
    // over before the first line: a window that opens for them (an import's preview) takes the
    // first lines.
    bool run(const QString& script, QString* error, const QStringList& openFirst = {});
    // The words of a line; null when a quote is not closed.
    static std::optional<QStringList> split(const QString& line);
    // True after quit closed the window.
    bool quit() const { return quit_; }

    // The names of the script's commands, in the order of the command table.
    static QStringList commandNames();

private:
    // One command of the script language: dispatch, the usage message and the README's list
    // all follow this table.
    struct Command {
        const char* name;
        int minimumWords; // after the name
        int maximumWords; // -1: any number
        const char* usage;
        bool (EditorScript::*run)(const QStringList& arguments, QString* error);
    };
    static const Command kCommands[];

    // Runs the next line; false when the script is to stop (error_ says why).
    bool runNextLine();
    bool runLine(const QStringList& words, QString* error);
    // Runs the following lines while the modal window a key opened is shown.
    void runLinesInside(QWidget* window);
    // Does action; a modal window it opens takes the following lines until it closes.
    void runOpening(const std::function<void()>& action);
    // Triggers the window's menu action of that object name, as a person picks the menu item.
    bool trigger(const char* actionName, QString* error);
    bool waitForPrinter(QString* error);
    QString bookKey(const QString& name) const;

    bool printer(const QStringList& arguments, QString* error);
    bool password(const QStringList& arguments, QString* error);
    bool readPrinter(const QStringList& arguments, QString* error);
    bool newBook(const QStringList& arguments, QString* error);
    bool select(const QStringList& arguments, QString* error);
    bool selectEntries(const QStringList& arguments, QString* error);
    bool selectGroups(const QStringList& arguments, QString* error);
    bool selectRows(bool groups, const QStringList& names, QString* error);
    bool copyTo(const QStringList& arguments, QString* error);
    bool add(const QStringList& arguments, QString* error);
    bool edit(const QStringList& arguments, QString* error);
    bool group(const QStringList& arguments, QString* error);
    bool undo(const QStringList& arguments, QString* error);
    bool redo(const QStringList& arguments, QString* error);
    bool search(const QStringList& arguments, QString* error);
    bool show(const QStringList& arguments, QString* error);
    bool importFile(const QStringList& arguments, QString* error);
    bool exportBook(const QStringList& arguments, QString* error);
    bool save(const QStringList& arguments, QString* error);
    bool answer(const QStringList& arguments, QString* error);
    bool key(const QStringList& arguments, QString* error);
    bool screenshot(const QStringList& arguments, QString* error);
    bool quitWindow(const QStringList& arguments, QString* error);

    MainWindow& window_;
    QTextStream& output_;
    std::optional<QString> password_;
    std::optional<QMessageBox::StandardButton> answer_;
    int notices_ = 0;
    bool quit_ = false;
    QStringList lines_;
    qsizetype next_ = 0;
    QString error_;
};

} // namespace vextel_addressbook
