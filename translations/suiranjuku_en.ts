<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ja_JP">
<context>
    <name>EndingWindow</name>
    <message>
        <location filename="../endings/frmGover.cpp" line="44"/>
        <source> 「終了」ボタンにフォーカスがあります。Enter でゲームを終了します。もう一度遊ぶには Tab で「もう一度」へ移ります。</source>
        <translation> The Quit button has the focus: Enter quits the game. To play again, Tab to Play again.</translation>
    </message>
</context>
<context>
    <name>frmGover1</name>
    <message>
        <location filename="../ui/frmGover1.ui" line="14"/>
        <source>あがり</source>
        <translation>Goal!</translation>
    </message>
    <message>
        <location filename="../ui/frmGover1.ui" line="88"/>
        <source>お前さんのおかげで</source>
        <translation>Thanks to you,</translation>
    </message>
    <message>
        <location filename="../ui/frmGover1.ui" line="116"/>
        <source>翠嵐塾は</source>
        <translation>our school</translation>
    </message>
    <message>
        <location filename="../ui/frmGover1.ui" line="144"/>
        <source>作れそうだよ！</source>
        <translation>can be built!</translation>
    </message>
    <message>
        <location filename="../ui/frmGover1.ui" line="171"/>
        <source>ホウゲン</source>
        <translation>Hogen</translation>
    </message>
    <message>
        <location filename="../ui/frmGover1.ui" line="199"/>
        <source>あたなのスコアーは</source>
        <translation>Your score:</translation>
    </message>
    <message>
        <location filename="../ui/frmGover1.ui" line="254"/>
        <source>日です。</source>
        <translation>days.</translation>
    </message>
    <message>
        <location filename="../ui/frmGover1.ui" line="281"/>
        <source>この成績を「風待ち通信」のホームページに</source>
        <translation>You can register this score on</translation>
    </message>
    <message>
        <location filename="../ui/frmGover1.ui" line="308"/>
        <source>登録することができます。</source>
        <translation>the home page of ｢風待ち通信｣.</translation>
    </message>
    <message>
        <location filename="../ui/frmGover1.ui" line="401"/>
        <source>上のパスワードをホームページにて入力してくだ</source>
        <translation>Enter the password above on</translation>
    </message>
    <message>
        <location filename="../ui/frmGover1.ui" line="428"/>
        <source>さい。</source>
        <translation>the home page.</translation>
    </message>
    <message>
        <location filename="../ui/frmGover1.ui" line="439"/>
        <source>ゲームを終了します。Enter で押します</source>
        <translation>Quits the game. Press with Enter</translation>
    </message>
    <message>
        <location filename="../ui/frmGover1.ui" line="458"/>
        <source>終了</source>
        <translation>Quit</translation>
    </message>
    <message>
        <location filename="../ui/frmGover1.ui" line="466"/>
        <source>もう一度遊びます。Tab で移って Space か Enter で押します</source>
        <translation>Plays again. Tab to it, press with Space or Enter</translation>
    </message>
    <message>
        <location filename="../ui/frmGover1.ui" line="485"/>
        <source>もう一度</source>
        <translation>Play again</translation>
    </message>
    <message>
        <location filename="../endings/frmGover.cpp" line="85"/>
        <source>パスワード %1</source>
        <translation>Password %1</translation>
    </message>
    <message>
        <location filename="../endings/frmGover.cpp" line="93"/>
        <source>%1%2%3</source>
        <comment>the score&apos;s words around its days</comment>
        <translation>%1 %2 %3</translation>
    </message>
    <message>
        <location filename="../endings/frmGover.cpp" line="95"/>
        <source>。Ctrl+C でコピーできます。</source>
        <translation>. Ctrl+C copies it.</translation>
    </message>
</context>
<context>
    <name>frmGover2</name>
    <message>
        <location filename="../ui/frmGover2.ui" line="14"/>
        <source>ゲームオーバー</source>
        <translation>Game Over</translation>
    </message>
    <message>
        <location filename="../ui/frmGover2.ui" line="88"/>
        <source>金がなければしかたねえ</source>
        <translation>No money, no hope.</translation>
    </message>
    <message>
        <location filename="../ui/frmGover2.ui" line="116"/>
        <source>残念だが翠嵐塾は</source>
        <translation>Sorry, but the school</translation>
    </message>
    <message>
        <location filename="../ui/frmGover2.ui" line="144"/>
        <source>あきらめようぜ</source>
        <translation>must wait.</translation>
    </message>
    <message>
        <location filename="../ui/frmGover2.ui" line="171"/>
        <source>ホウゲン</source>
        <translation>Hogen</translation>
    </message>
    <message>
        <location filename="../ui/frmGover2.ui" line="182"/>
        <source>ゲームを終了します。Enter で押します</source>
        <translation>Quits the game. Press with Enter</translation>
    </message>
    <message>
        <location filename="../ui/frmGover2.ui" line="201"/>
        <source>終了</source>
        <translation>Quit</translation>
    </message>
    <message>
        <location filename="../ui/frmGover2.ui" line="209"/>
        <source>もう一度遊びます。Tab で移って Space か Enter で押します</source>
        <translation>Plays again. Tab to it, press with Space or Enter</translation>
    </message>
    <message>
        <location filename="../ui/frmGover2.ui" line="228"/>
        <source>もう一度</source>
        <translation>Play again</translation>
    </message>
</context>
<context>
    <name>frmGover3</name>
    <message>
        <location filename="../ui/frmGover3.ui" line="14"/>
        <source>ゲームオーバー</source>
        <translation>Game Over</translation>
    </message>
    <message>
        <location filename="../ui/frmGover3.ui" line="88"/>
        <source>ソラさん、申しわけねーが</source>
        <translation>Sorry, Sora, but</translation>
    </message>
    <message>
        <location filename="../ui/frmGover3.ui" line="116"/>
        <source>時間がなくなっちまった</source>
        <translation>we ran out of time.</translation>
    </message>
    <message>
        <location filename="../ui/frmGover3.ui" line="144"/>
        <source>翠嵐塾は</source>
        <translation>As for the school,</translation>
    </message>
    <message>
        <location filename="../ui/frmGover3.ui" line="171"/>
        <source>ホウゲン</source>
        <translation>Hogen</translation>
    </message>
    <message>
        <location filename="../ui/frmGover3.ui" line="199"/>
        <source>はあきれめてくれ</source>
        <translation>let it go.</translation>
    </message>
    <message>
        <location filename="../ui/frmGover3.ui" line="210"/>
        <source>ゲームを終了します。Enter で押します</source>
        <translation>Quits the game. Press with Enter</translation>
    </message>
    <message>
        <location filename="../ui/frmGover3.ui" line="229"/>
        <source>終了</source>
        <translation>Quit</translation>
    </message>
    <message>
        <location filename="../ui/frmGover3.ui" line="237"/>
        <source>もう一度遊びます。Tab で移って Space か Enter で押します</source>
        <translation>Plays again. Tab to it, press with Space or Enter</translation>
    </message>
    <message>
        <location filename="../ui/frmGover3.ui" line="256"/>
        <source>もう一度</source>
        <translation>Play again</translation>
    </message>
</context>
<context>
    <name>frmIvn01</name>
    <message>
        <location filename="../ui/frmIvn01.ui" line="14"/>
        <source>？</source>
        <translation>?</translation>
    </message>
    <message>
        <location filename="../ui/frmIvn01.ui" line="94"/>
        <location filename="../ui/frmIvn01.ui" line="149"/>
        <location filename="../ui/frmIvn01.ui" line="179"/>
        <source>Space か Enter で押します。Escape キーでも閉じます</source>
        <translation>Press with Space or Enter. Escape closes too</translation>
    </message>
    <message>
        <location filename="../ui/frmIvn01.ui" line="113"/>
        <location filename="../ui/frmIvn01.ui" line="168"/>
        <location filename="../ui/frmIvn01.ui" line="198"/>
        <source>閉じる</source>
        <translation>Close</translation>
    </message>
    <message>
        <location filename="../events/frmIvn01.cpp" line="95"/>
        <source>%1「%2」 閉じるボタンか Escape で閉じます</source>
        <translation>%1: “%2” Close with the Close button or Escape</translation>
    </message>
</context>
<context>
    <name>frmMain</name>
    <message>
        <location filename="../ui/frmMain.ui" line="14"/>
        <source>スロットマシン</source>
        <translation>Slot Machine</translation>
    </message>
    <message>
        <location filename="../ui/frmMain.ui" line="48"/>
        <location filename="../ui/frmMain.ui" line="144"/>
        <source>0</source>
        <translation>0</translation>
    </message>
    <message>
        <location filename="../ui/frmMain.ui" line="73"/>
        <source>日</source>
        <translation>days</translation>
    </message>
    <message>
        <location filename="../ui/frmMain.ui" line="103"/>
        <source>５０両 獲得！</source>
        <translation>50 ryo won!</translation>
    </message>
    <message>
        <location filename="../ui/frmMain.ui" line="169"/>
        <source>両</source>
        <translation>両</translation>
    </message>
    <message>
        <location filename="../ui/frmMain.ui" line="330"/>
        <source>始</source>
        <comment>what a screen reader calls the button</comment>
        <translation>Start</translation>
    </message>
    <message>
        <location filename="../ui/frmMain.ui" line="333"/>
        <source>Space か Enter で一日を始めます</source>
        <translation>Space or Enter starts a day</translation>
    </message>
    <message>
        <location filename="../ui/frmMain.ui" line="352"/>
        <source>始</source>
        <translation>▶</translation>
    </message>
    <message>
        <location filename="../ui/frmMain.ui" line="360"/>
        <source>今は押せません</source>
        <translation>Cannot be pressed now</translation>
    </message>
    <message>
        <location filename="../ui/frmMain.ui" line="392"/>
        <source>ファイル(&amp;F)</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <location filename="../ui/frmMain.ui" line="398"/>
        <source>ヘルプ(&amp;H)</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <location filename="../ui/frmMain.ui" line="408"/>
        <source>終了(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <location filename="../ui/frmMain.ui" line="413"/>
        <source>ゲームの説明(&amp;R)</source>
        <translation>&amp;Rules</translation>
    </message>
    <message>
        <location filename="../ui/frmMain.ui" line="418"/>
        <source>バージョン情報(&amp;A)</source>
        <translation>&amp;About</translation>
    </message>
    <message>
        <location filename="../game/frmMain.cpp" line="186"/>
        <source>パスワードをコピーしました</source>
        <translation>Password copied</translation>
    </message>
    <message numerus="yes">
        <location filename="../game/frmMain.cpp" line="249"/>
        <source>日</source>
        <comment>the unit after the days played</comment>
        <translation>
            <numerusform>day</numerusform>
            <numerusform>days</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../game/frmMain.cpp" line="335"/>
        <source>止</source>
        <translation>■</translation>
    </message>
</context>
<context>
    <name>frmReadme</name>
    <message>
        <location filename="../ui/frmReadme.ui" line="14"/>
        <source>ゲームの説明</source>
        <translation>Rules</translation>
    </message>
    <message>
        <location filename="../ui/frmReadme.ui" line="32"/>
        <source>&#x3000;文久三年五月十六日、ミナセソラマはホウゲンの使者として福井にシノノメを訪問した。神戸翠嵐塾創設資金の五千両を借用するためである。</source>
        <translation>&#x3000;In 1863, Minase Sorama called on Shinonome in Fukui for Hogen, to borrow the 5,000 ryo to found Suiranjuku in Kobe.</translation>
    </message>
    <message>
        <location filename="../ui/frmReadme.ui" line="60"/>
        <source>&#x3000;歴史では、ソラマがみごとシノノメを説得して、五千両を用意できたことになっているが、実は千両しか調達できなかったのである。</source>
        <translation>&#x3000;History says Sorama won Shinonome over and got all 5,000 ryo. In truth he got only 1,000.</translation>
    </message>
    <message>
        <location filename="../ui/frmReadme.ui" line="88"/>
        <source>&#x3000;あなた（ソラマ）は、千両を元手に、創設資金五千両を作らなければなりません。</source>
        <translation>&#x3000;You, Sorama, must turn those 1,000 ryo into the 5,000 the school needs.</translation>
    </message>
    <message>
        <location filename="../ui/frmReadme.ui" line="116"/>
        <source>&#x3000;スロットマシンで一年（３６５日）以内に、五千両にしてください。</source>
        <translation>&#x3000;Make it 5,000 ryo at the slots within 365 days.</translation>
    </message>
    <message>
        <location filename="../ui/frmReadme.ui" line="144"/>
        <source>&#x3000;見事、五千両を手にすることができたら、ホームページにあなたの名前が登録できます。</source>
        <translation>&#x3000;Reach 5,000 ryo and you may enter your name on the home page.</translation>
    </message>
    <message>
        <location filename="../ui/frmReadme.ui" line="183"/>
        <source>Space で押します。Escape キーでも閉じます</source>
        <translation>Press with Space. Escape closes too</translation>
    </message>
    <message>
        <location filename="../ui/frmReadme.ui" line="194"/>
        <source>閉じる</source>
        <translation>Close</translation>
    </message>
    <message>
        <location filename="../endings/frmReadme.cpp" line="22"/>
        <source> 閉じるボタンか Escape で閉じます</source>
        <translation> Close with the Close button or Escape</translation>
    </message>
</context>
<context>
    <name>frmSplash</name>
    <message>
        <location filename="../ui/frmSplash.ui" line="73"/>
        <source>スロットゲーム</source>
        <translation>Slot Game</translation>
    </message>
    <message>
        <location filename="../ui/frmSplash.ui" line="101"/>
        <source>翠嵐塾を作れ</source>
        <translation>Build Suiranjuku</translation>
    </message>
    <message>
        <location filename="../ui/frmSplash.ui" line="127"/>
        <source>ﾊﾞｰｼﾞｮﾝ&#x3000;1.1</source>
        <translation>Version 1.1</translation>
    </message>
</context>
<context>
    <name>frmVer</name>
    <message>
        <location filename="../ui/frmVer.ui" line="73"/>
        <source>スロットゲーム</source>
        <translation>Slot Game</translation>
    </message>
    <message>
        <location filename="../ui/frmVer.ui" line="101"/>
        <source>翠嵐塾を作れ</source>
        <translation>Build Suiranjuku</translation>
    </message>
    <message>
        <location filename="../ui/frmVer.ui" line="127"/>
        <source>ﾊﾞｰｼﾞｮﾝ&#x3000;1.1</source>
        <translation>Version 1.1</translation>
    </message>
    <message>
        <location filename="../ui/frmVer.ui" line="177"/>
        <source>Space で押します。Escape キーでも閉じます</source>
        <translation>Press with Space. Escape closes too</translation>
    </message>
    <message>
        <location filename="../ui/frmVer.ui" line="188"/>
        <source>閉じる</source>
        <translation>Close</translation>
    </message>
    <message>
        <location filename="../endings/frmVer.cpp" line="23"/>
        <source>バージョン情報</source>
        <translation>About</translation>
    </message>
    <message>
        <location filename="../endings/frmVer.cpp" line="27"/>
        <source> 閉じるボタンか Escape で閉じます</source>
        <translation> Close with the Close button or Escape</translation>
    </message>
</context>
<context>
    <name>spoken</name>
    <message>
        <location filename="../ui/Spoken.cpp" line="23"/>
        <source>左のリール</source>
        <translation>Left reel</translation>
    </message>
    <message>
        <location filename="../ui/Spoken.cpp" line="23"/>
        <source>中のリール</source>
        <translation>Middle reel</translation>
    </message>
    <message>
        <location filename="../ui/Spoken.cpp" line="24"/>
        <source>右のリール</source>
        <translation>Right reel</translation>
    </message>
    <message>
        <location filename="../ui/Spoken.cpp" line="30"/>
        <source>絵なし</source>
        <translation>no picture</translation>
    </message>
    <message>
        <location filename="../ui/Spoken.cpp" line="35"/>
        <source>%1両</source>
        <translation>%1 ryo</translation>
    </message>
    <message>
        <location filename="../ui/Spoken.cpp" line="52"/>
        <source>キー %1 か Enter で止めます</source>
        <translation>Key %1 or Enter stops it</translation>
    </message>
    <message>
        <location filename="../ui/Spoken.cpp" line="57"/>
        <source>%1を止める</source>
        <translation>Stop %1</translation>
    </message>
    <message>
        <location filename="../ui/Spoken.cpp" line="62"/>
        <source>キー %1。%2</source>
        <translation>Key %1. %2</translation>
    </message>
    <message>
        <location filename="../ui/Spoken.cpp" line="64"/>
        <source>今押せます</source>
        <translation>Can be pressed now</translation>
    </message>
    <message>
        <location filename="../ui/Spoken.cpp" line="65"/>
        <source>リールは止まっています</source>
        <translation>The reel has stopped</translation>
    </message>
    <message>
        <location filename="../ui/Spoken.cpp" line="70"/>
        <source>所持金 %1</source>
        <translation>Money %1</translation>
    </message>
    <message>
        <location filename="../ui/Spoken.cpp" line="76"/>
        <source>%1日目、残り%2日</source>
        <translation>Day %1, %2 days left</translation>
    </message>
    <message>
        <location filename="../ui/Spoken.cpp" line="83"/>
        <source>%1。%2。%3</source>
        <translation>%1. %2. %3</translation>
    </message>
    <message>
        <location filename="../ui/Spoken.cpp" line="93"/>
        <source>%1が三つ そろいました。%2 獲得。%3</source>
        <translation>Three of %1 in a line. %2 won. %3</translation>
    </message>
    <message>
        <location filename="../ui/Spoken.cpp" line="99"/>
        <source>そろいませんでした。%1</source>
        <translation>No line. %1</translation>
    </message>
    <message>
        <location filename="../ui/Spoken.cpp" line="104"/>
        <source>%1を取られました</source>
        <translation>%1 taken</translation>
    </message>
    <message>
        <location filename="../ui/Spoken.cpp" line="105"/>
        <source>%1をもらいました</source>
        <translation>%1 given</translation>
    </message>
    <message>
        <location filename="../ui/Spoken.cpp" line="108"/>
        <source>客が来ました。%1。「%2」%3。%4</source>
        <translation>A visitor: %1. “%2” %3. %4</translation>
    </message>
    <message>
        <location filename="../ui/Spoken.cpp" line="122"/>
        <source>回転中</source>
        <translation>Spinning</translation>
    </message>
    <message>
        <location filename="../ui/Spoken.cpp" line="127"/>
        <source>客が来ています</source>
        <translation>A visitor is here</translation>
    </message>
</context>
</TS>
