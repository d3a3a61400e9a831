<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>Localizable3</name>
    <message>
        <source>Address Book...</source>
        <translation>Adressbuch-Editor des Druckers...</translation>
    </message>
    <message>
        <source>Cover Page Settings</source>
        <translation>Faxdeckblatt</translation>
    </message>
    <message>
        <source>Sender Name</source>
        <translatorcomment>Kept as the English key: this model uses the family's translation.</translatorcomment>
        <translation>Sender Name</translation>
    </message>
</context>
</TS>
