<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en">
<context>
    <name>Localizable</name>
    <message>
        <source>Address Book...</source>
        <translation>Address Book...</translation>
    </message>
    <message>
        <source>Cover Page Settings</source>
        <translation>Cover Page Settings</translation>
    </message>
    <message>
        <source>Custom PDE Title</source>
        <translation>Fax Settings</translation>
    </message>
    <message>
        <source>Defaults</source>
        <translation>Defaults</translation>
    </message>
    <message>
        <source>Sender Name</source>
        <translation>Sender Name</translation>
    </message>
</context>
</TS>
