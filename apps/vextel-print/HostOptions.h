#pragma once

#include <QString>
#include <QStringList>
#include <optional>

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
    QStringList documents;
    bool help = false;

    // Parses the arguments after the program name; nullopt with a message in *error when they
    // cannot be used.
    static std::optional<HostOptions> parse(const QStringList& arguments, QString* error);
    static QString usage();
};

} // namespace vextel_print
