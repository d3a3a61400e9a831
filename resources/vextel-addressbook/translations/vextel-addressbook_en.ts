<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
    <context>
        <name>vextel_addressbook::ContactDialog</name>
        <message>
            <source>none; more as 0123, 0456</source>
            <translation>none; more as 0123, 0456</translation>
        </message>
        <message>
            <source>New Entry</source>
            <translation>New Entry</translation>
        </message>
        <message>
            <source>Edit Entry</source>
            <translation>Edit Entry</translation>
        </message>
        <message>
            <source>%1:</source>
            <translation>%1:</translation>
        </message>
        <message>
            <source>digits and # * - : =</source>
            <translation>digits and # * - : =</translation>
        </message>
    </context>
    <context>
        <name>vextel_addressbook::CsvImportDialog</name>
        <message>
            <source>Import CSV</source>
            <translation>Import CSV</translation>
        </message>
        <message>
            <source>The first row holds column titles</source>
            <translation>The first row holds column titles</translation>
        </message>
        <message>
            <source>(not imported)</source>
            <translation>(not imported)</translation>
        </message>
        <message>
            <source>Column %1: %2</source>
            <translation>Column %1: %2</translation>
        </message>
</context>
    <context>
        <name>vextel_addressbook::EntryRules</name>
        <message>
            <source>Other fax numbers</source>
            <translation>Other fax numbers</translation>
        </message>
        <message>
            <source>The fax number %1 is in this entry twice.</source>
            <translation>The fax number %1 is in this entry twice.</translation>
        </message>
        <message>
            <source>“%1” with the fax number %2 is already in the book.</source>
            <translation>“%1” with the fax number %2 is already in the book.</translation>
        </message>
        <message>
            <source>Name</source>
            <translation>Name</translation>
        </message>
        <message>
            <source>Fax number</source>
            <translation>Fax number</translation>
        </message>
        <message>
            <source>Company</source>
            <translation>Company</translation>
        </message>
        <message>
            <source>Note</source>
            <translation>Note</translation>
        </message>
        <message>
            <source>Group name</source>
            <translation>Group name</translation>
        </message>
        <message>
            <source>%1 is empty.</source>
            <translation>%1 is empty.</translation>
        </message>
        <message>
            <source>A group holds at most %1 members; this one has %2.</source>
            <translation>A group holds at most %1 members; this one has %2.</translation>
        </message>
        <message>
            <source>A member of the group is not an entry of this book.</source>
            <translation>A member of the group is not an entry of this book.</translation>
        </message>
        <message>
            <source>An entry is a member of the group twice.</source>
            <translation>An entry is a member of the group twice.</translation>
        </message>
        <message numerus="yes">
            <source>%1 is longer than %n characters.</source>
            <translation>
                <numerusform>%1 is longer than %n character.</numerusform>
                <numerusform>%1 is longer than %n characters.</numerusform>
            </translation>
        </message>
        <message>
            <source>%1 holds a character it cannot take: “%2”.</source>
            <translation>%1 holds a character it cannot take: “%2”.</translation>
        </message>
        <message>
            <source>%1 holds no digit.</source>
            <translation>%1 holds no digit.</translation>
        </message>
    </context>
    <context>
        <name>vextel_addressbook::ImportPreview</name>
        <message>
            <source>The digits this fax line dials to call abroad, written for the “+” of an international number</source>
            <translation>The digits this fax line dials to call abroad, written for the “+” of an international number</translation>
        </message>
        <message>
            <source>International prefix for “+”:</source>
            <translation>International prefix for “+”:</translation>
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
                <numerusform>%n entry will be imported</numerusform>
                <numerusform>%n entries will be imported</numerusform>
            </translation>
        </message>
        <message numerus="yes">
            <source>%n left out for a problem</source>
            <translation>
                <numerusform>%n left out for a problem</numerusform>
                <numerusform>%n left out for a problem</numerusform>
            </translation>
        </message>
        <message numerus="yes">
            <source>%n groups</source>
            <translation>
                <numerusform>%n group</numerusform>
                <numerusform>%n groups</numerusform>
            </translation>
        </message>
        <message>
            <source>Preview</source>
            <translation>Preview</translation>
        </message>
            <message>
            <source>Changes</source>
            <translation>Changes</translation>
        </message>
        <message numerus="yes">
            <source>The fax numbers of %n entries are written as the printer dials them (see Changes).</source>
            <translation>
                <numerusform>The fax number of %n entry is written as the printer dials it (see Changes).</numerusform>
                <numerusform>The fax numbers of %n entries are written as the printer dials them (see Changes).</numerusform>
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
            <translation>Fax number</translation>
        </message>
        <message>
            <source>Company</source>
            <translation>Company</translation>
        </message>
        <message>
            <source>Note</source>
            <translation>Note</translation>
        </message>
        <message>
            <source>Members</source>
            <translation>Members</translation>
        </message>
        <message>
            <source>Member names</source>
            <translation>Member names</translation>
        </message>
    </context>
    <context>
        <name>vextel_addressbook::GroupDialog</name>
        <message>
            <source>New Group</source>
            <translation>New Group</translation>
        </message>
        <message>
            <source>Edit Group</source>
            <translation>Edit Group</translation>
        </message>
        <message>
            <source>Group name:</source>
            <translation>Group name:</translation>
        </message>
        <message>
            <source>Members:</source>
            <translation>Members:</translation>
        </message>
        <message>
            <source>%1 of at most %2 members</source>
            <translation>%1 of at most %2 members</translation>
        </message>
        <message>
            <source>Members</source>
            <translation>Members</translation>
        </message>
    </context>
    <context>
        <name>vextel_addressbook::MainWindow</name>
        <message>
            <source>Added here and by the other program, so in the book twice: %1. Delete one of each.</source>
            <translation>Added here and by the other program, so in the book twice: %1. Delete one of each.</translation>
        </message>
        <message>
            <source>What printer %1 answered was set aside: the window shows printer %2 now.</source>
            <translation>What printer %1 answered was set aside: the window shows printer %2 now.</translation>
        </message>
        <message>
            <source>Search names, fax numbers, companies and notes</source>
            <translation>Search names, fax numbers, companies and notes</translation>
        </message>
        <message>
            <source>Entries</source>
            <translation>Entries</translation>
        </message>
        <message>
            <source>Groups</source>
            <translation>Groups</translation>
        </message>
        <message>
            <source>&amp;File</source>
            <translation>&amp;File</translation>
        </message>
        <message>
            <source>&amp;New Book…</source>
            <translation>&amp;New Book…</translation>
        </message>
        <message>
            <source>New Book</source>
            <translation>New Book</translation>
        </message>
        <message>
            <source>Book name:</source>
            <translation>Book name:</translation>
        </message>
        <message>
            <source>&amp;Rename Book…</source>
            <translation>&amp;Rename Book…</translation>
        </message>
        <message>
            <source>Rename Book</source>
            <translation>Rename Book</translation>
        </message>
        <message>
            <source>&amp;Delete Book…</source>
            <translation>&amp;Delete Book…</translation>
        </message>
        <message>
            <source>&amp;Save</source>
            <translation>&amp;Save</translation>
        </message>
        <message>
            <source>&amp;Import…</source>
            <translation>&amp;Import…</translation>
        </message>
        <message>
            <source>Ctrl+I</source>
            <translation>Ctrl+I</translation>
        </message>
        <message>
            <source>&amp;Export…</source>
            <translation>&amp;Export…</translation>
        </message>
        <message>
            <source>Ctrl+E</source>
            <translation>Ctrl+E</translation>
        </message>
        <message>
            <source>&amp;Quit</source>
            <translation>&amp;Quit</translation>
        </message>
        <message>
            <source>&amp;Edit</source>
            <translation>&amp;Edit</translation>
        </message>
        <message>
            <source>New &amp;Entry…</source>
            <translation>New &amp;Entry…</translation>
        </message>
        <message>
            <source>Ctrl+Shift+N</source>
            <translation>Ctrl+Shift+N</translation>
        </message>
        <message>
            <source>New &amp;Group…</source>
            <translation>New &amp;Group…</translation>
        </message>
        <message>
            <source>Ctrl+G</source>
            <translation>Ctrl+G</translation>
        </message>
        <message>
            <source>Ed&amp;it…</source>
            <translation>Ed&amp;it…</translation>
        </message>
        <message>
            <source>&amp;Delete</source>
            <translation>&amp;Delete</translation>
        </message>
        <message>
            <source>&amp;Copy to Book…</source>
            <translation>&amp;Copy to Book…</translation>
        </message>
        <message>
            <source>Ctrl+Shift+C</source>
            <translation>Ctrl+Shift+C</translation>
        </message>
        <message>
            <source>&amp;Find</source>
            <translation>&amp;Find</translation>
        </message>
        <message>
            <source>&amp;Printer</source>
            <translation>&amp;Printer</translation>
        </message>
        <message>
            <source>&amp;Connect to Printer…</source>
            <translation>&amp;Connect to Printer…</translation>
        </message>
        <message>
            <source>&amp;Read Printer's Book</source>
            <translation>&amp;Read Printer's Book</translation>
        </message>
        <message>
            <source>Ctrl+R</source>
            <translation>Ctrl+R</translation>
        </message>
        <message>
            <source>Main</source>
            <translation>Main</translation>
        </message>
        <message>
            <source>&amp;Undo</source>
            <translation>&amp;Undo</translation>
        </message>
        <message>
            <source>&amp;Redo</source>
            <translation>&amp;Redo</translation>
        </message>
        <message>
            <source>Vextel Address Book</source>
            <translation>Vextel Address Book</translation>
        </message>
        <message>
            <source>Printer %1 — %2</source>
            <translation>Printer %1 — %2</translation>
        </message>
        <message>
            <source>Printer (%1)%2</source>
            <translation>Printer (%1)%2</translation>
        </message>
        <message>
            <source> — double-click to read</source>
            <translation> — double-click to read</translation>
        </message>
        <message>
            <source>The book “%1” cannot be read: %2</source>
            <translation>The book “%1” cannot be read: %2</translation>
        </message>
        <message>
            <source>The printer's book (read-only): %1.</source>
            <translation>The printer's book (read-only): %1.</translation>
        </message>
        <message>
            <source>The printer's book is not read yet.</source>
            <translation>The printer's book is not read yet.</translation>
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
                <numerusform>%n entry</numerusform>
                <numerusform>%n entries</numerusform>
            </translation>
        </message>
        <message numerus="yes">
            <source>%n groups</source>
            <translation>
                <numerusform>%n group</numerusform>
                <numerusform>%n groups</numerusform>
            </translation>
        </message>
        <message>
            <source>“%1” cannot be a book's name.</source>
            <translation>“%1” cannot be a book's name.</translation>
        </message>
        <message>
            <source>A book named “%1” exists already.</source>
            <translation>A book named “%1” exists already.</translation>
        </message>
        <message>
            <source>The book “%1” cannot be made: %2</source>
            <translation>The book “%1” cannot be made: %2</translation>
        </message>
        <message>
            <source>The book cannot be renamed.</source>
            <translation>The book cannot be renamed.</translation>
        </message>
        <message>
            <source>Move the book “%1” to the trash?</source>
            <translation>Move the book “%1” to the trash?</translation>
        </message>
        <message>
            <source>The book cannot be deleted.</source>
            <translation>The book cannot be deleted.</translation>
        </message>
        <message>
            <source>The book “%1” cannot be saved: %2</source>
            <translation>The book “%1” cannot be saved: %2</translation>
        </message>
        <message>
            <source>The book “%1” was removed by another program; save it to keep it.</source>
            <translation>The book “%1” was removed by another program; save it to keep it.</translation>
        </message>
        <message>
            <source>The book “%1” was changed by another program and cannot be read: %2</source>
            <translation>The book “%1” was changed by another program and cannot be read: %2</translation>
        </message>
        <message>
            <source>“%1” was changed by another program: its changes and yours are merged; save to keep them.</source>
            <translation>“%1” was changed by another program: its changes and yours are merged; save to keep them.</translation>
        </message>
        <message>
            <source>“%1” was changed by another program and is read again.</source>
            <translation>“%1” was changed by another program and is read again.</translation>
        </message>
        <message>
            <source>Choose the PC book to import into first.</source>
            <translation>Choose the PC book to import into first.</translation>
        </message>
        <message>
            <source>“%1” cannot be read: %2</source>
            <translation>“%1” cannot be read: %2</translation>
        </message>
        <message>
            <source>“%1” cannot be imported: %2</source>
            <translation>“%1” cannot be imported: %2</translation>
        </message>
        <message>
            <source>Import</source>
            <translation>Import</translation>
        </message>
        <message numerus="yes">
            <source>%n entries imported; left out:
%1</source>
            <translation>
                <numerusform>%n entry imported; left out:
%1</numerusform>
                <numerusform>%n entries imported; left out:
%1</numerusform>
            </translation>
        </message>
        <message numerus="yes">
            <source>%n entries imported.</source>
            <translation>
                <numerusform>%n entry imported.</numerusform>
                <numerusform>%n entries imported.</numerusform>
            </translation>
        </message>
        <message numerus="yes">
            <source>%n left out, as the preview showed.</source>
            <translation>
                <numerusform>%n left out, as the preview showed.</numerusform>
                <numerusform>%n left out, as the preview showed.</numerusform>
            </translation>
        </message>
        <message>
            <source>The book cannot be exported to “%1”: %2</source>
            <translation>The book cannot be exported to “%1”: %2</translation>
        </message>
        <message>
            <source>Address books (*.vcf *.vcard *.csv *.txt)</source>
            <translation>Address books (*.vcf *.vcard *.csv *.txt)</translation>
        </message>
        <message>
            <source>Export</source>
            <translation>Export</translation>
        </message>
        <message>
            <source>vCard 4.0 (*.vcf);;CSV (*.csv)</source>
            <translation>vCard 4.0 (*.vcf);;CSV (*.csv)</translation>
        </message>
        <message>
            <source>Read the printer's book first.</source>
            <translation>Read the printer's book first.</translation>
        </message>
        <message>
            <source>Writing the printer's book…</source>
            <translation>Writing the printer's book…</translation>
        </message>
        <message>
            <source>Copy from %1</source>
            <translation>Copy from %1</translation>
        </message>
        <message>
            <source>the printer</source>
            <translation>the printer</translation>
        </message>
        <message>
            <source>Left out of the copy:
%1</source>
            <translation>Left out of the copy:
%1</translation>
        </message>
        <message>
            <source>There is no other book to copy to.</source>
            <translation>There is no other book to copy to.</translation>
        </message>
        <message>
            <source>Copy to Book</source>
            <translation>Copy to Book</translation>
        </message>
        <message>
            <source>Copy the selection to:</source>
            <translation>Copy the selection to:</translation>
        </message>
        <message>
            <source>Reading the printer's book…</source>
            <translation>Reading the printer's book…</translation>
        </message>
        <message>
            <source>Save the changes to %1 before closing?</source>
            <translation>Save the changes to %1 before closing?</translation>
        </message>
        <message>
            <source>Address books</source>
            <translation>Address books</translation>
        </message>
        <message>
            <source>Search</source>
            <translation>Search</translation>
        </message>
        <message>
            <source>Entry list</source>
            <translation>Entry list</translation>
        </message>
        <message>
            <source>Group list</source>
            <translation>Group list</translation>
        </message>
        <message>
            <source>Working with the printer</source>
            <translation>Working with the printer</translation>
        </message>
        <message>
            <source>There is no address book yet. Make one with File &gt; New Book (Ctrl+N), then bring in contacts with File &gt; Import (Ctrl+I) from a phone's vCard file or a CSV file. The printer's own book is read with Printer &gt; Connect to Printer.</source>
            <translation>There is no address book yet. Make one with File &gt; New Book (Ctrl+N), then bring in contacts with File &gt; Import (Ctrl+I) from a phone's vCard file or a CSV file. The printer's own book is read with Printer &gt; Connect to Printer.</translation>
        </message>
        <message>
            <source>“%1” was changed by another program meanwhile: its changes and yours are saved together.</source>
            <translation>“%1” was changed by another program meanwhile: its changes and yours are saved together.</translation>
        </message>
        <message>
            <source>Both changed the same field of %1: yours is kept, the other program's value is replaced.</source>
            <translation>Both changed the same field of %1: yours is kept, the other program's value is replaced.</translation>
        </message>
        <message>
            <source>Deleted on one side and changed on the other, so kept: %1.</source>
            <translation>Deleted on one side and changed on the other, so kept: %1.</translation>
        </message>
        <message>
            <source>Members whose entries were deleted are no longer in %1.</source>
            <translation>Members whose entries were deleted are no longer in %1.</translation>
        </message>
    </context>
    <context>
        <name>vextel_addressbook::PasswordDialog</name>
        <message>
            <source>Printer Password</source>
            <translation>Printer Password</translation>
        </message>
        <message>
            <source>The printer %1 asks for its password.</source>
            <translation>The printer %1 asks for its password.</translation>
        </message>
        <message>
            <source>Password:</source>
            <translation>Password:</translation>
        </message>
    </context>
    <context>
        <name>vextel_addressbook::PrinterDialog</name>
        <message>
            <source>Connect to Printer</source>
            <translation>Connect to Printer</translation>
        </message>
        <message>
            <source>On the network, at the address:</source>
            <translation>On the network, at the address:</translation>
        </message>
        <message>
            <source>On USB</source>
            <translation>On USB</translation>
        </message>
        <message>
            <source>Printer address</source>
            <translation>Printer address</translation>
        </message>
    </context>
    <context>
        <name>vextel_addressbook::BookDocument</name>
        <message>
            <source>Add Entry</source>
            <translation>Add Entry</translation>
        </message>
        <message>
            <source>Edit Entry</source>
            <translation>Edit Entry</translation>
        </message>
        <message>
            <source>Add Group</source>
            <translation>Add Group</translation>
        </message>
        <message>
            <source>Edit Group</source>
            <translation>Edit Group</translation>
        </message>
        <message>
            <source>Delete Entry</source>
            <translation>Delete Entry</translation>
        </message>
        <message>
            <source>Delete Entries</source>
            <translation>Delete Entries</translation>
        </message>
        <message>
            <source>Delete Group</source>
            <translation>Delete Group</translation>
        </message>
        <message>
            <source>Delete Groups</source>
            <translation>Delete Groups</translation>
        </message>
        <message>
            <source>The entry is no longer in the book.</source>
            <translation>The entry is no longer in the book.</translation>
        </message>
        <message>
            <source>The group is no longer in the book.</source>
            <translation>The group is no longer in the book.</translation>
        </message>
        <message>
            <source>Group %1: none of its members is added.</source>
            <translation>Group %1: none of its members is added.</translation>
        </message>
        <message>
            <source>Group %1: %2</source>
            <translation>Group %1: %2</translation>
        </message>
    </context>
    <context>
        <name>vextel_addressbook::VCardBookStore</name>
        <message>
            <source>The file does not exist.</source>
            <translation>The file does not exist.</translation>
        </message>
        <message>
            <source>The file cannot be read.</source>
            <translation>The file cannot be read.</translation>
        </message>
        <message>
            <source>The file is not a vCard address book.</source>
            <translation>The file is not a vCard address book.</translation>
        </message>
        <message>
            <source>The file holds more than 65,535 entries.</source>
            <translation>The file holds more than 65,535 entries.</translation>
        </message>
        <message>
            <source>The file cannot be written; it is unchanged.</source>
            <translation>The file cannot be written; it is unchanged.</translation>
        </message>
        <message>
            <source>Another program keeps the book locked; it is unchanged. Try again in a moment.</source>
            <translation>Another program keeps the book locked; it is unchanged. Try again in a moment.</translation>
        </message>
        <message>
            <source>The address-book folder cannot be made or read.</source>
            <translation>The address-book folder cannot be made or read.</translation>
        </message>
        <message>
            <source>The address-book library answered status 0x%1.</source>
            <translation>The address-book library answered status 0x%1.</translation>
        </message>
    </context>
    <context>
        <name>vextel_addressbook::VCardImportDialog</name>
        <message>
            <source>Import vCard</source>
            <translation>Import vCard</translation>
        </message>
    </context>
</TS>
