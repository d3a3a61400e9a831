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
    <message>
        <source>Fax Transmission</source>
        <translation>Faxübertragung</translation>
    </message>
    <message>
        <source>Name:</source>
        <translation>Name:</translation>
    </message>
    <message>
        <source>Fax Number:</source>
        <translation>Faxnummer:</translation>
    </message>
    <message>
        <source>Recipients:</source>
        <translation>Empfänger:</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Fax Number</source>
        <translation>Faxnummer</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Hinzufügen</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Bearbeiten</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Address Book:</source>
        <translation>Adressbuch:</translation>
    </message>
    <message>
        <source>Add to Address Book</source>
        <translation>Zum Adressbuch hinzufügen</translation>
    </message>
    <message>
        <source>PC Address Book...</source>
        <translation>PC-Adressbuch...</translation>
    </message>
    <message>
        <source>Device Address Book...</source>
        <translation>Geräteadressbuch...</translation>
    </message>
    <message>
        <source>Authorization</source>
        <translation>Berechtigung</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Kennwort:</translation>
    </message>
    <message>
        <source>Delayed Send</source>
        <translation>Zeitversetztes Senden</translation>
    </message>
    <message>
        <source>Send Later</source>
        <translation>Später senden</translation>
    </message>
    <message>
        <source>Time:</source>
        <translation>Uhrzeit:</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Senden</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stopp</translation>
    </message>
    <message>
        <source>No More Destination</source>
        <translation>Keine weiteren Empfänger möglich</translation>
    </message>
    <message>
        <source>Duplicated Address Found</source>
        <translation>Doppelte Adresse gefunden</translation>
    </message>
    <message>
        <source>Add the same address to destinations?</source>
        <translation>Dieselbe Adresse trotzdem zu den Empfängern hinzufügen?</translation>
    </message>
    <message>
        <source>Characters added to Fax Number</source>
        <translation>Faxnummer eingegeben</translation>
    </message>
    <message>
        <source>Current number is automatically added</source>
        <translation>Die eingegebene Nummer wird automatisch hinzugefügt</translation>
    </message>
    <message>
        <source>No Sender Specified</source>
        <translation>Kein Empfänger angegeben</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Address Book</source>
        <translation>Adressbuch</translation>
    </message>
    <message>
        <source>PC Address Book</source>
        <translation>PC-Adressbuch</translation>
    </message>
    <message>
        <source>Device Address Book</source>
        <translation>Geräteadressbuch</translation>
    </message>
    <message>
        <source>Add to Recipients</source>
        <translation>Zu Empfängern hinzufügen</translation>
    </message>
    <message>
        <source>Properties</source>
        <translation>Eigenschaften</translation>
    </message>
    <message>
        <source>Group Properties</source>
        <translation>Gruppeneigenschaften</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Company:</source>
        <translation>Firma:</translation>
    </message>
    <message>
        <source>Note:</source>
        <translation>Notiz:</translation>
    </message>
    <message>
        <source>Members:</source>
        <translation>Mitglieder:</translation>
    </message>
    <message>
        <source>Address Book file is none</source>
        <translation>Keine Adressbuchdatei vorhanden</translation>
    </message>
    <message>
        <source>Device Access Failure</source>
        <translation>Zugriff auf das Gerät fehlgeschlagen</translation>
    </message>
    <message>
        <source>Invalid Password</source>
        <translation>Ungültiges Kennwort</translation>
    </message>
    <message>
        <source>Failed to retrieve data</source>
        <translation>Die Daten konnten nicht gelesen werden</translation>
    </message>
    <message>
        <source>Added to Address Book.</source>
        <translation>Zum Adressbuch hinzugefügt.</translation>
    </message>
    <message>
        <source>Address already exists.</source>
        <translation>Die Adresse ist bereits vorhanden.</translation>
    </message>
    <message>
        <source>No name specified.</source>
        <translation>Kein Name angegeben.</translation>
    </message>
    <message>
        <source>Cannot add to the file.</source>
        <translation>Zur Datei kann nicht hinzugefügt werden.</translation>
    </message>
    <message>
        <source>The sender name can have at most 30 characters: letters A to Z, digits, spaces and punctuation.</source>
        <translation>Der Absendername darf höchstens 30 Zeichen haben: Buchstaben A bis Z, Ziffern, Leerzeichen und Satzzeichen.</translation>
    </message>
    <message>
        <source>Address Book Editor not found.</source>
        <translation>Der Adressbuch-Editor wurde nicht gefunden.</translation>
    </message>
    <message>
        <source>Fax Settings</source>
        <translation>Faxeinstellungen</translation>
    </message>
    <message>
        <source>Image Quality</source>
        <translation>Bildqualität</translation>
    </message>
    <message>
        <source>Transmission Report</source>
        <translation>Sendebericht</translation>
    </message>
    <message>
        <source>Cover Page</source>
        <translation>Deckblatt</translation>
    </message>
    <message>
        <source>Sender</source>
        <translation>Absender</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Group</source>
        <translation>Gruppe</translation>
    </message>
    <message>
        <source>Entries</source>
        <translation>Einträge</translation>
    </message>
    <message>
        <source>Recipients</source>
        <translation>Empfänger</translation>
    </message>
    <message>
        <source>Members</source>
        <translation>Mitglieder</translation>
    </message>
</context>
</TS>
