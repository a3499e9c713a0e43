<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="ja_JP">
<context>
    <name>EventTable</name>
    <message>
        <location filename="../rules/EventTable.cpp" line="14"/>
        <source>ホウゲン</source>
        <translation>Hogen</translation>
    </message>
    <message>
        <location filename="../rules/EventTable.cpp" line="15"/>
        <source>ソラさん
大変なことに
なっちまったぜ!
泥棒が100両､
盗みやがった! </source>
        <translation>Sora!
We&apos;re in a fine mess!
Some thief went and
made off with
100 ryo!</translation>
    </message>
    <message>
        <location filename="../rules/EventTable.cpp" line="16"/>
        <source>タチバ</source>
        <translation>Tachiba</translation>
    </message>
    <message>
        <location filename="../rules/EventTable.cpp" line="17"/>
        <source>お手前の藩名は？
なに！浪人か！
今回は50両出せば､
見逃してやる！</source>
        <translation>Your domain, sir?
What! A ronin!
Hand over 50 ryo
and this time
I&apos;ll look away!</translation>
    </message>
    <message>
        <location filename="../rules/EventTable.cpp" line="18"/>
        <source>ムラクモ</source>
        <translation>Murakumo</translation>
    </message>
    <message>
        <location filename="../rules/EventTable.cpp" line="19"/>
        <source>ミナセくん
申し訳ないが、
逃走資金に１0両､
貸してつかーされ！ </source>
        <translation>Minase, friend,
awful sorry, but
lend me 10 ryo
for my getaway,
won&apos;t ye?</translation>
    </message>
    <message>
        <location filename="../rules/EventTable.cpp" line="20"/>
        <source>イワト</source>
        <translation>Iwato</translation>
    </message>
    <message>
        <location filename="../rules/EventTable.cpp" line="21"/>
        <source>ソラマ、
軍備を調えたいき
30両ばあ
出してくれ！</source>
        <translation>Sorama,
I&apos;m fixin&apos; to arm us,
so hand me
30 ryo or so!</translation>
    </message>
    <message>
        <location filename="../rules/EventTable.cpp" line="22"/>
        <source>おすず</source>
        <translation>Osuzu</translation>
    </message>
    <message>
        <location filename="../rules/EventTable.cpp" line="23"/>
        <source>月琴の月謝が
何ヶ月も
たまっていまんねん。
５両いただけまへんか。</source>
        <translation>My moon-lute fees
have been piling up
for months, dear.
Could you spare
5 ryo?</translation>
    </message>
    <message>
        <location filename="../rules/EventTable.cpp" line="24"/>
        <source>ヨシカタ</source>
        <translation>Yoshikata</translation>
    </message>
    <message>
        <location filename="../rules/EventTable.cpp" line="25"/>
        <source>何、
砲術を習いたいのか
うちの授業料は
10両だよ。</source>
        <translation>Oh?
You&apos;d learn gunnery?
My fee is
10 ryo, young man.</translation>
    </message>
    <message>
        <location filename="../rules/EventTable.cpp" line="26"/>
        <source>ハツネ</source>
        <translation>Hatsune</translation>
    </message>
    <message>
        <location filename="../rules/EventTable.cpp" line="27"/>
        <source>ソラマ､
ゲンパチ兄さんに頼き
20両
送ってもろーたよ!</source>
        <translation>Sorama,
I got brother Genpachi
to send you
20 ryo!</translation>
    </message>
    <message>
        <location filename="../rules/EventTable.cpp" line="28"/>
        <source>アマギ</source>
        <translation>Amagi</translation>
    </message>
    <message>
        <location filename="../rules/EventTable.cpp" line="29"/>
        <source>ミナセくん
この短筒を
受け取ってつかーされ。
10両ぐらいで
売れるでしょう。</source>
        <translation>Minase, friend,
do take
this pistol.
It ought to fetch
10 ryo or so.</translation>
    </message>
    <message>
        <location filename="../rules/EventTable.cpp" line="30"/>
        <source>クロガネ</source>
        <translation>Kurogane</translation>
    </message>
    <message>
        <location filename="../rules/EventTable.cpp" line="31"/>
        <source>ミナセさぁ
薩摩の気持ちでごわす。
50両ありもんす。
好きなように使こうてたもんせ。</source>
        <translation>Minase-sa,
Satsuma&apos;s good will.
Here be 50 ryo.
Spend it as ye please.</translation>
    </message>
    <message>
        <location filename="../rules/EventTable.cpp" line="32"/>
        <source>ヤスダ</source>
        <translation>Yasuda</translation>
    </message>
    <message>
        <location filename="../rules/EventTable.cpp" line="33"/>
        <source>ミナセさん
1丁18両のミニエー銃が
5丁売れちゅう。
90両になるがでよ。</source>
        <translation>Minase-san,
five Minie rifles sold
at 18 ryo apiece.
That&apos;s 90 ryo, see!</translation>
    </message>
    <message>
        <location filename="../rules/EventTable.cpp" line="34"/>
        <source>トキワ</source>
        <translation>Tokiwa</translation>
    </message>
    <message>
        <location filename="../rules/EventTable.cpp" line="35"/>
        <source>あしは京都留守居役
になったがで金の事は
心配しやーせきおせ。
30両ここにあるがで。</source>
        <translation>I keep the house
in Kyoto now, so
don&apos;t you fret
over money.
Here&apos;s 30 ryo.</translation>
    </message>
</context>
<context>
    <name>PayTable</name>
    <message>
        <location filename="../rules/PayTable.cpp" line="11"/>
        <source>顔</source>
        <translation>face</translation>
    </message>
    <message>
        <location filename="../rules/PayTable.cpp" line="11"/>
        <source>５００両 獲得！</source>
        <translation>500 ryo won!</translation>
    </message>
    <message>
        <location filename="../rules/PayTable.cpp" line="12"/>
        <source>紋</source>
        <translation>crest</translation>
    </message>
    <message>
        <location filename="../rules/PayTable.cpp" line="12"/>
        <source>３００両 獲得！</source>
        <translation>300 ryo won!</translation>
    </message>
    <message>
        <location filename="../rules/PayTable.cpp" line="13"/>
        <source>赤い棒</source>
        <translation>red bar</translation>
    </message>
    <message>
        <location filename="../rules/PayTable.cpp" line="13"/>
        <location filename="../rules/PayTable.cpp" line="14"/>
        <source>１００両 獲得！</source>
        <translation>100 ryo won!</translation>
    </message>
    <message>
        <location filename="../rules/PayTable.cpp" line="14"/>
        <source>提灯</source>
        <translation>lantern</translation>
    </message>
</context>
</TS>
