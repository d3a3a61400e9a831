#pragma once

#include "kit/AlertDriver.h"
#include "kit/ModalDriver.h"
#include "kit/OpenPanelDriver.h"

#include <QString>
#include <QStringList>
#include <QTextStream>
#include <optional>

class QWidget;

namespace vextel_print {

class PrintDialog;

// Runs the print dialog and whatever dialogs it opens, driven by a script of user actions, one
// per line (see the README for the language). Lines run in order; a line that opens a modal
// window hands the following lines to that window's run, and an alert takes its answer from the
// next line, so the script reads like a transcript of what a person did. Every alert is written
// to the output as one line.
class ScriptRunner {
public:
    ScriptRunner(QStringList lines, QTextStream& output);

    // Runs the script against the dialog; false with a message naming the line on a script
    // error (the dialogs are then closed and the job cancelled).
    bool run(PrintDialog& dialog);
    QString error() const { return error_; }

    static bool load(const QString& path, QStringList* lines, QString* error);

private:
    struct Line {
        int number = 0;
        QStringList words;
    };

    void runLinesInside(kit::Window* window);
    bool runLine(const Line& line);
    bool nextLine(Line* line);
    QString answerAlert(const kit::AlertRecord& alert);
    std::optional<QStringList> answerOpenPanel(const kit::OpenPanelRequest& request);
    bool fail(const Line& line, const QString& message);

    bool printDialogCommand(const Line& line);
    bool press(const Line& line);
    bool choose(const Line& line);
    bool type(const Line& line);
    bool set(const Line& line);
    bool select(const Line& line);
    // Writes a PNG of the window the script acts in.
    bool screenshot(const Line& line);
    // Clicks a tab of a tab view, by its number from 1 or its title.
    bool tab(const Line& line);
    // Double-clicks a row of a table, its header, or the space below its last row.
    bool doubleClick(const Line& line);
    // Writes the rows of a table as shown, one line each.
    bool show(const Line& line);

    QWidget* scope() const;
    QWidget* findWidget(const QString& name) const;
    bool finished() const;

    QStringList lines_;
    int next_ = 0;
    QTextStream& output_;
    PrintDialog* dialog_ = nullptr;
    QString error_;
    kit::ModalDriver modalDriver_;
    kit::AlertDriver alertDriver_;
    kit::OpenPanelDriver openPanelDriver_;
};

} // namespace vextel_print
