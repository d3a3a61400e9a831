#include "CommandLine.h"

#include <QHostAddress>

namespace vextel_addressbook {

namespace {

const QString kConnectionTypeOption = QStringLiteral("-VTELConnectionType");
const QString kAddressOption = QStringLiteral("-VTELAddress");

// "-VTELAddress 192.0.2.7" as one argument, or "-VTELAddress" followed by "192.0.2.7".
// Null when the argument is not this option; an empty value when the value is missing.
std::optional<QString> optionValue(const QString& option, const QStringList& arguments,
                                   qsizetype& index) {
    const QString& argument = arguments.at(index);
    if (argument == option) {
        if (index + 1 >= arguments.size() || arguments.at(index + 1).startsWith(QLatin1Char('-'))) {
            return QString();
        }
        return arguments.at(++index).trimmed();
    }
    if (argument.startsWith(option + QLatin1Char(' '))) {
        return argument.mid(option.size() + 1).trimmed();
    }
    return std::nullopt;
}

// The panel passes numeric address text (an IPv6 link-local address with "%interface"); a host
// name is accepted too, as a person may type one.
bool isAcceptableAddress(const QString& address) {
    if (address.isEmpty() || address.size() > 255) {
        return false;
    }
    if (QHostAddress(address).protocol() != QAbstractSocket::UnknownNetworkLayerProtocol) {
        return true;
    }
    for (const QChar c : address) {
        if (!(c.isLetterOrNumber() && c.unicode() < 0x80) && c != QLatin1Char('.') &&
            c != QLatin1Char('-')) {
            return false;
        }
    }
    return true;
}

// A file the desktop hands over to be opened: a vCard file by its name.
bool isVCardFile(const QString& argument) {
    return !argument.startsWith(QLatin1Char('-')) &&
           (argument.endsWith(QLatin1String(".vcf"), Qt::CaseInsensitive) ||
            argument.endsWith(QLatin1String(".vcard"), Qt::CaseInsensitive));
}

} // namespace

QString PrinterConnection::toText() const {
    return kind == Kind::Usb ? QStringLiteral("USB") : QStringLiteral("NET ") + address;
}

std::optional<PrinterConnection> PrinterConnection::fromText(const QString& text) {
    if (text == QLatin1String("USB")) {
        return PrinterConnection{Kind::Usb, {}};
    }
    if (text.startsWith(QLatin1String("NET ")) && isAcceptableAddress(text.mid(4))) {
        return PrinterConnection{Kind::Network, text.mid(4)};
    }
    return std::nullopt;
}

QString PrinterConnection::displayName() const {
    return kind == Kind::Usb ? QStringLiteral("USB") : address;
}

std::optional<CommandLine> CommandLine::parse(const QStringList& arguments, QString* error) {
    CommandLine line;
    std::optional<QString> type;
    std::optional<QString> address;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (argument == QLatin1String("-h") || argument == QLatin1String("--help")) {
            line.help = true;
            continue;
        }
        if (argument == QLatin1String("--screenshot") || argument == QLatin1String("--script")) {
            if (i + 1 >= arguments.size() || arguments.at(i + 1).isEmpty()) {
                *error = QStringLiteral("%1 needs a file").arg(argument);
                return std::nullopt;
            }
            (argument == QLatin1String("--script") ? line.script : line.screenshot) =
                arguments.at(++i);
            continue;
        }
        bool handled = false;
        for (const auto& [option, target] :
             {std::pair{kConnectionTypeOption, &type}, std::pair{kAddressOption, &address}}) {
            auto value = optionValue(option, arguments, i);
            if (!value) {
                continue;
            }
            if (value->isEmpty()) {
                *error = QStringLiteral("%1 needs a value").arg(option);
                return std::nullopt;
            }
            if (target->has_value()) {
                *error = QStringLiteral("%1 is given twice").arg(option);
                return std::nullopt;
            }
            *target = *value;
            handled = true;
            break;
        }
        if (!handled && isVCardFile(argument)) {
            line.files.append(argument);
            handled = true;
        }
        if (!handled) {
            *error = QStringLiteral("unknown argument \"%1\"").arg(argument);
            return std::nullopt;
        }
    }
    if (!type.has_value()) {
        if (address.has_value()) {
            *error = QStringLiteral("-VTELAddress needs -VTELConnectionType NET");
            return std::nullopt;
        }
        return line;
    }
    if (type->compare(QLatin1String("USB"), Qt::CaseInsensitive) == 0) {
        if (address.has_value()) {
            *error = QStringLiteral("a USB printer takes no -VTELAddress");
            return std::nullopt;
        }
        line.printer = PrinterConnection{PrinterConnection::Kind::Usb, {}};
        return line;
    }
    if (type->compare(QLatin1String("NET"), Qt::CaseInsensitive) != 0) {
        *error = QStringLiteral("unknown connection type \"%1\" (NET or USB)").arg(*type);
        return std::nullopt;
    }
    if (!address.has_value()) {
        *error = QStringLiteral("-VTELConnectionType NET needs -VTELAddress");
        return std::nullopt;
    }
    if (!isAcceptableAddress(*address)) {
        *error = QStringLiteral("\"%1\" is not a printer address").arg(*address);
        return std::nullopt;
    }
    line.printer = PrinterConnection{PrinterConnection::Kind::Network, *address};
    return line;
}

QString CommandLine::usage() {
    return QStringLiteral(
        "usage: vextel-addressbook [-VTELConnectionType NET -VTELAddress ADDRESS |\n"
        "                           -VTELConnectionType USB] [--screenshot FILE] [--script FILE]\n"
        "                          [FILE.vcf...]\n"
        "Each vCard file is imported into the book of its name.\n"
        "The script may also be named by VEXTEL_ADDRESSBOOK_SCRIPT.\n");
}

} // namespace vextel_addressbook
