#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>
#include <utility>

namespace vextel_print {

// What the command line asked of the host.
struct HostOptions {
    QString ppdPath;      // --ppd FILE
    QString queue;        // --printer QUEUE
    QString server;       // --server HOST[:PORT] (CUPS server for --printer)
    QString deviceUri;    // --device-uri URI: the printer's device URI for a --ppd run
    QString outputFolder; // --output DIR: where a job without a queue is written
    QString screenshot;   // --screenshot FILE
    QString script;       // --script FILE
    // --script given again with --agent: the scripts of the second and later jobs, in order.
    QStringList laterScripts;
    QString title;  // --title TEXT: the job's title (default: the first document's name)
    int copies = 1; // the copies the dialog starts with (a captured job's own)
    // -o NAME=CHOICE: PPD choices marked before the dialog opens, in the order given.
    QList<std::pair<QString, QString>> presets;
    // Presets taken from a captured job carry the scheduler's own attributes too; only those the
    // PPD knows are marked, without a word on the others.
    bool quietPresets = false;
    // Job attributes that go with the job as they are (a captured job's own, such as collate),
    // not as PPD choices.
    QList<std::pair<QString, QString>> jobAttributes;
    bool fax = false;    // --fax: the first queue of the fax printer
    bool agent = false;  // --agent: send the captured fax jobs of this user
    bool once = false;   // --once: with --agent, the jobs waiting now, then exit
    QString spoolFolder; // --spool DIR: with --agent, the folder to take jobs from
    QStringList documents;
    bool help = false;

    // Parses the arguments after the program name; nullopt with a message in *error when they
    // cannot be used.
    static std::optional<HostOptions> parse(const QStringList& arguments, QString* error);
    static QString usage();
};

} // namespace vextel_print
