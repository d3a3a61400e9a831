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
    <message>
        <source>Fax Transmission</source>
        <translation>Fax Transmission</translation>
    </message>
    <message>
        <source>Name:</source>
        <translation>Name:</translation>
    </message>
    <message>
        <source>Fax Number:</source>
        <translation>Fax Number:</translation>
    </message>
    <message>
        <source>Recipients:</source>
        <translation>Recipients:</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Fax Number</source>
        <translation>Fax Number</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Add</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Address Book:</source>
        <translation>Address Book:</translation>
    </message>
    <message>
        <source>Add to Address Book</source>
        <translation>Add to Address Book</translation>
    </message>
    <message>
        <source>PC Address Book...</source>
        <translation>PC Address Book...</translation>
    </message>
    <message>
        <source>Device Address Book...</source>
        <translation>Device Address Book...</translation>
    </message>
    <message>
        <source>Authorization</source>
        <translation>Authorization</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Password:</translation>
    </message>
    <message>
        <source>Delayed Send</source>
        <translation>Delayed Send</translation>
    </message>
    <message>
        <source>Send Later</source>
        <translation>Send Later</translation>
    </message>
    <message>
        <source>Time:</source>
        <translation>Time:</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>No More Destination</source>
        <translation>No More Destination</translation>
    </message>
    <message>
        <source>Duplicated Address Found</source>
        <translation>Duplicated Address Found</translation>
    </message>
    <message>
        <source>Add the same address to destinations?</source>
        <translation>Add the same address to destinations?</translation>
    </message>
    <message>
        <source>Characters added to Fax Number</source>
        <translation>Characters added to Fax Number</translation>
    </message>
    <message>
        <source>Current number is automatically added</source>
        <translation>Current number is automatically added</translation>
    </message>
    <message>
        <source>No Sender Specified</source>
        <translation>No Sender Specified</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Address Book</source>
        <translation>Address Book</translation>
    </message>
    <message>
        <source>PC Address Book</source>
        <translation>PC Address Book</translation>
    </message>
    <message>
        <source>Device Address Book</source>
        <translation>Device Address Book</translation>
    </message>
    <message>
        <source>Add to Recipients</source>
        <translation>Add to Recipients</translation>
    </message>
    <message>
        <source>Properties</source>
        <translation>Properties</translation>
    </message>
    <message>
        <source>Group Properties</source>
        <translation>Group Properties</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Remove</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Company:</source>
        <translation>Company:</translation>
    </message>
    <message>
        <source>Note:</source>
        <translation>Note:</translation>
    </message>
    <message>
        <source>Members:</source>
        <translation>Members:</translation>
    </message>
    <message>
        <source>Address Book file is none</source>
        <translation>Address Book file is none</translation>
    </message>
    <message>
        <source>Device Access Failure</source>
        <translation>Device Access Failure</translation>
    </message>
    <message>
        <source>Invalid Password</source>
        <translation>Invalid Password</translation>
    </message>
    <message>
        <source>Failed to retrieve data</source>
        <translation>Failed to retrieve data</translation>
    </message>
    <message>
        <source>Added to Address Book.</source>
        <translation>Added to Address Book.</translation>
    </message>
    <message>
        <source>Address already exists.</source>
        <translation>Address already exists.</translation>
    </message>
    <message>
        <source>No name specified.</source>
        <translation>No name specified.</translation>
    </message>
    <message>
        <source>Cannot add to the file.</source>
        <translation>Cannot add to the file.</translation>
    </message>
    <message>
        <source>The sender name can have at most 30 characters: letters A to Z, digits, spaces and punctuation.</source>
        <translation>The sender name can have at most 30 characters: letters A to Z, digits, spaces and punctuation.</translation>
    </message>
    <message>
        <source>Address Book Editor not found.</source>
        <translation>Address Book Editor not found.</translation>
    </message>
    <message>
        <source>Fax Settings</source>
        <translation>Fax Settings</translation>
    </message>
    <message>
        <source>Image Quality</source>
        <translation>Image Quality</translation>
    </message>
    <message>
        <source>Transmission Report</source>
        <translation>Transmission Report</translation>
    </message>
    <message>
        <source>Cover Page</source>
        <translation>Cover Page</translation>
    </message>
    <message>
        <source>Sender</source>
        <translation>Sender</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>Search</translation>
    </message>
    <message>
        <source>Group</source>
        <translation>Group</translation>
    </message>
    <message>
        <source>Entries</source>
        <translation>Entries</translation>
    </message>
    <message>
        <source>Recipients</source>
        <translation>Recipients</translation>
    </message>
    <message>
        <source>Members</source>
        <translation>Members</translation>
    </message>
</context>
</TS>
