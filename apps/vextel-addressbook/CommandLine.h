#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace vextel_addressbook {

// How the editor reaches the printer whose address book it shows.
struct PrinterConnection {
    enum class Kind { Usb, Network };
    Kind kind = Kind::Usb;
    QString address; // numeric address text for Network, empty for Usb

    bool operator==(const PrinterConnection&) const = default;
    // "NET 192.0.2.7" or "USB": the form the running editor is handed by a second start.
    QString toText() const;
    static std::optional<PrinterConnection> fromText(const QString& text);
    // What a person reads in the window: "192.0.2.7" or "USB".
    QString displayName() const;
};

// The editor's command line. The fax panel passes each option with its value inside one
// argument ("-VTELConnectionType NET", "-VTELAddress 192.0.2.7"); a person types them as two.
// Both spellings are read. Without options the editor starts with no printer.
struct CommandLine {
    static constexpr int kUsageError = 2;

    std::optional<PrinterConnection> printer;
    QString screenshot; // --screenshot FILE: write a picture of the window and exit
    QString script;     // --script FILE: run the window from a script of user actions
    // vCard files to import, each into the book of its name (a file manager's "Open With").
    QStringList files;
    bool help = false;

    // Null with a one-line reason for anything else.
    static std::optional<CommandLine> parse(const QStringList& arguments, QString* error);
    static QString usage();
};

} // namespace vextel_addressbook
