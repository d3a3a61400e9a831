#pragma once

#include "printing/PrintStatus.h"

#include <QString>
#include <QVariant>
#include <cstdint>

namespace printing {

class PrintSettings;
class PrintSession;
class Printer;

// The printing system's calls that panels make by name. Every one answers a status (noErr on
// success) and leaves its out-parameter untouched on failure; null handles, null out-pointers
// and empty keys give kPMInvalidParameter.

// Reads the value under the key: kPMKeyNotFound when there is none.
OSStatus PMPrintSettingsGetValue(const PrintSettings* settings, const QString& key, QVariant* out);
// Reads a string value: kPMKeyNotFound when there is none, kPMValueTypeMismatch when the value
// stored under the key is not a string.
OSStatus PMPrintSettingsGetValue(const PrintSettings* settings, const QString& key, QString* out);
// Stores (or, with an invalid QVariant, removes) the value; see PrintSettings::setValue.
OSStatus PMPrintSettingsSetValue(PrintSettings* settings, const QString& key, const QVariant& value,
                                 bool locked);
// The job's destination type (kDestinationPrinter, kDestinationFile, ...).
OSStatus PMSessionGetDestinationType(const PrintSession* session, const PrintSettings* settings,
                                     std::uint16_t* out);
// The printer's device URI: kPMNoDeviceURI when the printer has none.
OSStatus PMPrinterCopyDeviceURI(const Printer* printer, QString* out);

} // namespace printing
