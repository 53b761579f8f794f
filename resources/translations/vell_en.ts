<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>Vell</name>
    <message>
        <source>%1石</source>
        <translation>%1</translation>
    </message>
    <message>
        <source>学習グラフ</source>
        <translation>Learning chart</translation>
    </message>
    <message>
        <source>Trainlog.txt がありません。トレーニングを有効にして対局すると、学習の経過がここに表示されます。</source>
        <translation>There is no Trainlog.txt yet. Play with training switched on and the learning progress appears here.</translation>
    </message>
    <message>
        <source>Trainlog.txt を開けません。</source>
        <translation>Cannot open Trainlog.txt.</translation>
    </message>
    <message>
        <source>Trainlog.txt にはまだ記録がありません。</source>
        <translation>Trainlog.txt has no entries yet.</translation>
    </message>
    <message>
        <source>Trainlog.txt を読めません。%1 行目から形式が違います。</source>
        <translation>Cannot read Trainlog.txt: the layout is wrong from line %1 on.</translation>
    </message>
    <message>
        <source>%1 局分の学習を表示しています。</source>
        <translation>Games shown: %1.</translation>
    </message>
    <message>
        <source>壊れた %1 行(最初は %2 行目)を読み飛ばしました。</source>
        <translation>Damaged lines skipped: %1 (the first is line %2).</translation>
    </message>
    <message>
        <source>learncurve.txt の %1 行を読み飛ばしました。</source>
        <translation>Lines of learncurve.txt skipped: %1.</translation>
    </message>
    <message>
        <source>対局数</source>
        <translation>Games</translation>
    </message>
    <message>
        <source>誤差</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>学習前</source>
        <translation>Before learning</translation>
    </message>
    <message>
        <source>学習後</source>
        <translation>After learning</translation>
    </message>
    <message>
        <source>(移動平均 %1 局)</source>
        <translation> (moving average over %1)</translation>
    </message>
    <message>
        <source>検証用の誤差</source>
        <translation>Error on the check games</translation>
    </message>
    <message>
        <source>いまの重みの検証用の誤差</source>
        <translation>Error of the current weights on the check games</translation>
    </message>
    <message>
        <source>同梱の重み</source>
        <translation>Shipped weights</translation>
    </message>
    <message>
        <source>重みの学習局数(右目盛)</source>
        <translation>Games the weights learned from (right scale)</translation>
    </message>
    <message>
        <source>検証用の対局での誤差: いまの重み %1(%2 局学習)、同梱の重み %3。</source>
        <translation>Error on the check games: current weights %1 (games learned: %2), shipped weights %3.</translation>
    </message>
    <message>
        <source>検証用の対局での同梱の重みの誤差は %1 です。トレーニングすると、いまの重みの誤差を並べて示します。</source>
        <translation>The shipped weights have an error of %1 on the check games. Train, and the error of the current weights is shown beside it.</translation>
    </message>
    <message>
        <source>学習前と学習後の誤差の差は %1% しかありません。いまの重みは %2 局分の学習の平均で、1 局の学習ではほとんど動かないため、学習後の線だけを描いています。</source>
        <translation>Before and after learning differ by only %1%. The current weights average the learning of %2 games and hardly move with one more game, so only the after-learning line is drawn.</translation>
    </message>
    <message>
        <source>黒</source>
        <translation>Black</translation>
    </message>
    <message>
        <source>白</source>
        <translation>White</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Stopped</translation>
    </message>
    <message>
        <source>終了</source>
        <translation>Game over</translation>
    </message>
    <message>
        <source>思考中です</source>
        <translation>Thinking</translation>
    </message>
    <message>
        <source>打ってください。</source>
        <translation>Your move.</translation>
    </message>
    <message>
        <source>打てませんよ。</source>
        <translation>You can&apos;t play there.</translation>
    </message>
    <message>
        <source>なんかエラー。</source>
        <translation>Something went wrong.</translation>
    </message>
    <message>
        <source>vellkif.txt に書き込めませんでした。</source>
        <translation>Could not write to vellkif.txt.</translation>
    </message>
    <message>
        <source>BOOKを探索します……</source>
        <translation>Looking in the book…</translation>
    </message>
    <message>
        <source>普通読みです……</source>
        <translation>Searching…</translation>
    </message>
    <message>
        <source>NOBOOK普通読みです……</source>
        <translation>Not in the book; searching…</translation>
    </message>
    <message>
        <source>序盤はランダムに打ちます。</source>
        <translation>Playing the opening at random.</translation>
    </message>
    <message>
        <source>ブックにありません。</source>
        <translation>Not in the book.</translation>
    </message>
    <message>
        <source>  # 手 着手   評価  最善   評価   損失 印</source>
        <translation>  # Side  Move  Value  Best  Value   Loss Mark</translation>
    </message>
    <message>
        <source>重みは変わっていません。</source>
        <translation>The weights have not changed.</translation>
    </message>
    <message>
        <source>今の weight4.dat は weight4.bak として残します。よろしいですか?</source>
        <translation>The current weight4.dat is kept as weight4.bak. Go ahead?</translation>
    </message>
    <message>
        <source>元の重みは weight4.bak に残しました。</source>
        <translation>The previous weights are kept in weight4.bak.</translation>
    </message>
    <message>
        <source>学習した重みはメモリに残り、次の保存で書き込みます。</source>
        <translation>The learned weights stay in memory and are written at the next save.</translation>
    </message>
    <message>
        <source>記録はメモリに残し、書き込めるようになったら追記します。</source>
        <translation>The entries stay in memory and are added once the file can be written.</translation>
    </message>
    <message>
        <source>ヘッダがすべて0です。</source>
        <translation>Its header is all zeros.</translation>
    </message>
    <message>
        <source>特記事項が文字列として読めません。</source>
        <translation>Its note is not readable text.</translation>
    </message>
    <message>
        <source>特になし♪</source>
        <translation>Nothing special ♪</translation>
    </message>
    <message>
        <source>バージョン情報なし</source>
        <translation>No version information</translation>
    </message>
    <message>
        <source>バージョン情報なし2</source>
        <translation>No version information 2</translation>
    </message>
    <message>
        <source>この実行では定石の追加を止めます。</source>
        <translation>No more positions are added to the book in this run.</translation>
    </message>
    <message>
        <source>メモリ確保に失敗しました。</source>
        <translation>Out of memory.</translation>
    </message>
    <message>
        <source>定石ファイルが決まっていません。</source>
        <translation>No book file has been set.</translation>
    </message>
    <message>
        <source>思考中です（%1秒、深さ%2）</source>
        <translation>Thinking (%1 s, depth %2)</translation>
    </message>
    <message>
        <source>思考中です（%1秒）</source>
        <translation>Thinking (%1 s)</translation>
    </message>
    <message>
        <source>%1（%2手読み）</source>
        <translation>%1 (read to depth %2)</translation>
    </message>
    <message>
        <source>BOOK最善手です:%1</source>
        <translation>Best book move: %1</translation>
    </message>
    <message>
        <source>BOOK次善手です:%1</source>
        <translation>Second-best book move: %1</translation>
    </message>
    <message>
        <source>%1とっても有利です。</source>
        <translation>%1 Very good for me.</translation>
    </message>
    <message>
        <source>%1すごく不利です。</source>
        <translation>%1 Very bad for me.</translation>
    </message>
    <message>
        <source>%1有利です。</source>
        <translation>%1 Good for me.</translation>
    </message>
    <message>
        <source>%1不利です。</source>
        <translation>%1 Bad for me.</translation>
    </message>
    <message>
        <source>%1互角です。</source>
        <translation>%1 Even.</translation>
    </message>
    <message>
        <source>%1の勝ちです。黒%2石 白%3石</source>
        <translation>%1 wins. Black %2, White %3</translation>
    </message>
    <message>
        <source>引き分けです。黒%1石 白%2石</source>
        <translation>It&apos;s a draw. Black %1, White %2</translation>
    </message>
    <message>
        <source>%1マス残りましたが、どちらも打てません。</source>
        <translation>Empty squares left: %1, but neither side can play.</translation>
    </message>
    <message>
        <source>%1の番です。</source>
        <translation>%1&apos;s turn.</translation>
    </message>
    <message>
        <source>%1はパスです。</source>
        <translation>%1 passes.</translation>
    </message>
    <message>
        <source>黒%1石</source>
        <translation>Black %1</translation>
    </message>
    <message>
        <source>白%1石</source>
        <translation>White %1</translation>
    </message>
    <message>
        <source>ファイル名:%1</source>
        <translation>File: %1</translation>
    </message>
    <message>
        <source>バージョン:%1</source>
        <translation>Version: %1</translation>
    </message>
    <message>
        <source>トレーニング試合数:%1</source>
        <translation>Training games: %1</translation>
    </message>
    <message>
        <source>特記事項:%1</source>
        <translation>Note: %1</translation>
    </message>
    <message>
        <source>学習した重み %1 がありません。トレーニングを有効にして対局すると作られます。</source>
        <translation>There are no learned weights %1 yet. Play with training switched on to make them.</translation>
    </message>
    <message>
        <source>トレーニング試合数 %1 の学習した重み(weight2.dat)を weight4.dat の代わりに使います。</source>
        <translation>The learned weights (weight2.dat, training games: %1) will be used in place of weight4.dat.</translation>
    </message>
    <message>
        <source>学習した重み(トレーニング試合数 %1)を使います。</source>
        <translation>Now using the learned weights (training games: %1).</translation>
    </message>
    <message>
        <source>今の重みファイルを %1 に残せません。(%2)</source>
        <translation>Cannot keep the current weight file as %1. (%2)</translation>
    </message>
    <message>
        <source>重みファイル %1 を置き換えられません。(%2)</source>
        <translation>Cannot replace the weight file %1. (%2)</translation>
    </message>
    <message>
        <source>重みファイル %1 がありません。重みをすべて0にして続けます。</source>
        <translation>The weight file %1 is missing. Going on with all weights at 0.</translation>
    </message>
    <message>
        <source>重みファイル %1 を作れません。</source>
        <translation>Cannot create the weight file %1.</translation>
    </message>
    <message>
        <source>重みファイル %1 に書き込めません。</source>
        <translation>Cannot write to the weight file %1.</translation>
    </message>
    <message>
        <source>重みファイル %1 は壊れています。%2</source>
        <translation>The weight file %1 is damaged. %2</translation>
    </message>
    <message>
        <source>大きさが%1バイトではありません。</source>
        <translation>It is not %1 bytes long.</translation>
    </message>
    <message>
        <source>トレーニング試合数が負の値(%1)です。</source>
        <translation>Its number of training games is negative (%1).</translation>
    </message>
    <message>
        <source>学習ログ %1 に書き込めません。</source>
        <translation>Cannot write to the training log %1.</translation>
    </message>
    <message>
        <source>定石ファイル %1 を読めません。</source>
        <translation>Cannot read the book file %1.</translation>
    </message>
    <message>
        <source>定石ファイル %1 を調べられません。(%2)</source>
        <translation>Cannot check the book file %1. (%2)</translation>
    </message>
    <message>
        <source>定石ファイル %1 がなくなっています。</source>
        <translation>The book file %1 has gone.</translation>
    </message>
    <message>
        <source>定石ファイル %1 を作れません。</source>
        <translation>Cannot create the book file %1.</translation>
    </message>
    <message>
        <source>定石ファイル %1 の大きさが分かりません。(%2)</source>
        <translation>Cannot tell the size of the book file %1. (%2)</translation>
    </message>
    <message>
        <source>定石ファイル %1 の記録の数がメモリの定石と違っています。</source>
        <translation>The book file %1 holds a different number of positions than the book in memory.</translation>
    </message>
    <message>
        <source>定石ファイル %1 を書き込み用に開けません。</source>
        <translation>Cannot open the book file %1 for writing.</translation>
    </message>
    <message>
        <source>定石ファイル %1 に書き込めません。</source>
        <translation>Cannot write to the book file %1.</translation>
    </message>
    <message>
        <source>%1 平均損失 %2石&#x3000;?! %3&#x3000;? %4&#x3000;?? %5&#x3000;大きな損失 %6</source>
        <translation>%1 average loss %2　?! %3　? %4　?? %5　biggest losses %6</translation>
    </message>
    <message>
        <source>%1 平均損失 %2石&#x3000;?! %3&#x3000;? %4&#x3000;?? %5</source>
        <translation>%1 average loss %2　?! %3　? %4　?? %5</translation>
    </message>
    <message>
        <source>%1. %2 %3  損失 %4石  最善 %5</source>
        <translation>%1. %2 %3  loss %4  best %5</translation>
    </message>
    <message>
        <source>%1、%2</source>
        <translation>%1, %2</translation>
    </message>
    <message>
        <source>%1. %2 %3石</source>
        <translation>%1. %2 %3</translation>
    </message>
    <message>
        <source>%1 黒 %2</source>
        <translation>%1 Black %2</translation>
    </message>
    <message>
        <source>%1 白 %2</source>
        <translation>%1 White %2</translation>
    </message>
    <message>
        <source>黒 %1</source>
        <translation>Black %1</translation>
    </message>
    <message>
        <source>白 %1</source>
        <translation>White %1</translation>
    </message>
    <message>
        <source>%1 %2石</source>
        <translation>%1 %2 stones</translation>
    </message>
    <message>
        <source>ﾌｧｲﾙ(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>棋譜を開く(&amp;O)</source>
        <translation>&amp;Open game record...</translation>
    </message>
    <message>
        <source>棋譜保存(&amp;S)</source>
        <translation>&amp;Save game record...</translation>
    </message>
    <message>
        <source>最近使ったﾌｧｲﾙ</source>
        <translation>Recent files</translation>
    </message>
    <message>
        <source>ｱﾌﾟﾘｹｰｼｮﾝの終了(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>表示(&amp;V)</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>ﾂｰﾙ ﾊﾞｰ(&amp;T)</source>
        <translation>&amp;Toolbar</translation>
    </message>
    <message>
        <source>ｽﾃｰﾀｽ ﾊﾞｰ(&amp;S)</source>
        <translation>&amp;Status bar</translation>
    </message>
    <message>
        <source>ナビゲート(&amp;N)</source>
        <translation>&amp;Navigate</translation>
    </message>
    <message>
        <source>対局を開始(&amp;B)</source>
        <translation>&amp;Begin game</translation>
    </message>
    <message>
        <source>一時停止(&amp;S)</source>
        <translation>&amp;Stop</translation>
    </message>
    <message>
        <source>前へ(&amp;P)</source>
        <translation>&amp;Previous</translation>
    </message>
    <message>
        <source>次へ(&amp;N)</source>
        <translation>&amp;Next</translation>
    </message>
    <message>
        <source>最初に移動(&amp;I)</source>
        <translation>F&amp;irst</translation>
    </message>
    <message>
        <source>最後へ移動(&amp;L)</source>
        <translation>&amp;Last</translation>
    </message>
    <message>
        <source>設定(&amp;C)</source>
        <translation>Settin&amp;gs</translation>
    </message>
    <message>
        <source>対局者(&amp;P)</source>
        <translation>&amp;Players...</translation>
    </message>
    <message>
        <source>ﾍﾙﾌﾟ(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>データ情報(&amp;D)</source>
        <translation>&amp;Data info</translation>
    </message>
    <message>
        <source>研究(&amp;S)</source>
        <translation>&amp;Study</translation>
    </message>
    <message>
        <source>BOOK評価値(&amp;B)</source>
        <translation>&amp;Book value</translation>
    </message>
    <message>
        <source>学習した重みを使う(&amp;W)</source>
        <translation>Use learned &amp;weights...</translation>
    </message>
    <message>
        <source>新しい対局(&amp;N)</source>
        <translation>&amp;New game</translation>
    </message>
    <message>
        <source>一手戻す(&amp;U)</source>
        <translation>&amp;Undo move</translation>
    </message>
    <message>
        <source>今すぐ打つ(&amp;M)</source>
        <translation>Play &amp;now</translation>
    </message>
    <message>
        <source>遊び方(&amp;R)</source>
        <translation>How to &amp;play</translation>
    </message>
    <message>
        <source>マスの名前(&amp;N)</source>
        <translation>Square &amp;names</translation>
    </message>
    <message>
        <source>石が返る動き(&amp;A)</source>
        <translation>Stone flip &amp;animation</translation>
    </message>
    <message>
        <source>効果音(&amp;O)</source>
        <translation>S&amp;ound effects</translation>
    </message>
    <message>
        <source>言語 / Language</source>
        <translation>言語 / Language</translation>
    </message>
    <message>
        <source>自動</source>
        <translation>Automatic</translation>
    </message>
    <message>
        <source>日本語</source>
        <translation>日本語</translation>
    </message>
    <message>
        <source>English</source>
        <translation>English</translation>
    </message>
    <message>
        <source>対局を開始
対局開始</source>
        <translation>Begin the game
Begin game</translation>
    </message>
    <message>
        <source>一時停止
一時停止</source>
        <translation>Stop the game for now
Stop</translation>
    </message>
    <message>
        <source>最初に戻る
最初に戻る</source>
        <translation>Go back to the start
First</translation>
    </message>
    <message>
        <source>設定
設定</source>
        <translation>Choose the players and settings
Players</translation>
    </message>
    <message>
        <source>一手戻る
一手戻る</source>
        <translation>Go back one move
Previous</translation>
    </message>
    <message>
        <source>一つ次へ移動
次へ移動</source>
        <translation>Go forward one move
Next</translation>
    </message>
    <message>
        <source>最後へ移動
最後へ移動</source>
        <translation>Go to the last move
Last</translation>
    </message>
    <message>
        <source>棋譜を保存します
棋譜を保存</source>
        <translation>Save the game record
Save record</translation>
    </message>
    <message>
        <source>棋譜を開きます
棋譜を開く</source>
        <translation>Open a game record
Open record</translation>
    </message>
    <message>
        <source>データのバージョン情報など
データ情報</source>
        <translation>Version of the data and more
Data info</translation>
    </message>
    <message>
        <source>ｱﾌﾟﾘｹｰｼｮﾝを終了します
終了</source>
        <translation>Quit the program
Exit</translation>
    </message>
    <message>
        <source>ﾂｰﾙ ﾊﾞｰの表示/非表示
ﾂｰﾙ ﾊﾞｰ</source>
        <translation>Show or hide the toolbar
Toolbar</translation>
    </message>
    <message>
        <source>ｽﾃｰﾀｽ ﾊﾞｰの表示/非表示
ｽﾃｰﾀｽ ﾊﾞｰ</source>
        <translation>Show or hide the status bar
Status bar</translation>
    </message>
    <message>
        <source>初めから新しい対局を始めます
新しい対局</source>
        <translation>Start a new game from the beginning
New game</translation>
    </message>
    <message>
        <source>あなたの前の手番まで戻します
一手戻す</source>
        <translation>Take back to your previous turn
Undo move</translation>
    </message>
    <message>
        <source>考えているコンピュータに、読み終えた一番深い手を今すぐ打たせます
今すぐ打つ</source>
        <translation>Make the thinking computer play its deepest finished move now
Play now</translation>
    </message>
    <message>
        <source>この対局の遊び方を表示します
遊び方</source>
        <translation>Show how this game is played
How to play</translation>
    </message>
    <message>
        <source>盤のまわりに列の文字と行の数字を表示します</source>
        <translation>Show the column letters and row numbers around the board</translation>
    </message>
    <message>
        <source>打った手で石が裏返るところを見せます</source>
        <translation>Show the stones turning over after each move</translation>
    </message>
    <message>
        <source>石を打ったとき、パスと終局で音を鳴らします</source>
        <translation>Play a sound for each move, a pass and the end of the game</translation>
    </message>
    <message>
        <source>ﾌﾟﾛｸﾞﾗﾑの名前とﾊﾞｰｼﾞｮﾝを表示します
ﾊﾞｰｼﾞｮﾝ情報</source>
        <translation>Show the program&apos;s name and version
About</translation>
    </message>
    <message>
        <source>棋譜</source>
        <translation>Moves</translation>
    </message>
    <message>
        <source>棋譜一覧(&amp;M)</source>
        <translation>&amp;Move list</translation>
    </message>
    <message>
        <source>棋譜一覧の表示/非表示</source>
        <translation>Show or hide the move list</translation>
    </message>
    <message>
        <source>開始局面</source>
        <translation>Start position</translation>
    </message>
    <message>
        <source>パス</source>
        <translation>pass</translation>
    </message>
    <message>
        <source>ﾀﾞｲｱﾛｸﾞ</source>
        <translation>Players</translation>
    </message>
    <message>
        <source>ｷｬﾝｾﾙ</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>定石モード</source>
        <translation>Opening mode</translation>
    </message>
    <message>
        <source>トレーニング</source>
        <translation>Training</translation>
    </message>
    <message>
        <source>通常読みの深さ</source>
        <translation>Normal search depth</translation>
    </message>
    <message>
        <source>最終読みの深さ</source>
        <translation>Endgame search depth</translation>
    </message>
    <message>
        <source>1手の制限時間</source>
        <translation>Time limit per move</translation>
    </message>
    <message>
        <source>なし</source>
        <translation>None</translation>
    </message>
    <message>
        <source> 秒</source>
        <translation> s</translation>
    </message>
    <message>
        <source>コンピュータはこの時間まで深く読み、読み終えた一番深い手を打ちます。「なし」では深さの設定どおりに読みます。</source>
        <translation>The computer searches deeper until this time is up, then plays the deepest move it has finished. With &quot;None&quot; it searches to the depths set above.</translation>
    </message>
    <message>
        <source>手</source>
        <translation>moves</translation>
    </message>
    <message>
        <source>整数を入力してください。</source>
        <translation>Please enter a whole number.</translation>
    </message>
    <message>
        <source>%1 から %2 までの整数を入力してください。</source>
        <translation>Please enter a whole number from %1 to %2.</translation>
    </message>
    <message>
        <source>あなたが盤をクリックして打ちます。</source>
        <translation>You play by clicking on the board.</translation>
    </message>
    <message>
        <source>コンピュータ: 手作りの評価で読みます。</source>
        <translation>Computer: searches with a hand-made evaluation.</translation>
    </message>
    <message>
        <source>コンピュータ: 手作りの評価と学習したパターン評価を合わせて読みます。</source>
        <translation>Computer: searches with the hand-made and the learned pattern evaluation together.</translation>
    </message>
    <message>
        <source>コンピュータ: 学習したパターン評価で読みます。</source>
        <translation>Computer: searches with the learned pattern evaluation.</translation>
    </message>
    <message>
        <source>コンピュータ: でたらめな評価で打ちます。</source>
        <translation>Computer: plays with a random evaluation.</translation>
    </message>
    <message>
        <source>何手先まで読むかです。深いほど強く、時間がかかります。</source>
        <translation>How many moves ahead to read. Deeper is stronger but takes longer.</translation>
    </message>
    <message>
        <source>空きマスがこの数以下になると、最後まで読み切ります。</source>
        <translation>With this many empty squares or fewer, the computer reads to the end of the game.</translation>
    </message>
    <message>
        <source>この深さだと、1手にかなり時間がかかります。</source>
        <translation>At this depth a move can take quite a while.</translation>
    </message>
    <message>
        <source>強さ</source>
        <translation>Strength</translation>
    </message>
    <message>
        <source>自分で設定</source>
        <translation>Custom</translation>
    </message>
    <message>
        <source>1手 約%1秒</source>
        <translation>About %1 s per move</translation>
    </message>
    <message>
        <source>1手 0.1秒未満</source>
        <translation>Under 0.1 s per move</translation>
    </message>
    <message>
        <source>1手の時間: 目安なし</source>
        <translation>Time per move: no estimate</translation>
    </message>
    <message>
        <source>Human: あなたが盤をクリックするかキーで打ちます。</source>
        <translation>Human: you play by clicking on the board or with the keys.</translation>
    </message>
    <message>
        <source>CPU-1: 手作りの評価で読みます。</source>
        <translation>CPU-1: searches with a hand-made evaluation.</translation>
    </message>
    <message>
        <source>CPU-PAT1: 手作りの評価と学習したパターン評価を合わせます。</source>
        <translation>CPU-PAT1: combines the hand-made and the learned pattern evaluation.</translation>
    </message>
    <message>
        <source>CPU-PAT2: 学習したパターン評価で読みます。</source>
        <translation>CPU-PAT2: searches with the learned pattern evaluation.</translation>
    </message>
    <message>
        <source>CPU-1-2: でたらめな評価で打ちます。いちばん弱い型です。</source>
        <translation>CPU-1-2: plays with a random evaluation. The weakest player.</translation>
    </message>
    <message>
        <source>ヒント(&amp;H)</source>
        <translation>&amp;Hint</translation>
    </message>
    <message>
        <source>次の一手のヒントを表示します</source>
        <translation>Show a hint for the next move</translation>
    </message>
    <message>
        <source>学習グラフ(&amp;G)</source>
        <translation>Learning &amp;chart</translation>
    </message>
    <message>
        <source>学習の経過をグラフで表示します</source>
        <translation>Show the progress of the learning as a chart</translation>
    </message>
    <message>
        <source>対局の検討</source>
        <translation>Game review</translation>
    </message>
    <message>
        <source>対局の検討(&amp;K)</source>
        <translation>&amp;Review game</translation>
    </message>
    <message>
        <source>画面の対局を一手ずつ検討します</source>
        <translation>Review the game on the screen move by move</translation>
    </message>
    <message>
        <source>候補手の評価値(&amp;E)</source>
        <translation>Candidate move &amp;values</translation>
    </message>
    <message>
        <source>検討した局面で打てる手の評価値を盤に表示します</source>
        <translation>Show the value of every legal move on the board at a reviewed position</translation>
    </message>
    <message>
        <source>検討しています… %1 / %2 手</source>
        <translation>Reviewing… %1 / %2 moves</translation>
    </message>
    <message>
        <source>検討が終わりました。点や行を選ぶとその手の局面を表示します</source>
        <translation>Review finished. Choose a point or a line to see that position</translation>
    </message>
    <message>
        <source>研究メニューの「対局の検討」で検討します</source>
        <translation>Use &quot;Review game&quot; in the Study menu to review a game</translation>
    </message>
    <message>
        <source>中止</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>手数</source>
        <translation>Move</translation>
    </message>
    <message>
        <source>黒の石差</source>
        <translation>Black&apos;s lead (stones)</translation>
    </message>
    <message>
        <source>互角</source>
        <translation>Even</translation>
    </message>
    <message>
        <source>遊び方</source>
        <translation>How to play</translation>
    </message>
    <message>
        <source>白が先手です。空いているマスに石を置くと、そこから縦・横・斜めに続く相手の石の列が、その先が空きマスで終わるときだけ裏返ります。列の先が自分の石や盤の端なら、何も裏返りません。1つも裏返らないマスには打てません。

打てるマスがないときはパスになり、相手がもう一度打ちます。どちらも打てなくなったら対局は終わりで、石の多い方の勝ちです。このルールでは空きマスが残ったまま終わることがよくあります。</source>
        <translation>White moves first. Place a stone on an empty square: each line of your opponent&apos;s stones running from it up, down, sideways or diagonally turns over, but only when the line ends at an empty square. A line that ends at one of your own stones or at the edge of the board turns nothing. You can only play where at least one stone turns.

When you have no move, you pass and your opponent plays again. When neither side can move, the game is over and whoever has more stones wins. With this rule a game often ends with empty squares left.</translation>
    </message>
    <message>
        <source>図: 白が×に打つと、右に続く黒2つの先が空きマスなので2つとも白になります。下の列は先が白の石なので裏返りません。</source>
        <translation>Picture: when White plays on the cross, the two black stones to its right end at an empty square, so both turn white. In the row below the line ends at a white stone, so nothing turns.</translation>
    </message>
    <message>
        <source>入門</source>
        <translation>Beginner</translation>
    </message>
    <message>
        <source>初級</source>
        <translation>Easy</translation>
    </message>
    <message>
        <source>中級</source>
        <translation>Medium</translation>
    </message>
    <message>
        <source>上級</source>
        <translation>Hard</translation>
    </message>
    <message>
        <source>最強</source>
        <translation>Strongest</translation>
    </message>
    <message>
        <source>すべてのﾌｧｲﾙ (*)</source>
        <translation>All files (*)</translation>
    </message>
    <message>
        <source>設定を保存できませんでした。</source>
        <translation>Could not save the settings.</translation>
    </message>
    <message>
        <source>作業フォルダ %1 には %2 が書き込んでいます。
トレーニングとファイルへの書き込みをしないで開きます。</source>
        <translation>%2 is writing to the working folder %1.
Opening without training and without writing any files.</translation>
    </message>
    <message>
        <source>重みをすべて0にして続けます。</source>
        <translation>Going on with all weights at 0.</translation>
    </message>
    <message>
        <source>作業フォルダには別のプログラムが書き込んでいます。重みは入れ替えられません。</source>
        <translation>Another program is writing to the working folder, so the weights cannot be replaced.</translation>
    </message>
    <message>
        <source>無題</source>
        <translation>Untitled</translation>
    </message>
    <message>
        <source>%1 に保存できませんでした。
%2</source>
        <translation>Could not save to %1.
%2</translation>
    </message>
    <message>
        <source>%1 を開けませんでした。
%2</source>
        <translation>Could not open %1.
%2</translation>
    </message>
    <message>
        <source>%1 は棋譜ファイルではありません。
%2</source>
        <translation>%1 is not a game record.
%2</translation>
    </message>
    <message>
        <source>8 行に 3 文字ずつ 8 マスが並ぶ棋譜の形になっていません。</source>
        <translation>It is not laid out as a game record: 8 lines of 8 squares, 3 characters each.</translation>
    </message>
    <message>
        <source>%1 列 %2 行のマスが読めません。</source>
        <translation>Cannot read the square in column %1, row %2.</translation>
    </message>
    <message>
        <source>%1 手目の番号が抜けているか、重なっています。</source>
        <translation>Move %1 is missing or numbered twice.</translation>
    </message>
    <message>
        <source>%1 手目は打てない手です。</source>
        <translation>Move %1 is not a legal move.</translation>
    </message>
    <message>
        <source>印刷できませんでした。</source>
        <translation>Could not print.</translation>
    </message>
    <message>
        <source>ヒントを考えています</source>
        <translation>Thinking of a hint</translation>
    </message>
    <message>
        <source>ヒントを出せませんでした。</source>
        <translation>No hint could be found.</translation>
    </message>
    <message>
        <source>盤</source>
        <translation>Board</translation>
    </message>
    <message>
        <source>空き</source>
        <translation>empty</translation>
    </message>
    <message>
        <source>▶（対局を開始）か Ctrl+N で対局が始まります。
盤をクリックするか、矢印キーと Enter で打ちます。</source>
        <translation>Press ▶ (Begin game) or Ctrl+N to start a game.
Play by clicking a square, or with the arrow keys and Enter.</translation>
    </message>
    <message>
        <source>%1のﾊﾞｰｼﾞｮﾝ情報</source>
        <translation>About %1</translation>
    </message>
    <message>
        <source>%1 のﾊﾞｰｼﾞｮﾝ情報(&amp;A)...</source>
        <translation>&amp;About %1...</translation>
    </message>
    <message>
        <source>自己対戦(CPU-PAT2同士、読み2手・終盤6手)の棋譜から学習した標準の重みです。</source>
        <translation>The standard weights, learned from self-play games (CPU-PAT2 against itself, reading 2 moves ahead, 6 at the end).</translation>
    </message>
</context>
</TS>
