<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
    <context>
        <name>PrintDialog</name>
        <message>
            <source>Printer:</source>
            <translation>Printer:</translation>
        </message>
        <message>
            <source>Copies:</source>
            <translation>Copies:</translation>
        </message>
        <message>
            <source>Destination:</source>
            <translation>Destination:</translation>
        </message>
        <message>
            <source>Panel</source>
            <translation>Panel</translation>
        </message>
        <message>
            <source>Help</source>
            <translation>Help</translation>
        </message>
        <message>
            <source>?</source>
            <translation>?</translation>
        </message>
        <message>
            <source>Cancel</source>
            <translation>Cancel</translation>
        </message>
        <message>
            <source>Print</source>
            <translation>Print</translation>
        </message>
    </context>
    <context>
        <name>vextel_print::FaxAgent</name>
        <message>
            <source>A fax is waiting</source>
            <translation>A fax is waiting</translation>
        </message>
        <message>
            <source>"%1" is ready to be sent as a fax.</source>
            <translation>"%1" is ready to be sent as a fax.</translation>
        </message>
        <message>
            <source>The fax could not be sent</source>
            <translation>The fax could not be sent</translation>
        </message>
        <message>
            <source>"%1" was not sent: %2. It is offered again when the agent starts next.</source>
            <translation>"%1" was not sent: %2. It is offered again when the agent starts next.</translation>
        </message>
        <message>
            <source>A captured fax job was refused: %1. It is kept in %2.</source>
            <translation>A captured fax job was refused: %1. It is kept in %2.</translation>
        </message>
    </context>
    <context>
        <name>vextel_print::PrintDialog</name>
        <message>
            <source>Summary</source>
            <translation>Summary</translation>
        </message>
        <message>
            <source>Printer</source>
            <translation>Printer</translation>
        </message>
        <message>
            <source>PDF File</source>
            <translation>PDF File</translation>
        </message>
        <message>
            <source>Preview</source>
            <translation>Preview</translation>
        </message>
        <message>
            <source>Print</source>
            <translation>Print</translation>
        </message>
        <message>
            <source>This panel is not available.</source>
            <translation>This panel is not available.</translation>
        </message>
        <message>
            <source>Setting</source>
            <translation>Setting</translation>
        </message>
        <message>
            <source>Value</source>
            <translation>Value</translation>
        </message>
        <message>
            <source>The settings in “%1” cannot be used.</source>
            <translation>The settings in “%1” cannot be used.</translation>
        </message>
        <message>
            <source>OK</source>
            <translation>OK</translation>
        </message>
        <message>
            <source>Save as PDF</source>
            <translation>Save as PDF</translation>
        </message>
        <message>
            <source>PDF files (*.pdf)</source>
            <translation>PDF files (*.pdf)</translation>
        </message>
        <message>
            <source>the job was cancelled</source>
            <translation>the job was cancelled</translation>
        </message>
        <message>
            <source>Sending the job…</source>
            <translation>Sending the job…</translation>
        </message>
        <message>
            <source>The job could not be sent.</source>
            <translation>The job could not be sent.</translation>
        </message>
        <message>
            <source>Help</source>
            <translation>Help</translation>
        </message>
        <message>
            <source>Choose the printer's options in the panels, then press Print.</source>
            <translation>Choose the printer's options in the panels, then press Print.</translation>
        </message>
    </context>
</TS>
