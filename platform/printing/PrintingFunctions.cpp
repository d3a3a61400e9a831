#include "printing/PrintingFunctions.h"

#include "printing/PrintSession.h"
#include "printing/PrintSettings.h"
#include "printing/Printer.h"

namespace printing {

OSStatus PMPrintSettingsGetValue(const PrintSettings* settings, const QString& key, QVariant* out) {
    if (settings == nullptr || key.isEmpty() || out == nullptr)
        return kPMInvalidParameter;
    const QVariant value = settings->value(key);
    if (!value.isValid())
        return kPMKeyNotFound;
    *out = value;
    return noErr;
}

OSStatus PMPrintSettingsGetValue(const PrintSettings* settings, const QString& key, QString* out) {
    if (out == nullptr)
        return kPMInvalidParameter;
    QVariant value;
    const OSStatus status = PMPrintSettingsGetValue(settings, key, &value);
    if (status != noErr)
        return status;
    if (value.typeId() != QMetaType::QString)
        return kPMValueTypeMismatch;
    *out = value.toString();
    return noErr;
}

OSStatus PMPrintSettingsSetValue(PrintSettings* settings, const QString& key, const QVariant& value,
                                 bool locked) {
    if (settings == nullptr || key.isEmpty())
        return kPMInvalidParameter;
    return settings->setValue(key, value, locked);
}

OSStatus PMSessionGetDestinationType(const PrintSession* session, const PrintSettings* settings,
                                     std::uint16_t* out) {
    if (session == nullptr || settings == nullptr || out == nullptr)
        return kPMInvalidParameter;
    if (session->destinationQueryFails())
        return kPMDestinationUnknown;
    *out = session->destinationType();
    return noErr;
}

OSStatus PMPrinterCopyDeviceURI(const Printer* printer, QString* out) {
    if (printer == nullptr || out == nullptr)
        return kPMInvalidParameter;
    if (printer->deviceURI().isEmpty())
        return kPMNoDeviceURI;
    *out = printer->deviceURI();
    return noErr;
}

} // namespace printing
