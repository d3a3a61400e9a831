<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja">
<context>
    <name>Localizable</name>
    <message>
        <source>Address Book...</source>
        <translation>アドレス帳...</translation>
    </message>
    <message>
        <source>Cover Page Settings</source>
        <translation>送付状の設定</translation>
    </message>
    <message>
        <source>Custom PDE Title</source>
        <translation>ファクス設定</translation>
    </message>
    <message>
        <source>Defaults</source>
        <translation>初期設定</translation>
    </message>
    <message>
        <source>Sender Name</source>
        <translation>差出人名</translation>
    </message>
</context>
</TS>
