<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
    <context>
        <name>PrintDialog</name>
        <message>
            <source>Printer:</source>
            <translation>Drucker:</translation>
        </message>
        <message>
            <source>Copies:</source>
            <translation>Kopien:</translation>
        </message>
        <message>
            <source>Destination:</source>
            <translation>Ziel:</translation>
        </message>
        <message>
            <source>Panel</source>
            <translation>Bereich</translation>
        </message>
        <message>
            <source>Help</source>
            <translation>Hilfe</translation>
        </message>
        <message>
            <source>?</source>
            <translation>?</translation>
        </message>
        <message>
            <source>Cancel</source>
            <translation>Abbrechen</translation>
        </message>
        <message>
            <source>Print</source>
            <translation>Drucken</translation>
        </message>
    </context>
    <context>
        <name>vextel_print::FaxAgent</name>
        <message>
            <source>A fax is waiting</source>
            <translation>Ein Fax wartet</translation>
        </message>
        <message>
            <source>"%1" is ready to be sent as a fax.</source>
            <translation>„%1“ kann als Fax gesendet werden.</translation>
        </message>
        <message>
            <source>The fax could not be sent</source>
            <translation>Das Fax konnte nicht gesendet werden</translation>
        </message>
        <message>
            <source>"%1" was not sent: %2. It is offered again when the agent starts next.</source>
            <translation>„%1“ wurde nicht gesendet: %2. Es wird beim nächsten Start des Agenten erneut angeboten.</translation>
        </message>
        <message>
            <source>A captured fax job was refused: %1. It is kept in %2.</source>
            <translation>Ein erfasster Faxauftrag wurde abgelehnt: %1. Er bleibt in %2.</translation>
        </message>
    </context>
    <context>
        <name>vextel_print::PrintDialog</name>
        <message>
            <source>Summary</source>
            <translation>Übersicht</translation>
        </message>
        <message>
            <source>Printer</source>
            <translation>Drucker</translation>
        </message>
        <message>
            <source>PDF File</source>
            <translation>PDF-Datei</translation>
        </message>
        <message>
            <source>Preview</source>
            <translation>Vorschau</translation>
        </message>
        <message>
            <source>Print</source>
            <translation>Drucken</translation>
        </message>
        <message>
            <source>This panel is not available.</source>
            <translation>Dieser Bereich ist nicht verfügbar.</translation>
        </message>
        <message>
            <source>Setting</source>
            <translation>Einstellung</translation>
        </message>
        <message>
            <source>Value</source>
            <translation>Wert</translation>
        </message>
        <message>
            <source>The settings in “%1” cannot be used.</source>
            <translation>Die Einstellungen in „%1“ können nicht verwendet werden.</translation>
        </message>
        <message>
            <source>OK</source>
            <translation>OK</translation>
        </message>
        <message>
            <source>Save as PDF</source>
            <translation>Als PDF speichern</translation>
        </message>
        <message>
            <source>PDF files (*.pdf)</source>
            <translation>PDF-Dateien (*.pdf)</translation>
        </message>
        <message>
            <source>the job was cancelled</source>
            <translation>der Auftrag wurde abgebrochen</translation>
        </message>
        <message>
            <source>Sending the job…</source>
            <translation>Auftrag wird gesendet…</translation>
        </message>
        <message>
            <source>The job could not be sent.</source>
            <translation>Der Auftrag konnte nicht gesendet werden.</translation>
        </message>
        <message>
            <source>Help</source>
            <translation>Hilfe</translation>
        </message>
        <message>
            <source>Choose the printer's options in the panels, then press Print.</source>
            <translation>Wählen Sie die Optionen des Druckers in den Bereichen und drücken Sie dann „Drucken“.</translation>
        </message>
    </context>
</TS>
