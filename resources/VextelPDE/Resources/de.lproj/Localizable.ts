<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>Localizable</name>
    <message>
        <source>Address Book...</source>
        <translation>Adressbuch...</translation>
    </message>
    <message>
        <source>Cover Page Settings</source>
        <translation>Deckblatteinstellungen</translation>
    </message>
    <message>
        <source>Custom PDE Title</source>
        <translation>Faxeinstellungen</translation>
    </message>
    <message>
        <source>Defaults</source>
        <translation>Standardwerte</translation>
    </message>
    <message>
        <source>Sender Name</source>
        <translation>Absendername</translation>
    </message>
</context>
</TS>
