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
    <message>
        <source>Fax Transmission</source>
        <translation>ファクス送信</translation>
    </message>
    <message>
        <source>Name:</source>
        <translation>名前:</translation>
    </message>
    <message>
        <source>Fax Number:</source>
        <translation>ファクス番号:</translation>
    </message>
    <message>
        <source>Recipients:</source>
        <translation>宛先:</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>名前</translation>
    </message>
    <message>
        <source>Fax Number</source>
        <translation>ファクス番号</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>追加</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>編集</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>削除</translation>
    </message>
    <message>
        <source>Address Book:</source>
        <translation>アドレス帳:</translation>
    </message>
    <message>
        <source>Add to Address Book</source>
        <translation>アドレス帳に追加</translation>
    </message>
    <message>
        <source>PC Address Book...</source>
        <translation>PCのアドレス帳...</translation>
    </message>
    <message>
        <source>Device Address Book...</source>
        <translation>本体のアドレス帳...</translation>
    </message>
    <message>
        <source>Authorization</source>
        <translation>認証</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>パスワード:</translation>
    </message>
    <message>
        <source>Delayed Send</source>
        <translation>時刻指定送信</translation>
    </message>
    <message>
        <source>Send Later</source>
        <translation>時刻を指定して送信</translation>
    </message>
    <message>
        <source>Time:</source>
        <translation>時刻:</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>ヘルプ</translation>
    </message>
    <message>
        <source>Start</source>
        <translation>送信開始</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>中止</translation>
    </message>
    <message>
        <source>No More Destination</source>
        <translation>これ以上宛先を追加できません</translation>
    </message>
    <message>
        <source>Duplicated Address Found</source>
        <translation>同じ宛先があります</translation>
    </message>
    <message>
        <source>Add the same address to destinations?</source>
        <translation>同じ宛先を追加しますか?</translation>
    </message>
    <message>
        <source>Characters added to Fax Number</source>
        <translation>ファクス番号が入力されています</translation>
    </message>
    <message>
        <source>Current number is automatically added</source>
        <translation>入力中の番号を宛先に追加します</translation>
    </message>
    <message>
        <source>No Sender Specified</source>
        <translation>宛先が指定されていません</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
    <message>
        <source>Address Book</source>
        <translation>アドレス帳</translation>
    </message>
    <message>
        <source>PC Address Book</source>
        <translation>PCアドレス帳</translation>
    </message>
    <message>
        <source>Device Address Book</source>
        <translation>本体アドレス帳</translation>
    </message>
    <message>
        <source>Add to Recipients</source>
        <translation>宛先に追加</translation>
    </message>
    <message>
        <source>Properties</source>
        <translation>プロパティ</translation>
    </message>
    <message>
        <source>Group Properties</source>
        <translation>グループのプロパティ</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>削除</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>閉じる</translation>
    </message>
    <message>
        <source>Company:</source>
        <translation>会社名:</translation>
    </message>
    <message>
        <source>Note:</source>
        <translation>メモ:</translation>
    </message>
    <message>
        <source>Members:</source>
        <translation>メンバー:</translation>
    </message>
    <message>
        <source>Address Book file is none</source>
        <translation>アドレス帳ファイルがありません</translation>
    </message>
    <message>
        <source>Device Access Failure</source>
        <translation>本体にアクセスできません</translation>
    </message>
    <message>
        <source>Invalid Password</source>
        <translation>パスワードが正しくありません</translation>
    </message>
    <message>
        <source>Failed to retrieve data</source>
        <translation>データを取得できませんでした</translation>
    </message>
    <message>
        <source>Added to Address Book.</source>
        <translation>アドレス帳に追加しました。</translation>
    </message>
    <message>
        <source>Address already exists.</source>
        <translation>アドレスはすでに登録されています。</translation>
    </message>
    <message>
        <source>No name specified.</source>
        <translation>名前が指定されていません。</translation>
    </message>
    <message>
        <source>Cannot add to the file.</source>
        <translation>ファイルに追加できません。</translation>
    </message>
    <message>
        <source>The sender name can have at most 30 characters: letters A to Z, digits, spaces and punctuation.</source>
        <translation>送信者名は30文字以内で、半角の英字、数字、スペース、記号だけを使えます。</translation>
    </message>
    <message>
        <source>Address Book Editor not found.</source>
        <translation>アドレス帳エディタが見つかりません。</translation>
    </message>
    <message>
        <source>Fax Settings</source>
        <translation>ファクス設定</translation>
    </message>
    <message>
        <source>Image Quality</source>
        <translation>画質</translation>
    </message>
    <message>
        <source>Transmission Report</source>
        <translation>送信レポート</translation>
    </message>
    <message>
        <source>Cover Page</source>
        <translation>送付状</translation>
    </message>
    <message>
        <source>Sender</source>
        <translation>差出人</translation>
    </message>
    <message>
        <source>Search</source>
        <translation>検索</translation>
    </message>
    <message>
        <source>Group</source>
        <translation>グループ</translation>
    </message>
    <message>
        <source>Entries</source>
        <translation>エントリ</translation>
    </message>
    <message>
        <source>Recipients</source>
        <translation>宛先</translation>
    </message>
    <message>
        <source>Members</source>
        <translation>メンバー</translation>
    </message>
</context>
</TS>
