<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
    <context>
        <name>vextel_addressbook::ContactDialog</name>
        <message>
            <source>none; more as 0123, 0456</source>
            <translation>keine; weitere als 0123, 0456</translation>
        </message>
        <message>
            <source>New Entry</source>
            <translation>Neuer Eintrag</translation>
        </message>
        <message>
            <source>Edit Entry</source>
            <translation>Eintrag bearbeiten</translation>
        </message>
        <message>
            <source>%1:</source>
            <translation>%1:</translation>
        </message>
        <message>
            <source>digits and # * - : =</source>
            <translation>Ziffern und # * - : =</translation>
        </message>
    </context>
    <context>
        <name>vextel_addressbook::CsvImportDialog</name>
        <message>
            <source>Import CSV</source>
            <translation>CSV importieren</translation>
        </message>
        <message>
            <source>The first row holds column titles</source>
            <translation>Die erste Zeile enthält die Spaltentitel</translation>
        </message>
        <message>
            <source>(not imported)</source>
            <translation>(nicht importiert)</translation>
        </message>
        <message>
            <source>Column %1: %2</source>
            <translation>Spalte %1: %2</translation>
        </message>
</context>
    <context>
        <name>vextel_addressbook::EntryRules</name>
        <message>
            <source>Other fax numbers</source>
            <translation>Weitere Faxnummern</translation>
        </message>
        <message>
            <source>The fax number %1 is in this entry twice.</source>
            <translation>Die Faxnummer %1 steht zweimal in diesem Eintrag.</translation>
        </message>
        <message>
            <source>“%1” with the fax number %2 is already in the book.</source>
            <translation>„%1“ mit der Faxnummer %2 steht schon im Adressbuch.</translation>
        </message>
        <message>
            <source>Name</source>
            <translation>Name</translation>
        </message>
        <message>
            <source>Fax number</source>
            <translation>Faxnummer</translation>
        </message>
        <message>
            <source>Company</source>
            <translation>Firma</translation>
        </message>
        <message>
            <source>Note</source>
            <translation>Notiz</translation>
        </message>
        <message>
            <source>Group name</source>
            <translation>Gruppenname</translation>
        </message>
        <message>
            <source>%1 is empty.</source>
            <translation>%1 ist leer.</translation>
        </message>
        <message>
            <source>A group holds at most %1 members; this one has %2.</source>
            <translation>Eine Gruppe hat höchstens %1 Mitglieder; diese hat %2.</translation>
        </message>
        <message>
            <source>A member of the group is not an entry of this book.</source>
            <translation>Ein Mitglied der Gruppe ist kein Eintrag dieses Adressbuchs.</translation>
        </message>
        <message>
            <source>An entry is a member of the group twice.</source>
            <translation>Ein Eintrag ist zweimal Mitglied der Gruppe.</translation>
        </message>
        <message numerus="yes">
            <source>%1 is longer than %n characters.</source>
            <translation>
                <numerusform>%1 ist länger als %n Zeichen.</numerusform>
                <numerusform>%1 ist länger als %n Zeichen.</numerusform>
            </translation>
        </message>
        <message>
            <source>%1 holds a character it cannot take: “%2”.</source>
            <translation>%1 enthält ein Zeichen, das nicht erlaubt ist: „%2“.</translation>
        </message>
        <message>
            <source>%1 holds no digit.</source>
            <translation>%1 enthält keine Ziffer.</translation>
        </message>
    </context>
    <context>
        <name>vextel_addressbook::ImportPreview</name>
        <message>
            <source>The digits this fax line dials to call abroad, written for the “+” of an international number</source>
            <translation>Die Ziffern, die dieser Faxanschluss für Auslandsgespräche wählt; sie ersetzen das „+“ einer internationalen Nummer</translation>
        </message>
        <message>
            <source>International prefix for “+”:</source>
            <translation>Internationale Vorwahl für „+“:</translation>
        </message>
        <message>
            <source>Problem</source>
            <translation>Problem</translation>
        </message>
        <message>
            <source>%1, %2, %3.</source>
            <comment>imported entries, entries left out, groups</comment>
            <translation>%1, %2, %3.</translation>
        </message>
        <message numerus="yes">
            <source>%n entries will be imported</source>
            <translation>
                <numerusform>%n Eintrag wird importiert</numerusform>
                <numerusform>%n Einträge werden importiert</numerusform>
            </translation>
        </message>
        <message numerus="yes">
            <source>%n left out for a problem</source>
            <translation>
                <numerusform>%n wegen eines Problems ausgelassen</numerusform>
                <numerusform>%n wegen eines Problems ausgelassen</numerusform>
            </translation>
        </message>
        <message numerus="yes">
            <source>%n groups</source>
            <translation>
                <numerusform>%n Gruppe</numerusform>
                <numerusform>%n Gruppen</numerusform>
            </translation>
        </message>
        <message>
            <source>Preview</source>
            <translation>Vorschau</translation>
        </message>
            <message>
            <source>Changes</source>
            <translation>Änderungen</translation>
        </message>
        <message numerus="yes">
            <source>The fax numbers of %n entries are written as the printer dials them (see Changes).</source>
            <translation>
                <numerusform>Die Faxnummern von %n Eintrag werden so geschrieben, wie der Drucker sie wählt (siehe Änderungen).</numerusform>
                <numerusform>Die Faxnummern von %n Einträgen werden so geschrieben, wie der Drucker sie wählt (siehe Änderungen).</numerusform>
            </translation>
        </message>
    </context>
    <context>
        <name>vextel_addressbook::EntryTableModel</name>
        <message>
            <source>Name</source>
            <translation>Name</translation>
        </message>
        <message>
            <source>Fax number</source>
            <translation>Faxnummer</translation>
        </message>
        <message>
            <source>Company</source>
            <translation>Firma</translation>
        </message>
        <message>
            <source>Note</source>
            <translation>Notiz</translation>
        </message>
        <message>
            <source>Members</source>
            <translation>Mitglieder</translation>
        </message>
        <message>
            <source>Member names</source>
            <translation>Namen der Mitglieder</translation>
        </message>
    </context>
    <context>
        <name>vextel_addressbook::GroupDialog</name>
        <message>
            <source>New Group</source>
            <translation>Neue Gruppe</translation>
        </message>
        <message>
            <source>Edit Group</source>
            <translation>Gruppe bearbeiten</translation>
        </message>
        <message>
            <source>Group name:</source>
            <translation>Gruppenname:</translation>
        </message>
        <message>
            <source>Members:</source>
            <translation>Mitglieder:</translation>
        </message>
        <message>
            <source>%1 of at most %2 members</source>
            <translation>%1 von höchstens %2 Mitgliedern</translation>
        </message>
        <message>
            <source>Members</source>
            <translation>Mitglieder</translation>
        </message>
    </context>
    <context>
        <name>vextel_addressbook::MainWindow</name>
        <message>
            <source>Added here and by the other program, so in the book twice: %1. Delete one of each.</source>
            <translation>Hier und vom anderen Programm hinzugefügt, daher zweimal im Adressbuch: %1. Löschen Sie jeweils einen Eintrag.</translation>
        </message>
        <message>
            <source>What printer %1 answered was set aside: the window shows printer %2 now.</source>
            <translation>Was Drucker %1 geantwortet hat, wurde beiseitegelegt: das Fenster zeigt jetzt Drucker %2.</translation>
        </message>
        <message>
            <source>Search names, fax numbers, companies and notes</source>
            <translation>Namen, Faxnummern, Firmen und Notizen durchsuchen</translation>
        </message>
        <message>
            <source>Entries</source>
            <translation>Einträge</translation>
        </message>
        <message>
            <source>Groups</source>
            <translation>Gruppen</translation>
        </message>
        <message>
            <source>&amp;File</source>
            <translation>&amp;Datei</translation>
        </message>
        <message>
            <source>&amp;New Book…</source>
            <translation>&amp;Neues Adressbuch…</translation>
        </message>
        <message>
            <source>New Book</source>
            <translation>Neues Adressbuch</translation>
        </message>
        <message>
            <source>Book name:</source>
            <translation>Name des Adressbuchs:</translation>
        </message>
        <message>
            <source>&amp;Rename Book…</source>
            <translation>Adressbuch &amp;umbenennen…</translation>
        </message>
        <message>
            <source>Rename Book</source>
            <translation>Adressbuch umbenennen</translation>
        </message>
        <message>
            <source>&amp;Delete Book…</source>
            <translation>Adressbuch &amp;löschen…</translation>
        </message>
        <message>
            <source>&amp;Save</source>
            <translation>&amp;Speichern</translation>
        </message>
        <message>
            <source>&amp;Import…</source>
            <translation>&amp;Importieren…</translation>
        </message>
        <message>
            <source>Ctrl+I</source>
            <translation>Ctrl+I</translation>
        </message>
        <message>
            <source>&amp;Export…</source>
            <translation>&amp;Exportieren…</translation>
        </message>
        <message>
            <source>Ctrl+E</source>
            <translation>Ctrl+E</translation>
        </message>
        <message>
            <source>&amp;Quit</source>
            <translation>&amp;Beenden</translation>
        </message>
        <message>
            <source>&amp;Edit</source>
            <translation>&amp;Bearbeiten</translation>
        </message>
        <message>
            <source>New &amp;Entry…</source>
            <translation>Neuer &amp;Eintrag…</translation>
        </message>
        <message>
            <source>Ctrl+Shift+N</source>
            <translation>Ctrl+Shift+N</translation>
        </message>
        <message>
            <source>New &amp;Group…</source>
            <translation>Neue &amp;Gruppe…</translation>
        </message>
        <message>
            <source>Ctrl+G</source>
            <translation>Ctrl+G</translation>
        </message>
        <message>
            <source>Ed&amp;it…</source>
            <translation>Be&amp;arbeiten…</translation>
        </message>
        <message>
            <source>&amp;Delete</source>
            <translation>&amp;Löschen</translation>
        </message>
        <message>
            <source>&amp;Copy to Book…</source>
            <translation>In Adressbuch &amp;kopieren…</translation>
        </message>
        <message>
            <source>Ctrl+Shift+C</source>
            <translation>Ctrl+Shift+C</translation>
        </message>
        <message>
            <source>&amp;Find</source>
            <translation>&amp;Suchen</translation>
        </message>
        <message>
            <source>&amp;Printer</source>
            <translation>&amp;Drucker</translation>
        </message>
        <message>
            <source>&amp;Connect to Printer…</source>
            <translation>Mit Drucker &amp;verbinden…</translation>
        </message>
        <message>
            <source>&amp;Read Printer's Book</source>
            <translation>Adressbuch des Druckers &amp;lesen</translation>
        </message>
        <message>
            <source>Ctrl+R</source>
            <translation>Ctrl+R</translation>
        </message>
        <message>
            <source>Main</source>
            <translation>Werkzeugleiste</translation>
        </message>
        <message>
            <source>&amp;Undo</source>
            <translation>&amp;Rückgängig</translation>
        </message>
        <message>
            <source>&amp;Redo</source>
            <translation>&amp;Wiederholen</translation>
        </message>
        <message>
            <source>Vextel Address Book</source>
            <translation>Vextel-Adressbuch</translation>
        </message>
        <message>
            <source>Printer %1 — %2</source>
            <translation>Drucker %1 — %2</translation>
        </message>
        <message>
            <source>Printer (%1)%2</source>
            <translation>Drucker (%1)%2</translation>
        </message>
        <message>
            <source> — double-click to read</source>
            <translation> — zum Lesen doppelklicken</translation>
        </message>
        <message>
            <source>The book “%1” cannot be read: %2</source>
            <translation>Das Adressbuch „%1“ kann nicht gelesen werden: %2</translation>
        </message>
        <message>
            <source>The printer's book (read-only): %1.</source>
            <translation>Adressbuch des Druckers (schreibgeschützt): %1.</translation>
        </message>
        <message>
            <source>The printer's book is not read yet.</source>
            <translation>Das Adressbuch des Druckers ist noch nicht gelesen.</translation>
        </message>
        <message>
            <source>%1.</source>
            <translation>%1.</translation>
        </message>
        <message>
            <source>%1, %2</source>
            <comment>entries, groups</comment>
            <translation>%1, %2</translation>
        </message>
        <message numerus="yes">
            <source>%n entries</source>
            <translation>
                <numerusform>%n Eintrag</numerusform>
                <numerusform>%n Einträge</numerusform>
            </translation>
        </message>
        <message numerus="yes">
            <source>%n groups</source>
            <translation>
                <numerusform>%n Gruppe</numerusform>
                <numerusform>%n Gruppen</numerusform>
            </translation>
        </message>
        <message>
            <source>“%1” cannot be a book's name.</source>
            <translation>„%1“ kann nicht der Name eines Adressbuchs sein.</translation>
        </message>
        <message>
            <source>A book named “%1” exists already.</source>
            <translation>Ein Adressbuch namens „%1“ gibt es bereits.</translation>
        </message>
        <message>
            <source>The book “%1” cannot be made: %2</source>
            <translation>Das Adressbuch „%1“ kann nicht angelegt werden: %2</translation>
        </message>
        <message>
            <source>The book cannot be renamed.</source>
            <translation>Das Adressbuch kann nicht umbenannt werden.</translation>
        </message>
        <message>
            <source>Move the book “%1” to the trash?</source>
            <translation>Das Adressbuch „%1“ in den Papierkorb verschieben?</translation>
        </message>
        <message>
            <source>The book cannot be deleted.</source>
            <translation>Das Adressbuch kann nicht gelöscht werden.</translation>
        </message>
        <message>
            <source>The book “%1” cannot be saved: %2</source>
            <translation>Das Adressbuch „%1“ kann nicht gespeichert werden: %2</translation>
        </message>
        <message>
            <source>The book “%1” was removed by another program; save it to keep it.</source>
            <translation>Das Adressbuch „%1“ wurde von einem anderen Programm entfernt; speichern Sie es, um es zu behalten.</translation>
        </message>
        <message>
            <source>The book “%1” was changed by another program and cannot be read: %2</source>
            <translation>Das Adressbuch „%1“ wurde von einem anderen Programm geändert und kann nicht gelesen werden: %2</translation>
        </message>
        <message>
            <source>“%1” was changed by another program: its changes and yours are merged; save to keep them.</source>
            <translation>„%1“ wurde von einem anderen Programm geändert: seine und Ihre Änderungen sind zusammengeführt; speichern Sie, um sie zu behalten.</translation>
        </message>
        <message>
            <source>“%1” was changed by another program and is read again.</source>
            <translation>„%1“ wurde von einem anderen Programm geändert und wird neu gelesen.</translation>
        </message>
        <message>
            <source>Choose the PC book to import into first.</source>
            <translation>Wählen Sie zuerst das PC-Adressbuch, in das importiert werden soll.</translation>
        </message>
        <message>
            <source>“%1” cannot be read: %2</source>
            <translation>„%1“ kann nicht gelesen werden: %2</translation>
        </message>
        <message>
            <source>“%1” cannot be imported: %2</source>
            <translation>„%1“ kann nicht importiert werden: %2</translation>
        </message>
        <message>
            <source>Import</source>
            <translation>Importieren</translation>
        </message>
        <message numerus="yes">
            <source>%n entries imported; left out:
%1</source>
            <translation>
                <numerusform>%n Eintrag importiert; ausgelassen:
%1</numerusform>
                <numerusform>%n Einträge importiert; ausgelassen:
%1</numerusform>
            </translation>
        </message>
        <message numerus="yes">
            <source>%n entries imported.</source>
            <translation>
                <numerusform>%n Eintrag importiert.</numerusform>
                <numerusform>%n Einträge importiert.</numerusform>
            </translation>
        </message>
        <message numerus="yes">
            <source>%n left out, as the preview showed.</source>
            <translation>
                <numerusform>%n ausgelassen, wie die Vorschau zeigte.</numerusform>
                <numerusform>%n ausgelassen, wie die Vorschau zeigte.</numerusform>
            </translation>
        </message>
        <message>
            <source>The book cannot be exported to “%1”: %2</source>
            <translation>Das Adressbuch kann nicht nach „%1“ exportiert werden: %2</translation>
        </message>
        <message>
            <source>Address books (*.vcf *.vcard *.csv *.txt)</source>
            <translation>Adressbücher (*.vcf *.vcard *.csv *.txt)</translation>
        </message>
        <message>
            <source>Export</source>
            <translation>Exportieren</translation>
        </message>
        <message>
            <source>vCard 4.0 (*.vcf);;CSV (*.csv)</source>
            <translation>vCard 4.0 (*.vcf);;CSV (*.csv)</translation>
        </message>
        <message>
            <source>Read the printer's book first.</source>
            <translation>Lesen Sie zuerst das Adressbuch des Druckers.</translation>
        </message>
        <message>
            <source>Writing the printer's book…</source>
            <translation>Adressbuch des Druckers wird geschrieben…</translation>
        </message>
        <message>
            <source>Copy from %1</source>
            <translation>Kopie aus %1</translation>
        </message>
        <message>
            <source>the printer</source>
            <translation>dem Drucker</translation>
        </message>
        <message>
            <source>Left out of the copy:
%1</source>
            <translation>Nicht kopiert:
%1</translation>
        </message>
        <message>
            <source>There is no other book to copy to.</source>
            <translation>Es gibt kein anderes Adressbuch, in das kopiert werden kann.</translation>
        </message>
        <message>
            <source>Copy to Book</source>
            <translation>In Adressbuch kopieren</translation>
        </message>
        <message>
            <source>Copy the selection to:</source>
            <translation>Auswahl kopieren nach:</translation>
        </message>
        <message>
            <source>Reading the printer's book…</source>
            <translation>Adressbuch des Druckers wird gelesen…</translation>
        </message>
        <message>
            <source>Save the changes to %1 before closing?</source>
            <translation>Die Änderungen an %1 vor dem Schließen speichern?</translation>
        </message>
        <message>
            <source>Address books</source>
            <translation>Adressbücher</translation>
        </message>
        <message>
            <source>Search</source>
            <translation>Suchen</translation>
        </message>
        <message>
            <source>Entry list</source>
            <translation>Liste der Einträge</translation>
        </message>
        <message>
            <source>Group list</source>
            <translation>Liste der Gruppen</translation>
        </message>
        <message>
            <source>Working with the printer</source>
            <translation>Verbindung mit dem Drucker</translation>
        </message>
        <message>
            <source>There is no address book yet. Make one with File &gt; New Book (Ctrl+N), then bring in contacts with File &gt; Import (Ctrl+I) from a phone's vCard file or a CSV file. The printer's own book is read with Printer &gt; Connect to Printer.</source>
            <translation>Es gibt noch kein Adressbuch. Legen Sie eines mit Datei &gt; Neues Adressbuch (Ctrl+N) an und holen Sie dann Kontakte mit Datei &gt; Importieren (Ctrl+I) aus der vCard-Datei eines Telefons oder einer CSV-Datei. Das Adressbuch des Druckers lesen Sie mit Drucker &gt; Mit Drucker verbinden.</translation>
        </message>
        <message>
            <source>“%1” was changed by another program meanwhile: its changes and yours are saved together.</source>
            <translation>„%1“ wurde zwischenzeitlich von einem anderen Programm geändert: seine und Ihre Änderungen werden zusammen gespeichert.</translation>
        </message>
        <message>
            <source>Both changed the same field of %1: yours is kept, the other program's value is replaced.</source>
            <translation>Beide haben dasselbe Feld von %1 geändert: Ihres bleibt, der Wert des anderen Programms wird ersetzt.</translation>
        </message>
        <message>
            <source>Deleted on one side and changed on the other, so kept: %1.</source>
            <translation>Auf einer Seite gelöscht und auf der anderen geändert, daher behalten: %1.</translation>
        </message>
        <message>
            <source>Members whose entries were deleted are no longer in %1.</source>
            <translation>Mitglieder, deren Einträge gelöscht wurden, sind nicht mehr in %1.</translation>
        </message>
    </context>
    <context>
        <name>vextel_addressbook::PasswordDialog</name>
        <message>
            <source>Printer Password</source>
            <translation>Kennwort des Druckers</translation>
        </message>
        <message>
            <source>The printer %1 asks for its password.</source>
            <translation>Der Drucker %1 fragt nach seinem Kennwort.</translation>
        </message>
        <message>
            <source>Password:</source>
            <translation>Kennwort:</translation>
        </message>
    </context>
    <context>
        <name>vextel_addressbook::PrinterDialog</name>
        <message>
            <source>Connect to Printer</source>
            <translation>Mit Drucker verbinden</translation>
        </message>
        <message>
            <source>On the network, at the address:</source>
            <translation>Im Netzwerk, unter der Adresse:</translation>
        </message>
        <message>
            <source>On USB</source>
            <translation>Über USB</translation>
        </message>
        <message>
            <source>Printer address</source>
            <translation>Adresse des Druckers</translation>
        </message>
    </context>
    <context>
        <name>vextel_addressbook::BookDocument</name>
        <message>
            <source>Add Entry</source>
            <translation>Eintrag hinzufügen</translation>
        </message>
        <message>
            <source>Edit Entry</source>
            <translation>Eintrag bearbeiten</translation>
        </message>
        <message>
            <source>Add Group</source>
            <translation>Gruppe hinzufügen</translation>
        </message>
        <message>
            <source>Edit Group</source>
            <translation>Gruppe bearbeiten</translation>
        </message>
        <message>
            <source>Delete Entry</source>
            <translation>Eintrag löschen</translation>
        </message>
        <message>
            <source>Delete Entries</source>
            <translation>Einträge löschen</translation>
        </message>
        <message>
            <source>Delete Group</source>
            <translation>Gruppe löschen</translation>
        </message>
        <message>
            <source>Delete Groups</source>
            <translation>Gruppen löschen</translation>
        </message>
        <message>
            <source>The entry is no longer in the book.</source>
            <translation>Der Eintrag ist nicht mehr im Adressbuch.</translation>
        </message>
        <message>
            <source>The group is no longer in the book.</source>
            <translation>Die Gruppe ist nicht mehr im Adressbuch.</translation>
        </message>
        <message>
            <source>Group %1: none of its members is added.</source>
            <translation>Gruppe %1: keines ihrer Mitglieder wird hinzugefügt.</translation>
        </message>
        <message>
            <source>Group %1: %2</source>
            <translation>Gruppe %1: %2</translation>
        </message>
    </context>
    <context>
        <name>vextel_addressbook::VCardBookStore</name>
        <message>
            <source>The file does not exist.</source>
            <translation>Die Datei existiert nicht.</translation>
        </message>
        <message>
            <source>The file cannot be read.</source>
            <translation>Die Datei kann nicht gelesen werden.</translation>
        </message>
        <message>
            <source>The file is not a vCard address book.</source>
            <translation>Die Datei ist kein vCard-Adressbuch.</translation>
        </message>
        <message>
            <source>The file holds more than 65,535 entries.</source>
            <translation>Die Datei enthält mehr als 65.535 Einträge.</translation>
        </message>
        <message>
            <source>The file cannot be written; it is unchanged.</source>
            <translation>Die Datei kann nicht geschrieben werden; sie ist unverändert.</translation>
        </message>
        <message>
            <source>Another program keeps the book locked; it is unchanged. Try again in a moment.</source>
            <translation>Ein anderes Programm hält das Adressbuch gesperrt; es ist unverändert. Versuchen Sie es gleich noch einmal.</translation>
        </message>
        <message>
            <source>The address-book folder cannot be made or read.</source>
            <translation>Der Adressbuch-Ordner kann nicht angelegt oder gelesen werden.</translation>
        </message>
        <message>
            <source>The address-book library answered status 0x%1.</source>
            <translation>Die Adressbuch-Bibliothek meldete den Status 0x%1.</translation>
        </message>
    </context>
    <context>
        <name>vextel_addressbook::VCardImportDialog</name>
        <message>
            <source>Import vCard</source>
            <translation>vCard importieren</translation>
        </message>
    </context>
</TS>
