<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja">
    <context>
        <name>vextel_addressbook::ContactDialog</name>
        <message>
            <source>none; more as 0123, 0456</source>
            <translation>なし。複数は 0123, 0456 のように</translation>
        </message>
        <message>
            <source>New Entry</source>
            <translation>新しいエントリ</translation>
        </message>
        <message>
            <source>Edit Entry</source>
            <translation>エントリの編集</translation>
        </message>
        <message>
            <source>%1:</source>
            <translation>%1:</translation>
        </message>
        <message>
            <source>digits and # * - : =</source>
            <translation>数字と # * - : =</translation>
        </message>
    </context>
    <context>
        <name>vextel_addressbook::CsvImportDialog</name>
        <message>
            <source>Import CSV</source>
            <translation>CSV の読み込み</translation>
        </message>
        <message>
            <source>The first row holds column titles</source>
            <translation>1 行目は列の見出し</translation>
        </message>
        <message>
            <source>(not imported)</source>
            <translation>(読み込まない)</translation>
        </message>
        <message>
            <source>Column %1: %2</source>
            <translation>列 %1: %2</translation>
        </message>
</context>
    <context>
        <name>vextel_addressbook::EntryRules</name>
        <message>
            <source>Other fax numbers</source>
            <translation>その他のファクス番号</translation>
        </message>
        <message>
            <source>The fax number %1 is in this entry twice.</source>
            <translation>ファクス番号 %1 がこのエントリに2回あります。</translation>
        </message>
        <message>
            <source>“%1” with the fax number %2 is already in the book.</source>
            <translation>ファクス番号 %2 の「%1」はすでにアドレス帳にあります。</translation>
        </message>
        <message>
            <source>Name</source>
            <translation>名前</translation>
        </message>
        <message>
            <source>Fax number</source>
            <translation>ファクス番号</translation>
        </message>
        <message>
            <source>Company</source>
            <translation>会社名</translation>
        </message>
        <message>
            <source>Note</source>
            <translation>メモ</translation>
        </message>
        <message>
            <source>Group name</source>
            <translation>グループ名</translation>
        </message>
        <message>
            <source>%1 is empty.</source>
            <translation>%1が空です。</translation>
        </message>
        <message>
            <source>A group holds at most %1 members; this one has %2.</source>
            <translation>グループのメンバーは %1 件までです。このグループには %2 件あります。</translation>
        </message>
        <message>
            <source>A member of the group is not an entry of this book.</source>
            <translation>グループのメンバーにこのアドレス帳にないエントリがあります。</translation>
        </message>
        <message>
            <source>An entry is a member of the group twice.</source>
            <translation>同じエントリがグループに 2 回含まれています。</translation>
        </message>
        <message numerus="yes">
            <source>%1 is longer than %n characters.</source>
            <translation>
                <numerusform>%1が %n 文字を超えています。</numerusform>
            </translation>
        </message>
        <message>
            <source>%1 holds a character it cannot take: “%2”.</source>
            <translation>%1に使えない文字が含まれています: 「%2」。</translation>
        </message>
        <message>
            <source>%1 holds no digit.</source>
            <translation>%1に数字が含まれていません。</translation>
        </message>
    </context>
    <context>
        <name>vextel_addressbook::ImportPreview</name>
        <message>
            <source>The digits this fax line dials to call abroad, written for the “+” of an international number</source>
            <translation>この回線から国際電話をかけるときにダイヤルする数字。国際番号の「+」の代わりに書き込みます</translation>
        </message>
        <message>
            <source>International prefix for “+”:</source>
            <translation>「+」の国際プレフィックス:</translation>
        </message>
        <message>
            <source>Problem</source>
            <translation>問題</translation>
        </message>
        <message>
            <source>%1, %2, %3.</source>
            <comment>imported entries, entries left out, groups</comment>
            <translation>%1、%2、%3。</translation>
        </message>
        <message numerus="yes">
            <source>%n entries will be imported</source>
            <translation>
                <numerusform>%n 件のエントリを読み込みます</numerusform>
            </translation>
        </message>
        <message numerus="yes">
            <source>%n left out for a problem</source>
            <translation>
                <numerusform>%n 件は問題があるため除外</numerusform>
            </translation>
        </message>
        <message numerus="yes">
            <source>%n groups</source>
            <translation>
                <numerusform>%n 件のグループ</numerusform>
            </translation>
        </message>
        <message>
            <source>Preview</source>
            <translation>プレビュー</translation>
        </message>
            <message>
            <source>Changes</source>
            <translation>変更</translation>
        </message>
        <message numerus="yes">
            <source>The fax numbers of %n entries are written as the printer dials them (see Changes).</source>
            <translation>
                <numerusform>%n 件のエントリのファクス番号をプリンターがダイヤルできる形に書き換えます (「変更」を参照)。</numerusform>
            </translation>
        </message>
    </context>
    <context>
        <name>vextel_addressbook::EntryTableModel</name>
        <message>
            <source>Name</source>
            <translation>名前</translation>
        </message>
        <message>
            <source>Fax number</source>
            <translation>ファクス番号</translation>
        </message>
        <message>
            <source>Company</source>
            <translation>会社名</translation>
        </message>
        <message>
            <source>Note</source>
            <translation>メモ</translation>
        </message>
        <message>
            <source>Members</source>
            <translation>メンバー</translation>
        </message>
        <message>
            <source>Member names</source>
            <translation>メンバー</translation>
        </message>
    </context>
    <context>
        <name>vextel_addressbook::GroupDialog</name>
        <message>
            <source>New Group</source>
            <translation>新しいグループ</translation>
        </message>
        <message>
            <source>Edit Group</source>
            <translation>グループの編集</translation>
        </message>
        <message>
            <source>Group name:</source>
            <translation>グループ名:</translation>
        </message>
        <message>
            <source>Members:</source>
            <translation>メンバー:</translation>
        </message>
        <message>
            <source>%1 of at most %2 members</source>
            <translation>メンバー %1 件 (最大 %2 件)</translation>
        </message>
        <message>
            <source>Members</source>
            <translation>メンバー</translation>
        </message>
    </context>
    <context>
        <name>vextel_addressbook::MainWindow</name>
        <message>
            <source>Added here and by the other program, so in the book twice: %1. Delete one of each.</source>
            <translation>ここと別のプログラムの両方で追加されたため、アドレス帳に2回あります: %1。どちらか一方を削除してください。</translation>
        </message>
        <message>
            <source>What printer %1 answered was set aside: the window shows printer %2 now.</source>
            <translation>プリンタ %1 の応答は使われませんでした。ウィンドウには今プリンタ %2 が表示されています。</translation>
        </message>
        <message>
            <source>Search names, fax numbers, companies and notes</source>
            <translation>名前、ファクス番号、会社名、メモを検索</translation>
        </message>
        <message>
            <source>Entries</source>
            <translation>エントリ</translation>
        </message>
        <message>
            <source>Groups</source>
            <translation>グループ</translation>
        </message>
        <message>
            <source>&amp;File</source>
            <translation>ファイル(&amp;F)</translation>
        </message>
        <message>
            <source>&amp;New Book…</source>
            <translation>新しいアドレス帳(&amp;N)…</translation>
        </message>
        <message>
            <source>New Book</source>
            <translation>新しいアドレス帳</translation>
        </message>
        <message>
            <source>Book name:</source>
            <translation>アドレス帳の名前:</translation>
        </message>
        <message>
            <source>&amp;Rename Book…</source>
            <translation>アドレス帳の名前を変更(&amp;R)…</translation>
        </message>
        <message>
            <source>Rename Book</source>
            <translation>アドレス帳の名前を変更</translation>
        </message>
        <message>
            <source>&amp;Delete Book…</source>
            <translation>アドレス帳を削除(&amp;D)…</translation>
        </message>
        <message>
            <source>&amp;Save</source>
            <translation>保存(&amp;S)</translation>
        </message>
        <message>
            <source>&amp;Import…</source>
            <translation>読み込み(&amp;I)…</translation>
        </message>
        <message>
            <source>Ctrl+I</source>
            <translation>Ctrl+I</translation>
        </message>
        <message>
            <source>&amp;Export…</source>
            <translation>書き出し(&amp;E)…</translation>
        </message>
        <message>
            <source>Ctrl+E</source>
            <translation>Ctrl+E</translation>
        </message>
        <message>
            <source>&amp;Quit</source>
            <translation>終了(&amp;Q)</translation>
        </message>
        <message>
            <source>&amp;Edit</source>
            <translation>編集(&amp;E)</translation>
        </message>
        <message>
            <source>New &amp;Entry…</source>
            <translation>新しいエントリ(&amp;E)…</translation>
        </message>
        <message>
            <source>Ctrl+Shift+N</source>
            <translation>Ctrl+Shift+N</translation>
        </message>
        <message>
            <source>New &amp;Group…</source>
            <translation>新しいグループ(&amp;G)…</translation>
        </message>
        <message>
            <source>Ctrl+G</source>
            <translation>Ctrl+G</translation>
        </message>
        <message>
            <source>Ed&amp;it…</source>
            <translation>編集(&amp;I)…</translation>
        </message>
        <message>
            <source>&amp;Delete</source>
            <translation>削除(&amp;D)</translation>
        </message>
        <message>
            <source>&amp;Copy to Book…</source>
            <translation>アドレス帳にコピー(&amp;C)…</translation>
        </message>
        <message>
            <source>Ctrl+Shift+C</source>
            <translation>Ctrl+Shift+C</translation>
        </message>
        <message>
            <source>&amp;Find</source>
            <translation>検索(&amp;F)</translation>
        </message>
        <message>
            <source>&amp;Printer</source>
            <translation>プリンタ(&amp;P)</translation>
        </message>
        <message>
            <source>&amp;Connect to Printer…</source>
            <translation>プリンタに接続(&amp;C)…</translation>
        </message>
        <message>
            <source>&amp;Read Printer's Book</source>
            <translation>プリンタのアドレス帳を読み込む(&amp;R)</translation>
        </message>
        <message>
            <source>Ctrl+R</source>
            <translation>Ctrl+R</translation>
        </message>
        <message>
            <source>Main</source>
            <translation>ツールバー</translation>
        </message>
        <message>
            <source>&amp;Undo</source>
            <translation>元に戻す(&amp;U)</translation>
        </message>
        <message>
            <source>&amp;Redo</source>
            <translation>やり直す(&amp;R)</translation>
        </message>
        <message>
            <source>Vextel Address Book</source>
            <translation>Vextel アドレス帳</translation>
        </message>
        <message>
            <source>Printer %1 — %2</source>
            <translation>プリンタ %1 — %2</translation>
        </message>
        <message>
            <source>Printer (%1)%2</source>
            <translation>プリンタ (%1)%2</translation>
        </message>
        <message>
            <source> — double-click to read</source>
            <translation> — ダブルクリックで読み込み</translation>
        </message>
        <message>
            <source>The book “%1” cannot be read: %2</source>
            <translation>アドレス帳「%1」を読み込めません: %2</translation>
        </message>
        <message>
            <source>The printer's book (read-only): %1.</source>
            <translation>プリンタのアドレス帳 (読み取り専用): %1。</translation>
        </message>
        <message>
            <source>The printer's book is not read yet.</source>
            <translation>プリンタのアドレス帳はまだ読み込まれていません。</translation>
        </message>
        <message>
            <source>%1.</source>
            <translation>%1。</translation>
        </message>
        <message>
            <source>%1, %2</source>
            <comment>entries, groups</comment>
            <translation>%1、%2</translation>
        </message>
        <message numerus="yes">
            <source>%n entries</source>
            <translation>
                <numerusform>%n 件のエントリ</numerusform>
            </translation>
        </message>
        <message numerus="yes">
            <source>%n groups</source>
            <translation>
                <numerusform>%n 件のグループ</numerusform>
            </translation>
        </message>
        <message>
            <source>“%1” cannot be a book's name.</source>
            <translation>「%1」はアドレス帳の名前に使えません。</translation>
        </message>
        <message>
            <source>A book named “%1” exists already.</source>
            <translation>「%1」という名前のアドレス帳はすでにあります。</translation>
        </message>
        <message>
            <source>The book “%1” cannot be made: %2</source>
            <translation>アドレス帳「%1」を作成できません: %2</translation>
        </message>
        <message>
            <source>The book cannot be renamed.</source>
            <translation>アドレス帳の名前を変更できません。</translation>
        </message>
        <message>
            <source>Move the book “%1” to the trash?</source>
            <translation>アドレス帳「%1」をゴミ箱に移動しますか?</translation>
        </message>
        <message>
            <source>The book cannot be deleted.</source>
            <translation>アドレス帳を削除できません。</translation>
        </message>
        <message>
            <source>The book “%1” cannot be saved: %2</source>
            <translation>アドレス帳「%1」を保存できません: %2</translation>
        </message>
        <message>
            <source>The book “%1” was removed by another program; save it to keep it.</source>
            <translation>アドレス帳「%1」は別のプログラムによって削除されました。残すには保存してください。</translation>
        </message>
        <message>
            <source>The book “%1” was changed by another program and cannot be read: %2</source>
            <translation>アドレス帳「%1」は別のプログラムによって変更され、読み込めません: %2</translation>
        </message>
        <message>
            <source>“%1” was changed by another program: its changes and yours are merged; save to keep them.</source>
            <translation>「%1」は別のプログラムによって変更されました。その変更とあなたの変更を統合しました。残すには保存してください。</translation>
        </message>
        <message>
            <source>“%1” was changed by another program and is read again.</source>
            <translation>「%1」は別のプログラムによって変更されたため、読み込み直しました。</translation>
        </message>
        <message>
            <source>Choose the PC book to import into first.</source>
            <translation>先に読み込み先の PC のアドレス帳を選んでください。</translation>
        </message>
        <message>
            <source>“%1” cannot be read: %2</source>
            <translation>「%1」を読み込めません: %2</translation>
        </message>
        <message>
            <source>“%1” cannot be imported: %2</source>
            <translation>「%1」を取り込めません: %2</translation>
        </message>
        <message>
            <source>Import</source>
            <translation>読み込み</translation>
        </message>
        <message numerus="yes">
            <source>%n entries imported; left out:
%1</source>
            <translation>
                <numerusform>%n 件のエントリを読み込みました。除外:
%1</numerusform>
            </translation>
        </message>
        <message numerus="yes">
            <source>%n entries imported.</source>
            <translation>
                <numerusform>%n 件のエントリを読み込みました。</numerusform>
            </translation>
        </message>
        <message numerus="yes">
            <source>%n left out, as the preview showed.</source>
            <translation>
                <numerusform>プレビューのとおり %n 件を除外しました。</numerusform>
            </translation>
        </message>
        <message>
            <source>The book cannot be exported to “%1”: %2</source>
            <translation>アドレス帳を「%1」に書き出せません: %2</translation>
        </message>
        <message>
            <source>Address books (*.vcf *.vcard *.csv *.txt)</source>
            <translation>アドレス帳 (*.vcf *.vcard *.csv *.txt)</translation>
        </message>
        <message>
            <source>Export</source>
            <translation>書き出し</translation>
        </message>
        <message>
            <source>vCard 4.0 (*.vcf);;CSV (*.csv)</source>
            <translation>vCard 4.0 (*.vcf);;CSV (*.csv)</translation>
        </message>
        <message>
            <source>Read the printer's book first.</source>
            <translation>先にプリンタのアドレス帳を読み込んでください。</translation>
        </message>
        <message>
            <source>Writing the printer's book…</source>
            <translation>プリンタのアドレス帳に書き込んでいます…</translation>
        </message>
        <message>
            <source>Copy from %1</source>
            <translation>%1 からコピー</translation>
        </message>
        <message>
            <source>the printer</source>
            <translation>プリンタ</translation>
        </message>
        <message>
            <source>Left out of the copy:
%1</source>
            <translation>コピーしなかったもの:
%1</translation>
        </message>
        <message>
            <source>There is no other book to copy to.</source>
            <translation>コピー先のアドレス帳がほかにありません。</translation>
        </message>
        <message>
            <source>Copy to Book</source>
            <translation>アドレス帳にコピー</translation>
        </message>
        <message>
            <source>Copy the selection to:</source>
            <translation>選択したものをコピーする先:</translation>
        </message>
        <message>
            <source>Reading the printer's book…</source>
            <translation>プリンタのアドレス帳を読み込んでいます…</translation>
        </message>
        <message>
            <source>Save the changes to %1 before closing?</source>
            <translation>閉じる前に %1 の変更を保存しますか?</translation>
        </message>
        <message>
            <source>Address books</source>
            <translation>アドレス帳</translation>
        </message>
        <message>
            <source>Search</source>
            <translation>検索</translation>
        </message>
        <message>
            <source>Entry list</source>
            <translation>エントリの一覧</translation>
        </message>
        <message>
            <source>Group list</source>
            <translation>グループの一覧</translation>
        </message>
        <message>
            <source>Working with the printer</source>
            <translation>プリンタと通信中</translation>
        </message>
        <message>
            <source>There is no address book yet. Make one with File &gt; New Book (Ctrl+N), then bring in contacts with File &gt; Import (Ctrl+I) from a phone's vCard file or a CSV file. The printer's own book is read with Printer &gt; Connect to Printer.</source>
            <translation>アドレス帳がまだありません。ファイル &gt; 新しいアドレス帳 (Ctrl+N) で作成し、ファイル &gt; 読み込み (Ctrl+I) で携帯電話の vCard ファイルや CSV ファイルから連絡先を取り込んでください。プリンタのアドレス帳は プリンタ &gt; プリンタに接続 で読み込めます。</translation>
        </message>
        <message>
            <source>“%1” was changed by another program meanwhile: its changes and yours are saved together.</source>
            <translation>「%1」はその間に別のプログラムによって変更されました。その変更とあなたの変更を一緒に保存します。</translation>
        </message>
        <message>
            <source>Both changed the same field of %1: yours is kept, the other program's value is replaced.</source>
            <translation>%1 の同じ項目が両方で変更されました。あなたの変更を残し、別のプログラムの値は置き換えます。</translation>
        </message>
        <message>
            <source>Deleted on one side and changed on the other, so kept: %1.</source>
            <translation>一方で削除され、もう一方で変更されたため残しました: %1。</translation>
        </message>
        <message>
            <source>Members whose entries were deleted are no longer in %1.</source>
            <translation>エントリが削除されたメンバーは %1 から外れました。</translation>
        </message>
    </context>
    <context>
        <name>vextel_addressbook::PasswordDialog</name>
        <message>
            <source>Printer Password</source>
            <translation>プリンタのパスワード</translation>
        </message>
        <message>
            <source>The printer %1 asks for its password.</source>
            <translation>プリンタ %1 のパスワードを入力してください。</translation>
        </message>
        <message>
            <source>Password:</source>
            <translation>パスワード:</translation>
        </message>
    </context>
    <context>
        <name>vextel_addressbook::PrinterDialog</name>
        <message>
            <source>Connect to Printer</source>
            <translation>プリンタに接続</translation>
        </message>
        <message>
            <source>On the network, at the address:</source>
            <translation>ネットワーク上のアドレス:</translation>
        </message>
        <message>
            <source>On USB</source>
            <translation>USB 接続</translation>
        </message>
        <message>
            <source>Printer address</source>
            <translation>プリンタのアドレス</translation>
        </message>
    </context>
    <context>
        <name>vextel_addressbook::BookDocument</name>
        <message>
            <source>Add Entry</source>
            <translation>エントリの追加</translation>
        </message>
        <message>
            <source>Edit Entry</source>
            <translation>エントリの編集</translation>
        </message>
        <message>
            <source>Add Group</source>
            <translation>グループの追加</translation>
        </message>
        <message>
            <source>Edit Group</source>
            <translation>グループの編集</translation>
        </message>
        <message>
            <source>Delete Entry</source>
            <translation>エントリの削除</translation>
        </message>
        <message>
            <source>Delete Entries</source>
            <translation>エントリの削除</translation>
        </message>
        <message>
            <source>Delete Group</source>
            <translation>グループの削除</translation>
        </message>
        <message>
            <source>Delete Groups</source>
            <translation>グループの削除</translation>
        </message>
        <message>
            <source>The entry is no longer in the book.</source>
            <translation>このエントリはもうアドレス帳にありません。</translation>
        </message>
        <message>
            <source>The group is no longer in the book.</source>
            <translation>このグループはもうアドレス帳にありません。</translation>
        </message>
        <message>
            <source>Group %1: none of its members is added.</source>
            <translation>グループ %1: メンバーが 1 件も追加されません。</translation>
        </message>
        <message>
            <source>Group %1: %2</source>
            <translation>グループ %1: %2</translation>
        </message>
    </context>
    <context>
        <name>vextel_addressbook::VCardBookStore</name>
        <message>
            <source>The file does not exist.</source>
            <translation>ファイルがありません。</translation>
        </message>
        <message>
            <source>The file cannot be read.</source>
            <translation>ファイルを読み込めません。</translation>
        </message>
        <message>
            <source>The file is not a vCard address book.</source>
            <translation>ファイルは vCard のアドレス帳ではありません。</translation>
        </message>
        <message>
            <source>The file holds more than 65,535 entries.</source>
            <translation>ファイルに 65,535 件を超えるエントリがあります。</translation>
        </message>
        <message>
            <source>The file cannot be written; it is unchanged.</source>
            <translation>ファイルに書き込めません。ファイルは変更されていません。</translation>
        </message>
        <message>
            <source>Another program keeps the book locked; it is unchanged. Try again in a moment.</source>
            <translation>別のプログラムがアドレス帳をロックしています。アドレス帳は変更されていません。しばらくしてからもう一度お試しください。</translation>
        </message>
        <message>
            <source>The address-book folder cannot be made or read.</source>
            <translation>アドレス帳のフォルダを作成または読み込みできません。</translation>
        </message>
        <message>
            <source>The address-book library answered status 0x%1.</source>
            <translation>アドレス帳ライブラリがステータス 0x%1 を返しました。</translation>
        </message>
    </context>
    <context>
        <name>vextel_addressbook::VCardImportDialog</name>
        <message>
            <source>Import vCard</source>
            <translation>vCard の読み込み</translation>
        </message>
    </context>
</TS>
