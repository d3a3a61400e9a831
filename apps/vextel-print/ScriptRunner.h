#pragma once

#include "kit/AlertDriver.h"
#include "kit/ModalDriver.h"
#include "kit/OpenPanelDriver.h"
#include "kit/Workspace.h"

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
// to the output as one line, and so is every program the dialogs start (they really start).
class ScriptRunner {
public:
    ScriptRunner(QStringList lines, QTextStream& output);

    // Runs the script against the dialog; false with a message naming the line on a script
    // error (the dialogs are then closed and the job cancelled).
    bool run(PrintDialog& dialog);
    QString error() const { return error_; }

    static bool load(const QString& path, QStringList* lines, QString* error);

    // The names of the script's commands, in the order of the command table.
    static QStringList commandNames();

    // Where a script's side effects may reach. Unconfined, a script acts as the person it stands
    // for: files go where its lines name them and a wait lasts as long as it asks. Confined,
    // every file a line names (screenshot, destination pdf, openpanel) is taken inside `folder`,
    // a name that leads out of it is a script error, and no wait lasts longer than
    // `longestWaitSeconds` (its line is still checked against the language's own bounds).
    struct Confinement {
        QString folder;
        double longestWaitSeconds = 0;
    };
    void confine(Confinement confinement);

private:
    struct Line {
        int number = 0;
        QStringList words;
    };

    // One command of the script language. The table of these is the language: dispatch, the
    // argument errors ("expected " + usage) and the README's list all follow it.
    struct Command {
        const char* name;
        // How many words may follow the name; kAnyCount for no upper bound.
        int minArguments;
        int maxArguments;
        const char* usage;
        bool (ScriptRunner::*run)(const Line& line);
        // Refused while a modal window of the dialog is open.
        bool printDialogOnly;
    };
    static constexpr int kAnyCount = -1;
    static const Command kCommands[];

    void runLinesInside(kit::Window* window);
    bool runLine(const Line& line);
    bool nextLine(Line* line);
    QString answerAlert(const kit::AlertRecord& alert);
    std::optional<QStringList> answerOpenPanel(const kit::OpenPanelRequest& request);
    bool fail(const Line& line, const QString& message);
    // The path of a file a line names: as written, or inside the confinement folder; null after
    // failing the line when it leads out of that folder.
    QString fileNamed(const Line& line, const QString& name);

    const Command* commandNamed(const QString& name) const;
    bool print(const Line& line);
    bool cancel(const Line& line);
    bool close(const Line& line);
    bool panel(const Line& line);
    bool destination(const Line& line);
    bool copies(const Line& line);
    // An answer line outside an alert.
    bool answer(const Line& line);
    // An openpanel line outside an open panel.
    bool openPanel(const Line& line);
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
    // Lets the event loop run for a while (a DNS-SD answer, a started program).
    bool wait(const Line& line);
    void reportLaunch(const kit::Workspace::Launch& launch);

    QWidget* scope() const;
    QWidget* findWidget(const QString& name) const;
    bool finished() const;

    QStringList lines_;
    int next_ = 0;
    QTextStream& output_;
    PrintDialog* dialog_ = nullptr;
    QString error_;
    std::optional<Confinement> confinement_;
    kit::ModalDriver modalDriver_;
    kit::AlertDriver alertDriver_;
    kit::OpenPanelDriver openPanelDriver_;
    kit::Workspace::LaunchRecorder launchWatcher_;
};

} // namespace vextel_print
