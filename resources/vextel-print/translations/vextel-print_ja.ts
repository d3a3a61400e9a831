<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja">
    <context>
        <name>PrintDialog</name>
        <message>
            <source>Printer:</source>
            <translation>プリンタ:</translation>
        </message>
        <message>
            <source>Copies:</source>
            <translation>部数:</translation>
        </message>
        <message>
            <source>Destination:</source>
            <translation>出力先:</translation>
        </message>
        <message>
            <source>Panel</source>
            <translation>パネル</translation>
        </message>
        <message>
            <source>Help</source>
            <translation>ヘルプ</translation>
        </message>
        <message>
            <source>?</source>
            <translation>?</translation>
        </message>
        <message>
            <source>Cancel</source>
            <translation>キャンセル</translation>
        </message>
        <message>
            <source>Print</source>
            <translation>プリント</translation>
        </message>
    </context>
    <context>
        <name>vextel_print::FaxAgent</name>
        <message>
            <source>A fax is waiting</source>
            <translation>ファクスが送信を待っています</translation>
        </message>
        <message>
            <source>"%1" is ready to be sent as a fax.</source>
            <translation>「%1」をファクスとして送信できます。</translation>
        </message>
        <message>
            <source>The fax could not be sent</source>
            <translation>ファクスを送信できませんでした</translation>
        </message>
        <message>
            <source>"%1" was not sent: %2. It is offered again when the agent starts next.</source>
            <translation>「%1」は送信されませんでした: %2。次にエージェントが起動したときに再度表示されます。</translation>
        </message>
        <message>
            <source>A captured fax job was refused: %1. It is kept in %2.</source>
            <translation>受け付けたファクスジョブは拒否されました: %1。%2 に保存されています。</translation>
        </message>
    </context>
    <context>
        <name>vextel_print::PrintDialog</name>
        <message>
            <source>Summary</source>
            <translation>概要</translation>
        </message>
        <message>
            <source>Printer</source>
            <translation>プリンタ</translation>
        </message>
        <message>
            <source>PDF File</source>
            <translation>PDF ファイル</translation>
        </message>
        <message>
            <source>Preview</source>
            <translation>プレビュー</translation>
        </message>
        <message>
            <source>Print</source>
            <translation>プリント</translation>
        </message>
        <message>
            <source>This panel is not available.</source>
            <translation>このパネルは使用できません。</translation>
        </message>
        <message>
            <source>Setting</source>
            <translation>設定</translation>
        </message>
        <message>
            <source>Value</source>
            <translation>値</translation>
        </message>
        <message>
            <source>The settings in “%1” cannot be used.</source>
            <translation>「%1」の設定は使用できません。</translation>
        </message>
        <message>
            <source>OK</source>
            <translation>OK</translation>
        </message>
        <message>
            <source>Save as PDF</source>
            <translation>PDF として保存</translation>
        </message>
        <message>
            <source>PDF files (*.pdf)</source>
            <translation>PDF ファイル (*.pdf)</translation>
        </message>
        <message>
            <source>the job was cancelled</source>
            <translation>ジョブは取り消されました</translation>
        </message>
        <message>
            <source>Sending the job…</source>
            <translation>ジョブを送信しています…</translation>
        </message>
        <message>
            <source>The job could not be sent.</source>
            <translation>ジョブを送信できませんでした。</translation>
        </message>
        <message>
            <source>Help</source>
            <translation>ヘルプ</translation>
        </message>
        <message>
            <source>Choose the printer's options in the panels, then press Print.</source>
            <translation>パネルでプリンタのオプションを選んでから、「プリント」を押してください。</translation>
        </message>
    </context>
</TS>
