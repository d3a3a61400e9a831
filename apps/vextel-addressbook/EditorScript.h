#pragma once

#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <optional>

namespace vextel_addressbook {

class MainWindow;

// Drives the editor's window from a script of user actions, one per line, so that tests and
// demonstrations run it without a person: words separated by blanks, a word with blanks in
// double quotes, "#" starts a comment. Notices the window shows are written to the output as
// "notice: TEXT", questions as "question: TEXT -> BUTTON".
//
//   printer NET ADDRESS | printer USB   the printer to talk to
//   password CODE                       the code to give when the printer asks for it
//   read-printer                        reads the printer's book and waits for it
//   new-book NAME                       makes a book and chooses it
//   select BOOK                         chooses a book by name, or "printer"
//   select-entries NAME... / select-groups NAME...   selects rows of the chosen book by name
//   copy-to BOOK                        copies the selection to a book by name, or "printer"
//   save                                saves the chosen book
//   answer BUTTON                       answers the next question (Save, Discard, Cancel, Yes)
//   screenshot FILE                     writes a PNG of the window
//   quit                                closes the window as its close button does
class EditorScript {
public:
    EditorScript(MainWindow& window, QTextStream& output);

    // False with "line N: reason" when a line cannot be done; the lines after it are not run.
    bool run(const QString& script, QString* error);
    // The words of a line; null when a quote is not closed.
    static std::optional<QStringList> split(const QString& line);
    // True after quit closed the window.
    bool quit() const { return quit_; }

private:
    bool runLine(const QStringList& words, QString* error);
    bool waitForPrinter(QString* error);
    QString bookKey(const QString& name) const;

    MainWindow& window_;
    QTextStream& output_;
    std::optional<QString> password_;
    std::optional<QMessageBox::StandardButton> answer_;
    int notices_ = 0;
    bool quit_ = false;
};

} // namespace vextel_addressbook
