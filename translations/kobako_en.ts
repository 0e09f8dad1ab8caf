<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>kobako::platform::GlobalKey</name>
    <message>
        <source>キー「%1」は別のプログラムが使っているため、Kobako を呼び出せません。
設定ファイルの「hotkey=」の行で別のキーを選べます。</source>
        <translation>Another program holds the key %1, so it cannot call Kobako.
A line &quot;hotkey=&quot; in the settings file chooses another key.</translation>
    </message>
    <message>
        <source>「%1」はキーとして使えないため、Kobako を呼び出すキーはありません。
設定ファイルの「hotkey=」の行を「hotkey=Ctrl+Alt+H」のように書いてください。</source>
        <translation>&quot;%1&quot; is no key, so no key calls Kobako.
Write the line &quot;hotkey=&quot; of the settings file like &quot;hotkey=Ctrl+Alt+H&quot;.</translation>
    </message>
</context>
<context>
    <name>kobako::platform::ShortcutsPortal</name>
    <message>
        <source>Kobako を呼び出す</source>
        <translation>Call Kobako</translation>
    </message>
</context>
<context>
    <name>kobako::ui::HistoryListModel</name>
    <message>
        <source>クリック: クリップボードへ&#x3000;Ctrl+クリック: つなげる&lt;br&gt;Shift+クリック、Alt+クリック: すべてつなげる&#x3000;右クリック: 削除</source>
        <translation>Click: to the clipboard&#x3000;Ctrl+click: join&lt;br&gt;Shift+click, Alt+click: join all&#x3000;Right click: delete</translation>
    </message>
</context>
<context>
    <name>kobako::ui::HistoryWindow</name>
    <message>
        <source>履歴</source>
        <translation>History</translation>
    </message>
    <message>
        <source>履歴 %1 のチェック</source>
        <translation>Check mark of entry %1</translation>
    </message>
    <message>
        <source>履歴 %1</source>
        <translation>Entry %1</translation>
    </message>
    <message>
        <source>ディレクトリ「%1」にはファイルを書き込めません。
理由: %2
履歴はこのまま使えますが、保存はされません。</source>
        <translation>Files cannot be written in the directory “%1”.
Reason: %2
The history works as usual but will not be saved.</translation>
    </message>
    <message>
        <source>ファイル「%1」を読み込めません。
理由: %2
このファイルの履歴を守るため、今回は履歴を保存しません。</source>
        <translation>The file “%1” cannot be read.
Reason: %2
To keep the history in it safe, no history is saved this time.</translation>
    </message>
    <message>
        <source>設定</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>ヘルプ</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>取り込みの再開</source>
        <translation>Resume capture</translation>
    </message>
    <message>
        <source>取り込みの一時停止</source>
        <translation>Pause capture</translation>
    </message>
    <message>
        <source>保存して終了</source>
        <translation>Save and quit</translation>
    </message>
    <message>
        <source>最小化</source>
        <translation>Minimize</translation>
    </message>
    <message>
        <source>すべて消去</source>
        <translation>Clear all</translation>
    </message>
    <message>
        <source>ヘルプのファイルが見つかりません。</source>
        <translation>The help file cannot be found.</translation>
    </message>
    <message>
        <source>ヘルプを開くプログラムが見つかりません。
ヘルプのファイル: %1</source>
        <translation>No program was found to open the help.
The help file: %1</translation>
    </message>
    <message>
        <source>全消去します</source>
        <translation>Clear the whole history?</translation>
    </message>
    <message>
        <source>ファイル「%1」を保存できませんでした。
理由: %2
</source>
        <translation>The file “%1” could not be saved.
Reason: %2
</translation>
    </message>
    <message>
        <source>
保存せずに終了しますか？</source>
        <translation>
Quit without saving?</translation>
    </message>
    <message>
        <source>まだ使用できません。クリップボード内容を破棄します。</source>
        <translation>This slot is not in use yet. The clipboard is emptied.</translation>
    </message>
    <message>
        <source>チェックマークがないと入力できません。</source>
        <translation>Check the slot before typing into it.</translation>
    </message>
    <message>
        <source>起動時に読み込めなかったため、上書きしませんでした（%1）</source>
        <translation>not written over, since it could not be read at start-up (%1)</translation>
    </message>
</context>
<context>
    <name>kobako::ui::ListFinder</name>
    <message>
        <source>検索</source>
        <translation>Find</translation>
    </message>
</context>
<context>
    <name>kobako::ui::SettingsWindow</name>
    <message>
        <source>設定</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>数値を入力してください。</source>
        <translation>Please enter a number.</translation>
    </message>
    <message>
        <source>リストの最大数は 1 から 32767 までの数値にしてください。</source>
        <translation>The list maximum must be a number from 1 to 32767.</translation>
    </message>
    <message>
        <source>アイコンの高さは %1 以下の数値にしてください。</source>
        <translation>The icon height must be a number of %1 or less.</translation>
    </message>
    <message>
        <source>18以下は、設定できません</source>
        <translation>The icon height cannot be set below 18.</translation>
    </message>
    <message>
        <source>テキストボックスは最大１０個です</source>
        <translation>There are at most 10 text boxes.</translation>
    </message>
    <message>
        <source>ファイル「%1」を保存できませんでした。
理由: %2
設定はこのまま使われます。</source>
        <translation>The file “%1” could not be saved.
Reason: %2
The settings stay in use.</translation>
    </message>
    <message>
        <source>リストボックス</source>
        <translation>List</translation>
    </message>
    <message>
        <source>テキストボックス</source>
        <translation>Text boxes</translation>
    </message>
    <message>
        <source>常に手前に表示する</source>
        <translation>Always in front</translation>
    </message>
    <message>
        <source>指定しない</source>
        <translation>Unspecified</translation>
    </message>
    <message>
        <source>右上</source>
        <translation>Top right</translation>
    </message>
    <message>
        <source>右中</source>
        <translation>Middle right</translation>
    </message>
    <message>
        <source>右下</source>
        <translation>Bottom right</translation>
    </message>
    <message>
        <source>左上</source>
        <translation>Top left</translation>
    </message>
    <message>
        <source>左中</source>
        <translation>Middle left</translation>
    </message>
    <message>
        <source>左下</source>
        <translation>Bottom left</translation>
    </message>
    <message>
        <source>ＯＫ</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>リストの最大数 : </source>
        <translation>List maximum: </translation>
    </message>
    <message>
        <source>アイコンの高さ : </source>
        <translation>Icon height: </translation>
    </message>
    <message>
        <source>表示形式 : </source>
        <translation>Display: </translation>
    </message>
    <message>
        <source>出現位置 : </source>
        <translation>Position: </translation>
    </message>
    <message>
        <source>Kobako  Ver%1
クリップボード履歴の小箱
Kobako の開発者一同</source>
        <translation>Kobako  Ver%1
A little box of clipboard history
The Kobako developers</translation>
    </message>
    <message>
        <source>バージョン情報</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>フォント設定</source>
        <translation>Font</translation>
    </message>
    <message>
        <source>「%1」に書き込めませんでした。
理由: %2
ログイン時の起動は変わっていません。</source>
        <translation>“%1” could not be written.
Reason: %2
Starting at login stays as it was.</translation>
    </message>
    <message>
        <source>ログイン時に起動</source>
        <translation>Start at login</translation>
    </message>
    <message>
        <source>この Wayland のコンポジターはプログラムにキーを打たせないため、ほかのプログラムに貼り付けられません。テキストはクリップボードに入ります。</source>
        <translation>This Wayland compositor lets no program type keys (it offers no virtual keyboard), so Kobako cannot paste a pick into another program. The text goes on the clipboard.</translation>
    </message>
    <message>
        <source>X サーバーに XTEST 拡張がないため、貼り付けられません。テキストはクリップボードに入ります。</source>
        <translation>The X server lacks the XTEST extension, so Kobako cannot paste. The text goes on the clipboard.</translation>
    </message>
    <message>
        <source>選んだら貼り付ける</source>
        <translation>Paste after a pick</translation>
    </message>
    <message>
        <source>呼び出しキー</source>
        <translation>Call key</translation>
    </message>
    <message>
        <source>キーなし</source>
        <translation>No key</translation>
    </message>
    <message>
        <source>呼び出しキー: どこからでも Kobako を呼び出すキー（Ctrl+Alt+H など）。空にすると使いません。</source>
        <translation>Call key: the key that calls Kobako from anywhere (Ctrl+Alt+H, say). Empty, no key calls it.</translation>
    </message>
</context>
<context>
    <name>kobako::ui::VersionWindow</name>
    <message>
        <source>バージョン情報</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>クリップボードの履歴を小さな箱にしまっておくツールです。</source>
        <translation>A small box that keeps what you copy.</translation>
    </message>
    <message>
        <source>使い方は README とヘルプをご覧ください。</source>
        <translation>See the README and the help for how to use it.</translation>
    </message>
    <message>
        <source>ご意見・不具合の報告は、プロジェクトの課題管理へお寄せください。</source>
        <translation>Questions and bug reports: the project&apos;s issue tracker.</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>このディレクトリではすでに Kobako が動いています。
%1</source>
        <translation>Kobako is already running in this directory.
%1</translation>
    </message>
    <message>
        <source>「%1」はほかのユーザー（%2）のものです。
Kobako はほかのユーザーの履歴では動きません。</source>
        <translation>%1 belongs to another user (%2).
Kobako does not run on another user&apos;s history.</translation>
    </message>
</context>
</TS>
